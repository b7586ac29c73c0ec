#pragma once
#include <string>

#include "plot/chart_geometry.h"
#include "plot/chart_surface.h"
#include "spectral/grid.h"
#include "textio/field_reader.h"
#include "textio/working_files.h"

// The sweep chart of the multiple simulation: one leaf reflectance curve per swept value, each
// in its own shade from dark green to yellow, and under it a legend strip with one box per curve
// in the same colour, left to right in sweep order.
namespace tulmera::plot {

// The colour and legend state a sweep carries from curve to curve. The counters hold what was
// added, unclamped; a component above 255 is drawn as 255. A sweep of at most 3271 curves keeps
// them within 16-bit counters (the sweep refuses longer ones).
struct SweepColours {
    int curveGreen = 50;       // green of the next curve, before Advance()
    int curveRed = 0;          // red of the next curve
    double legendLeft = 0.0;   // left edge of the next legend box, legend units
    double legendWidth = 0.0;  // width of one legend box, legend units

    // The state before the first curve of a sweep of `count` values (count >= 1): green 50,
    // red 0, the first box at 0, every box 200 / count wide.
    static SweepColours ForSweep(int count);

    // Before each curve: green += 10; then, if green is now 250 or more, red += 5. So curve k
    // (from 1) is (0, 50 + 10k, 0) up to k = 19 and (5 (k - 19), min(50 + 10k, 255), 0) after.
    void Advance();

    // The colour of the current curve and its legend box: (red, green, 0), each clamped to 255.
    Rgb CurveColour() const;
};

// The two surfaces of the multiple-simulation window.
struct SweepCharts {
    ChartSurface& chart;   // pctMProspect, scale kSweepChartScale
    ChartSurface& legend;  // pctlegend, scale kLegendStripScale
};

// Draws the current swept value from "MVPaint.dat" (421 records of wavelength, reflectance and
// transmittance; the transmittance is read and ignored): the dashed grey grid again, over the
// curves already there, then the reflectance curve in percent from (0, 0) with a 2-pixel pen in
// colours.CurveColour(), then the legend box from (legendLeft, 20) to (legendLeft + legendWidth,
// 0) in the same colour; finally advances legendLeft by legendWidth. The file is read whole
// before anything is drawn: if it is missing or short or holds a field that is not a number,
// tulmera::Error names the file, line and field, and neither the surfaces nor `colours` change.
// `readName`, when given, is the file read in place of "MVPaint.dat" (a sweep's staged copy);
// messages still name "MVPaint.dat".
void PaintMultiProspect(const SweepCharts& charts, SweepColours& colours,
                        const std::string& readName = kSweepCurveFile);

// The same from the content of "MVPaint.dat" in `reader`.
void PaintMultiProspect(const SweepCharts& charts, SweepColours& colours,
                        textio::FieldReader reader);

// The same drawing for a spectrum in memory: the grid, the curve of `reflPct` (percent, each
// sample in single precision like every chart sample) and its legend box; advances legendLeft.
void PaintSweepSpectrum(const SweepCharts& charts, SweepColours& colours,
                        const spectral::Spectrum& reflPct);

}  // namespace tulmera::plot
