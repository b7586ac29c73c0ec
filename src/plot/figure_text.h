#pragma once
#include <QFont>
#include <string_view>

#include "plot/figure_surface.h"

class QPainter;

// The texts of a figure as Qt draws them, shared by its raster and its vector picture so that
// both measure and place a text alike.
namespace tulmera::plot {

// The figures' font at pixel size `size` (figure units times the picture's pixel scale).
QFont FigureFont(double size, bool bold);

// The advance of `utf8` in the figures' font at pixel size `size`.
double FigureTextWidth(std::string_view utf8, double size);

// TextMeasure by FigureTextWidth: how a layout measures the texts its pictures will draw.
class FigureTextMeasure : public TextMeasure {
public:
    double TextWidth(std::string_view utf8, double size) const override
    {
        return FigureTextWidth(utf8, size);
    }
};

// Draws `utf8` with `style` at (x, y) of `painter`'s coordinates, every length times
// `pixelScale`. An empty text draws nothing.
void DrawFigureText(QPainter& painter, double x, double y, std::string_view utf8,
                    const TextStyle& style, double pixelScale);

}  // namespace tulmera::plot
