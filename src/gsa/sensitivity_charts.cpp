#include "gsa/sensitivity_charts.h"

#include <algorithm>
#include <array>

#include "spectral/grid.h"

namespace tulmera::gsa {
namespace {

// clang-format off
constexpr std::array<plot::Rgb, 14> kColors = {{
    {31, 119, 180}, {44, 160, 44}, {23, 190, 207}, {140, 86, 75}, {255, 127, 14},
    {214, 39, 40}, {148, 103, 189}, {227, 119, 194}, {127, 127, 127},
    {188, 189, 34}, {120, 30, 90}, {96, 72, 24}, {0, 96, 96}, {250, 200, 0},
}};
constexpr double kMostBars = 9;  // parameters at one unit each; more share kIndexBarsChartScale
// clang-format on

plot::Rgb Lighter(plot::Rgb c) { return {(c.r + 255) / 2, (c.g + 255) / 2, (c.b + 255) / 2}; }

void Whisker(plot::ChartSurface& surface, double x, const IndexEstimate& e)
{
    constexpr double kCap = 0.06;
    surface.Line(x, e.low, x, e.high);
    surface.Line(x - kCap, e.low, x + kCap, e.low);
    surface.Line(x - kCap, e.high, x + kCap, e.high);
}

}  // namespace

plot::Rgb ParameterColor(std::size_t i) { return kColors[i % kColors.size()]; }

plot::Rgb FirstOrderColor(std::size_t i)
{
    const plot::Rgb c = ParameterColor(i);
    return {c.r * 3 / 5, c.g * 3 / 5, c.b * 3 / 5};
}

void DrawTotalOrderShares(plot::ChartSurface& surface, const std::vector<QuantityIndices>& spectrum,
                          std::size_t k)
{
    surface.Clear();
    const double half = spectral::kWavelengthStepNm / 2.0;
    for (int w = 0; w < spectral::kWavelengthCount; ++w) {
        const QuantityIndices& q = spectrum[static_cast<std::size_t>(w)];
        if (!q) continue;
        double sum = 0;
        for (const ParameterIndices& p : *q) sum += std::max(0.0, p.ST.value);
        if (!(sum > 0)) continue;
        const double x = spectral::WavelengthNm(w);
        double y = 0;
        for (std::size_t i = 0; i < k; ++i) {
            const double h = std::max(0.0, (*q)[i].ST.value) / sum;
            surface.FilledBox(x - half, y, x + half, y + h, ParameterColor(i));
            y += h;
        }
    }
}

void DrawFirstOrderLines(plot::ChartSurface& surface, const std::vector<QuantityIndices>& spectrum,
                         std::size_t k)
{
    surface.SetPenWidth(2);
    surface.SetPenStyle(plot::PenStyle::Solid);
    for (std::size_t i = 0; i < k; ++i) {
        surface.SetPenColor(FirstOrderColor(i));
        bool drawing = false;
        for (int w = 0; w < spectral::kWavelengthCount; ++w) {
            const QuantityIndices& q = spectrum[static_cast<std::size_t>(w)];
            if (!q) {
                drawing = false;
                continue;
            }
            const double x = spectral::WavelengthNm(w);
            const double y = std::clamp((*q)[i].S1.value, 0.0, 1.0);
            if (drawing) {
                surface.LineTo(x, y);
            } else {
                surface.PlotPoint(x, y);
            }
            drawing = true;
        }
    }
}

void DrawIndexBars(plot::ChartSurface& surface, const QuantityIndices& indices)
{
    surface.Clear();
    if (!indices) return;
    surface.SetPenColor({0, 0, 0});
    surface.SetPenWidth(1);
    const double unit = std::min(1.0, kMostBars / static_cast<double>(indices->size()));
    for (std::size_t i = 0; i < indices->size(); ++i) {
        const ParameterIndices& p = (*indices)[i];
        const double x = static_cast<double>(i) * unit;
        surface.FilledBox(x + 0.1 * unit, 0, x + 0.45 * unit, p.S1.value,
                          Lighter(ParameterColor(i)));
        surface.FilledBox(x + 0.55 * unit, 0, x + 0.9 * unit, p.ST.value, ParameterColor(i));
        Whisker(surface, x + 0.275 * unit, p.S1);
        Whisker(surface, x + 0.725 * unit, p.ST);
    }
}

}  // namespace tulmera::gsa
