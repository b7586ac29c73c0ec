#pragma once
#include <string_view>

#include "plot/chart_surface.h"

// The surface a complete figure is drawn on: a chart's plot area placed inside a larger
// picture that also holds its axes, numbers, titles and legend. It is a ChartSurface in figure
// units (pixels at 96 dpi, x to the right and y downward from the top left corner), which adds
// text and a separate plot-area layer on which a chart procedure draws exactly as on its own
// surface.
namespace tulmera::plot {

// A rectangle in figure units: left and top edge, width and height.
struct FigureRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

enum class TextAnchor { Start, Middle, End };  // of the text's advance, along its direction

// How a text is drawn at its point: `size` is the font's pixel size in figure units; `anchor`
// says which part of the text's advance lies at the point.
struct TextStyle {
    double size = 12;
    bool bold = false;
    Rgb color{0, 0, 0};
    TextAnchor anchor = TextAnchor::Start;
    // True: the point is at half the text's cap height (labels centred on a tick); false: the
    // point is on the text's baseline.
    bool centred = false;
    bool vertical = false;  // turned a quarter anticlockwise, read from bottom to top
};

// Measures texts as a FigureSurface draws them, so that a layout can leave them room.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // The advance of `utf8` in figure units at pixel size `size` (plain weight).
    virtual double TextWidth(std::string_view utf8, double size) const = 0;
};

// The drawing operations of ChartSurface draw in figure units on the figure's frame layer; the
// plot-area layer lies over it.
class FigureSurface : public ChartSurface, public TextMeasure {
public:
    // Draws `utf8` at (x, y) in figure units. An empty text draws nothing.
    virtual void Text(double x, double y, std::string_view utf8, const TextStyle& style) = 0;

    // The plot area's layer: a surface of the chart's own scale (at the area's size), which a
    // chart procedure draws on as on the chart's own surface and whose drawing is clipped to
    // the area. The same layer for every call.
    virtual ChartSurface& PlotArea() = 0;
};

}  // namespace tulmera::plot
