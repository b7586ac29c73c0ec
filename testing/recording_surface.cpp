#include "plot/recording_surface.h"

namespace tulmera::plot {

using Kind = ChartOp::Kind;

void RecordingSurface::Clear() { ops_.push_back({.kind = Kind::Clear}); }

void RecordingSurface::SetPenColor(Rgb color)
{
    ops_.push_back({.kind = Kind::SetPenColor, .color = color});
}

void RecordingSurface::SetPenWidth(int pixels)
{
    ops_.push_back({.kind = Kind::SetPenWidth, .width = pixels});
}

void RecordingSurface::SetPenStyle(PenStyle style)
{
    ops_.push_back({.kind = Kind::SetPenStyle, .style = style});
}

void RecordingSurface::PlotPoint(double x, double y)
{
    ops_.push_back({.kind = Kind::PlotPoint, .x1 = x, .y1 = y});
}

void RecordingSurface::LineTo(double x, double y)
{
    ops_.push_back({.kind = Kind::LineTo, .x1 = x, .y1 = y});
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2)
{
    ops_.push_back({.kind = Kind::Line, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2});
}

void RecordingSurface::FilledBox(double x1, double y1, double x2, double y2, Rgb color)
{
    ops_.push_back(
        {.kind = Kind::FilledBox, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .color = color});
}

}  // namespace tulmera::plot
