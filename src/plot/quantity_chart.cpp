#include "plot/quantity_chart.h"

#include <algorithm>
#include <cassert>

namespace tulmera::plot {
namespace {

constexpr Rgb kGridColour{200, 200, 200};
constexpr double kMargin = kQuantityMargin;
constexpr int kGridDivisions = 10;

double Place(double value, double low, double high)
{
    return kMargin + (value - low) / (high - low) * (1.0 - 2.0 * kMargin);
}

void PaintFrame(ChartSurface& chart)
{
    chart.SetPenColor(kGridColour);
    chart.SetPenWidth(1);
    chart.SetPenStyle(PenStyle::Dashed);
    for (int i = 0; i <= kGridDivisions; ++i) {
        const double at = kMargin + (1.0 - 2.0 * kMargin) * i / kGridDivisions;
        chart.Line(kMargin, at, 1.0 - kMargin, at);
        chart.Line(at, kMargin, at, 1.0 - kMargin);
    }
}

}  // namespace

QuantityAxes QuantityAxesOf(const std::vector<double>& x,
                            const std::vector<std::optional<double>>& y, bool fromZero)
{
    QuantityAxes axes{0.0, 1.0, 0.0, 1.0};
    if (!x.empty()) {
        const auto [xLow, xHigh] = std::minmax_element(x.begin(), x.end());
        axes.xMin = *xLow;
        axes.xMax = *xHigh;
    }
    if (axes.xMin == axes.xMax) {
        axes.xMin = axes.xMin - 1.0;
        axes.xMax = axes.xMax + 1.0;
    }
    bool any = false;
    for (const std::optional<double>& value : y) {
        if (!value) continue;
        axes.yMin = any ? std::min(axes.yMin, *value) : *value;
        axes.yMax = any ? std::max(axes.yMax, *value) : *value;
        any = true;
    }
    if (any && fromZero) axes.yMin = std::min(axes.yMin, 0.0);
    if (!any) {
        axes.yMin = 0.0;
        axes.yMax = 1.0;
    } else if (axes.yMin == axes.yMax) {
        axes.yMin = axes.yMin - 0.05;
        axes.yMax = axes.yMax + 0.05;
    }
    return axes;
}

QuantityAxes PaintQuantityChart(ChartSurface& chart, const std::vector<double>& x,
                                const std::vector<std::optional<double>>& y, bool fromZero)
{
    assert(x.size() == y.size());
    const QuantityAxes axes = QuantityAxesOf(x, y, fromZero);
    chart.Clear();
    PaintFrame(chart);
    chart.SetPenStyle(PenStyle::Solid);
    chart.SetPenColor(kPointColour);
    bool joined = false;  // whether the pen stands on the previous defined point
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (!y[i]) {
            joined = false;
            continue;
        }
        const double px = Place(x[i], axes.xMin, axes.xMax);
        const double py = Place(*y[i], axes.yMin, axes.yMax);
        chart.SetPenWidth(1);
        if (joined) chart.LineTo(px, py);
        chart.SetPenWidth(2);
        chart.PlotPoint(px, py);
        joined = true;
    }
    return axes;
}

}  // namespace tulmera::plot
