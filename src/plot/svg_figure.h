#pragma once
#include <functional>
#include <string>

#include "plot/figure.h"
#include "plot/layered_figure.h"
#include "plot/svg_surface.h"

// A figure as an SVG picture: the frame and the plot area as vector shapes (SvgSurfaces), the
// numbers, titles and captions as <text> elements that a slide program can edit.
namespace tulmera::plot {

class SvgFigure : public LayeredFigure<SvgSurface> {
public:
    // An empty white figure of `layout`'s size in figure units (CSS pixels).
    explicit SvgFigure(const FigureLayout& layout);

    // The SVG file: the frame, the texts, and the plot area clipped to its rectangle. Throws
    // tulmera::Error naming `path` when it cannot be made.
    std::string Bytes(const std::string& path, const std::string& title = "") const;
};

// The SVG figure of a chart, kFigureUnitsWide units wide, its plot area drawn by `paintPlot`
// (see DrawFigure). Throws what `paintPlot` throws, and tulmera::Error naming `path`.
std::string FigureSvg(const Figure& figure, const FigureStyle& style,
                      const std::function<void(ChartSurface&)>& paintPlot, const std::string& path);

}  // namespace tulmera::plot
