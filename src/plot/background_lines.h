#pragma once
#include "plot/chart_surface.h"
#include "plot/main_charts.h"

// Drawing steps shared by the grid and the band overlays of the main charts.
namespace tulmera::plot {

// Sets colour, width and style of the pen, on the leaf chart and then on the canopy chart.
void SetPenOnBoth(const MainCharts& charts, Rgb color, int width, PenStyle style);

// Lines from (0, y) to (2500, y) for y = 0, 10, ..., 100, each on the leaf chart and then on
// the canopy chart, with the pens as they are.
void DrawHorizontalLines(const MainCharts& charts);

}  // namespace tulmera::plot
