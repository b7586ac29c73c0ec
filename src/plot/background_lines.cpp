#include "plot/background_lines.h"

namespace tulmera::plot {

void SetPenOnBoth(const MainCharts& charts, Rgb color, int width, PenStyle style)
{
    for (ChartSurface* chart : {&charts.leaf, &charts.canopy}) {
        chart->SetPenColor(color);
        chart->SetPenWidth(width);
        chart->SetPenStyle(style);
    }
}

void DrawHorizontalLines(const MainCharts& charts)
{
    for (int y = 0; y <= 100; y += 10) {
        charts.leaf.Line(0, y, 2500, y);
        charts.canopy.Line(0, y, 2500, y);
    }
}

}  // namespace tulmera::plot
