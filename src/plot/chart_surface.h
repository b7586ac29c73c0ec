#pragma once

// A retained drawing area in chart units: the charts draw through it and never see pixels.
namespace tulmera::plot {

// A colour, 8 bits per channel (0 .. 255).
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class PenStyle { Solid, Dashed };

// The user coordinate system of a surface and the pixel size of its interior: x runs from
// `left` at the left edge to `right` at the right edge, y from `bottom` at the bottom edge to
// `top` at the top edge.
struct ChartScale {
    double left;
    double right;
    double bottom;
    double top;
    int widthPx;  // interior size at 96 dpi
    int heightPx;
};

// A surface with a white background and a persistent pen (colour, width, style, position).
// All coordinates are user units; whatever falls outside the interior is clipped. A pen wider
// than 1 pixel always draws solid, whatever its style.
class ChartSurface {
public:
    virtual ~ChartSurface() = default;

    virtual void Clear() = 0;  // fills the interior with white
    virtual void SetPenColor(Rgb color) = 0;
    virtual void SetPenWidth(int pixels) = 0;  // 1 or 2 here
    virtual void SetPenStyle(PenStyle style) = 0;
    // Draws one pen-sized point and moves the pen position there.
    virtual void PlotPoint(double x, double y) = 0;
    // Draws a segment from the pen position to (x, y), which becomes the pen position.
    virtual void LineTo(double x, double y) = 0;
    // Draws a segment between the two points; the pen position becomes (x2, y2).
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    // Fills the rectangle with these corners in `color` (the pen is not used).
    virtual void FilledBox(double x1, double y1, double x2, double y2, Rgb color) = 0;
};

}  // namespace tulmera::plot
