#pragma once
#include <optional>
#include <vector>

#include "plot/chart_geometry.h"
#include "plot/chart_surface.h"

// The second chart of the canopy sweep: a quantity against the swept value, as points joined
// by lines. The surface spans 0 .. 1 both ways; the data are placed inside a margin of 5 % of
// the chart on every side, between the axis limits QuantityAxesOf chooses.
namespace tulmera::plot {

// The quantity chart's surface: chart units 0 .. 1 across and up, as large as the sweep chart.
inline constexpr ChartScale kQuantityChartScale{0, 1, 0, 1, 365, 245};

// The margin between the chart's edges and its data, as a fraction of the chart.
inline constexpr double kQuantityMargin = 0.05;
// The points' and their line's colour.
inline constexpr Rgb kPointColour{0, 120, 0};

// The data ranges the chart maps onto its interior (inside the margin).
struct QuantityAxes {
    double xMin;
    double xMax;
    double yMin;
    double yMax;
};

// x from the first to the last swept value (min and max), y from the least to the greatest
// defined value, or with `fromZero` from 0 (or less) so that a small change of a reflectance
// is not stretched over the whole height; a range of one value is widened by 1 (x) or by 0.05
// (y) to each side, and a y with no defined value is 0 .. 1.
QuantityAxes QuantityAxesOf(const std::vector<double>& x,
                            const std::vector<std::optional<double>>& y, bool fromZero = false);

// Clears `chart`, draws its dashed grey frame and a grid of 10 by 10, then the points (x[i], y[i])
// as 2-pixel dots in dark green joined in order by a 1-pixel line; an undefined y leaves a gap
// (the line is broken there). x and y have the same size. The axes are QuantityAxesOf(x, y,
// fromZero); returns them.
QuantityAxes PaintQuantityChart(ChartSurface& chart, const std::vector<double>& x,
                                const std::vector<std::optional<double>>& y, bool fromZero = false);

}  // namespace tulmera::plot
