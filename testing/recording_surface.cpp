#include "testing/recording_surface.h"

#include <ostream>

namespace tulmera::testing {

using Kind = ChartOp::Kind;

void RecordingSurface::Clear() { ops_.push_back({.kind = Kind::Clear}); }

void RecordingSurface::SetPenColor(plot::Rgb color)
{
    ops_.push_back({.kind = Kind::SetPenColor, .color = color});
}

void RecordingSurface::SetPenWidth(int pixels)
{
    ops_.push_back({.kind = Kind::SetPenWidth, .width = pixels});
}

void RecordingSurface::SetPenStyle(plot::PenStyle style)
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

void RecordingSurface::FilledBox(double x1, double y1, double x2, double y2, plot::Rgb color)
{
    ops_.push_back(
        {.kind = Kind::FilledBox, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .color = color});
}

void PrintTo(const ChartOp& op, std::ostream* os)
{
    const auto color = [&](plot::Rgb c) { *os << "(" << c.r << ", " << c.g << ", " << c.b << ")"; };
    switch (op.kind) {
        case Kind::Clear:
            *os << "Clear";
            break;
        case Kind::SetPenColor:
            *os << "SetPenColor", color(op.color);
            break;
        case Kind::SetPenWidth:
            *os << "SetPenWidth(" << op.width << ")";
            break;
        case Kind::SetPenStyle:
            *os << (op.style == plot::PenStyle::Dashed ? "SetPenStyle(Dashed)"
                                                       : "SetPenStyle(Solid)");
            break;
        case Kind::PlotPoint:
            *os << "PlotPoint(" << op.x1 << ", " << op.y1 << ")";
            break;
        case Kind::LineTo:
            *os << "LineTo(" << op.x1 << ", " << op.y1 << ")";
            break;
        case Kind::Line:
            *os << "Line(" << op.x1 << ", " << op.y1 << ", " << op.x2 << ", " << op.y2 << ")";
            break;
        case Kind::FilledBox:
            *os << "FilledBox(" << op.x1 << ", " << op.y1 << ", " << op.x2 << ", " << op.y2 << ", ";
            color(op.color);
            *os << ")";
            break;
    }
}

}  // namespace tulmera::testing
