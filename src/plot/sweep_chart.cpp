#include "plot/sweep_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "spectral/grid.h"
#include "textio/error.h"
#include "textio/field_reader.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::plot {
namespace {

constexpr Rgb kGridColour{200, 200, 200};

// One record of the curve file as the chart plots it: in single precision, like every chart
// sample, the transmittance being dropped.
struct CurvePoint {
    float wavelengthNm;
    float reflectancePct;
};
using Curve = std::array<CurvePoint, spectral::kWavelengthCount>;

float ReadSingle(textio::FieldReader& reader, int record, std::string_view what, float factor)
{
    const float value = factor * static_cast<float>(reader.ReadNumber(what));
    if (!std::isfinite(value)) {
        throw Error("\"" + std::string(kSweepCurveFile) + "\", record " + std::to_string(record)
                    + " (" + std::string(what) + "): the value overflows single precision.");
    }
    return value;
}

Curve ReadCurve(textio::FieldReader& reader)
{
    Curve curve{};
    int record = 1;
    for (CurvePoint& point : curve) {
        point.wavelengthNm = ReadSingle(reader, record, "wavelength", 1.0F);
        point.reflectancePct = ReadSingle(reader, record, "leaf reflectance", 100.0F);
        reader.ReadNumber("leaf transmittance");  // read past, never drawn
        ++record;
    }
    return curve;
}

// The grid of the spectrum charts: a horizontal line every 10 % and a vertical one every
// 100 nm from 0 nm on; those left of 400 nm are clipped away.
void PaintGrid(ChartSurface& chart)
{
    chart.SetPenColor(kGridColour);
    chart.SetPenWidth(1);
    chart.SetPenStyle(PenStyle::Dashed);
    for (int y = 0; y <= 100; y += 10) chart.Line(0.0, y, 2500.0, y);
    for (int x = 0; x <= 2500; x += 100) chart.Line(x, 0.0, x, 100.0);
}

// The grid again, then `curve` from (0, 0) and its legend box in colours.CurveColour(); then
// legendLeft advances by one box.
void PaintCurve(const SweepCharts& charts, SweepColours& colours, const Curve& curve)
{
    const Rgb colour = colours.CurveColour();

    PaintGrid(charts.chart);
    // The first segment comes from (0, 0), left of the interior: only its end is seen. The
    // curve is solid, set explicitly rather than left to the 2-pixel pen over the grid's dashes.
    charts.chart.PlotPoint(0.0, 0.0);
    charts.chart.SetPenStyle(PenStyle::Solid);
    charts.chart.SetPenWidth(2);
    charts.chart.SetPenColor(colour);
    for (const CurvePoint& point : curve) {
        charts.chart.LineTo(static_cast<double>(point.wavelengthNm),
                            static_cast<double>(point.reflectancePct));
    }

    const double left = colours.legendLeft;
    charts.legend.FilledBox(left, 20.0, left + colours.legendWidth, 0.0, colour);
    colours.legendLeft = colours.legendLeft + colours.legendWidth;
}

}  // namespace

SweepColours SweepColours::ForSweep(int count)
{
    SweepColours colours;
    colours.legendWidth = 200.0 / count;
    return colours;
}

void SweepColours::Advance()
{
    curveGreen = curveGreen + 10;
    if (curveGreen >= 250) curveRed = curveRed + 5;
}

Rgb SweepColours::CurveColour() const
{
    return {std::min(curveRed, 255), std::min(curveGreen, 255), 0};
}

void PaintMultiProspect(const SweepCharts& charts, SweepColours& colours,
                        const std::string& readName)
{
    PaintMultiProspect(charts, colours,
                       textio::FieldReader(kSweepCurveFile, textio::ReadTextFile(readName)));
}

void PaintMultiProspect(const SweepCharts& charts, SweepColours& colours,
                        textio::FieldReader reader)
{
    PaintCurve(charts, colours, ReadCurve(reader));
}

void PaintSweepSpectrum(const SweepCharts& charts, SweepColours& colours,
                        const spectral::Spectrum& reflPct)
{
    Curve curve{};
    for (std::size_t i = 0; i < curve.size(); ++i) {
        curve[i].wavelengthNm = static_cast<float>(spectral::WavelengthNm(static_cast<int>(i)));
        curve[i].reflectancePct = static_cast<float>(reflPct[i]);
    }
    PaintCurve(charts, colours, curve);
}

}  // namespace tulmera::plot
