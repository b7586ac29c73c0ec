#include "plot/kept_spectra.h"

#include <array>
#include <cmath>

namespace tulmera::plot {
namespace {

// Blue, purple, teal, orange, grey, olive: distinct from the live green, red and brown, the
// measured black and the grid's light grey.
constexpr std::array<Rgb, 6> kKeptColours = {
    {{30, 90, 200}, {150, 60, 170}, {0, 150, 160}, {240, 140, 0}, {110, 110, 110}, {130, 130, 0}}};

// One polyline of `values` from sample `first` to `last` (inclusive) at y = offset + sign·value;
// a value that is not finite ends the run.
void PaintRun(ChartSurface& chart, const spectral::Spectrum& values, std::size_t last,
              double offset, double sign)
{
    bool inRun = false;
    for (std::size_t i = 0; i <= last; ++i) {
        if (!std::isfinite(values[i])) {
            inRun = false;
            continue;
        }
        const double x = spectral::WavelengthNm(static_cast<int>(i));
        const double y = offset + sign * values[i];
        if (inRun) {
            chart.LineTo(x, y);
        } else {
            chart.PlotPoint(x, y);
            inRun = true;
        }
    }
}

void UseKeptPen(ChartSurface& chart, std::size_t index)
{
    chart.SetPenColor(KeptColour(index));
    chart.SetPenWidth(1);
    chart.SetPenStyle(PenStyle::Dashed);
}

}  // namespace

Rgb KeptColour(std::size_t index) { return kKeptColours[index % kKeptColours.size()]; }

void PaintKeptLeaf(ChartSurface& leafChart, const std::vector<KeptSpectra>& kept)
{
    constexpr std::size_t kLast = spectral::kWavelengthCount - 1;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        UseKeptPen(leafChart, k);
        PaintRun(leafChart, kept[k].leafReflPct, kLast, 0.0, 1.0);
        PaintRun(leafChart, kept[k].leafTransPct, kLast, 100.0, -1.0);
    }
}

void PaintKeptCanopy(ChartSurface& canopyChart, const std::vector<KeptSpectra>& kept)
{
    constexpr std::size_t kLast = spectral::kWavelengthCount - 2;  // 2495 nm, as the live curve
    for (std::size_t k = 0; k < kept.size(); ++k) {
        UseKeptPen(canopyChart, k);
        PaintRun(canopyChart, kept[k].canopyReflPct, kLast, 0.0, 1.0);
    }
}

void AddKeptLegend(Figure& figure, const std::vector<KeptSpectra>& kept, const std::string& suffix)
{
    for (std::size_t k = 0; k < kept.size(); ++k) {
        figure.legend.push_back({kept[k].label + suffix, KeptColour(k), 1, PenStyle::Dashed});
    }
}

}  // namespace tulmera::plot
