#pragma once
#include <string>

#include "plot/chart_background.h"
#include "plot/chart_surface.h"
#include "spectral/grid.h"
#include "textio/field_reader.h"
#include "textio/working_files.h"

// The two charts of the main window and the procedures that draw them after every refresh:
// PaintBackground and PaintProspect once "VP.dat" is written, PaintSailh and PaintSoil once
// "VS.dat" is written. The procedures set only the pen values they need; the rest is inherited
// from whatever was drawn before on the same surface.
namespace tulmera::plot {

// The curves' pens, which the figures' legends name: the leaf and canopy reflectance and the
// leaf transmittance 2 pixels wide, the soil 1 pixel, all solid.
inline constexpr Rgb kReflectanceGreen{0, 200, 0};
inline constexpr Rgb kTransmittanceRed{200, 0, 0};
inline constexpr Rgb kSoilBrown{200, 100, 0};

// The leaf chart (kLeafChartScale) and the canopy chart (kCanopyChartScale).
struct MainCharts {
    ChartSurface& leaf;
    ChartSurface& canopy;
};

// Clears the leaf chart, then the canopy chart, and draws the checked background on both: the
// grid for entry 1, else the bands of the first checked sensor among entries 2 .. 10, else
// nothing. The grid is a dashed grey (200, 200, 200) 1-pixel pen, lines every 10 percent and
// every 100 nm, all drawn from 0 (those outside a chart are clipped). Cannot fail.
void PaintBackground(const MainCharts& charts, const ChartBackground& background);

// Draws the leaf reflectance (green, upward from the bottom) and the leaf transmittance (red,
// 100 − 100·T, downward from the top) from the 421 records of "VP.dat" in the current
// directory, each as a 2-pixel polyline starting at (0, 0). Samples are converted to single
// precision before they are scaled. Throws tulmera::Error naming the file and the record when
// "VP.dat" is missing, short or holds a field that is not a number, or when a sample overflows
// single precision; the segments drawn until then stay. `readName`, when given, is the file
// read in place of "VP.dat" (a run's staged copy); messages still name "VP.dat".
void PaintProspect(ChartSurface& leafChart, const std::string& readName = kLeafSpectrumFile);

// The same from the content of "VP.dat" in `reader`.
void PaintProspect(ChartSurface& leafChart, textio::FieldReader reader);

// Draws the canopy reflectance from the first 420 records of "VS.dat" (wavelength as a whole
// number, 100 × reflectance in single precision) as a solid green 2-pixel polyline starting at
// (400, 0). Throws tulmera::Error as PaintProspect does; what was drawn stays. `readName` is
// read in place of "VS.dat", as for PaintProspect.
void PaintSailh(ChartSurface& canopyChart, const std::string& readName = kCanopySpectrumFile);

// The same from the content of "VS.dat" in `reader`.
void PaintSailh(ChartSurface& canopyChart, textio::FieldReader reader);

// Draws the soil reflectance `soilRefl` (percent, unscaled) at 400, 405, ..., 2495 nm (420
// samples) as a solid brown 1-pixel polyline starting at (400, 0). Throws tulmera::Error naming
// the wavelength when a value overflows single precision; what was drawn stays.
void PaintSoil(ChartSurface& canopyChart, const spectral::Spectrum& soilRefl);

}  // namespace tulmera::plot
