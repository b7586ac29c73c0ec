#pragma once
#include <vector>

#include "gsa/sobol_indices.h"
#include "plot/chart_surface.h"

// The two charts of an analysis, drawn in chart units through a ChartSurface.
namespace tulmera::gsa {

// x: wavelength 400 .. 2500 nm; y: share 0 .. 1.
inline constexpr plot::ChartScale kTotalOrderChartScale{400, 2500, 0, 1, 520, 260};
// x: one unit per varied parameter (up to 9; more share the width); y: index 0 .. 1.
inline constexpr plot::ChartScale kIndexBarsChartScale{0, 9, 0, 1, 360, 260};

// The colour of varied parameter i (0 .. 13), the same in both charts and the legend, and the
// darker one of its first-order line.
plot::Rgb ParameterColor(std::size_t i);
plot::Rgb FirstOrderColor(std::size_t i);

// The total-order indices over the grid as stacked areas: at each wavelength (one column 5 nm
// wide) parameter i's area is its ST over the sum of the k ST there (negative estimates count
// as 0), so that the areas fill the chart and show which parameter speaks where. `spectrum`
// holds the 421 quantities of the grid; a wavelength without indices stays white.
void DrawTotalOrderShares(plot::ChartSurface& surface, const std::vector<QuantityIndices>& spectrum,
                          std::size_t k);

// The first-order indices over the grid as lines, to draw over DrawTotalOrderShares: parameter
// i's S1 (clamped to 0 .. 1, the share of the variance it explains alone) in FirstOrderColor(i),
// 2 pixels wide, broken where a wavelength has no indices.
void DrawFirstOrderLines(plot::ChartSurface& surface, const std::vector<QuantityIndices>& spectrum,
                         std::size_t k);

// Parameter i's two bars at x = i .. i + 1 (with more than 9 parameters, narrower in
// proportion): S1 (left, light) and ST (right, full colour), each
// with a black whisker over its 95 % interval. Nothing but the background when `indices` is
// empty.
void DrawIndexBars(plot::ChartSurface& surface, const QuantityIndices& indices);

}  // namespace tulmera::gsa
