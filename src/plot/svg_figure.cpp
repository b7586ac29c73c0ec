#include "plot/svg_figure.h"

#include "plot/figure_text.h"
#include "plot/raster_figure.h"
#include "textio/error.h"

namespace tulmera::plot {
namespace {

// What lies between the <defs> and the closing </svg> of an SVG picture Qt SVG wrote.
std::string Body(const std::string& svg, const std::string& path)
{
    const std::string defsEnd = "</defs>\n";
    const std::size_t start = svg.find(defsEnd);
    const std::size_t end = svg.rfind("</svg>");
    if (start == std::string::npos || end == std::string::npos || end < start) {
        throw Error("Cannot draw the chart figure for \"" + path + "\" as SVG.");
    }
    return svg.substr(start + defsEnd.size(), end - start - defsEnd.size());
}

std::string Whole(double value) { return std::to_string(static_cast<long>(value)); }

}  // namespace

SvgFigure::SvgFigure(const FigureLayout& layout) : LayeredFigure(layout) {}

std::string SvgFigure::Bytes(const std::string& path, const std::string& title) const
{
    std::string svg = frame_.Bytes(path, title, [this](QPainter& painter) {
        for (const PlacedText& text : texts_) {
            DrawFigureText(painter, text.x + 0.5, text.y + 0.5, text.utf8, text.style, 1.0);
        }
    });
    // Qt SVG writes no clipping: the plot area's shapes go into a group clipped to its
    // rectangle, in the place the layout gives it. Clipping is SVG 1.1, not SVG Tiny.
    const FigureRect& area = layout_.plot;
    const std::string clip = "<clipPath id=\"plotArea\"><rect x=\"0\" y=\"0\" width=\""
                             + Whole(area.width) + "\" height=\"" + Whole(area.height)
                             + "\"/></clipPath>\n";
    const std::string group = "<g transform=\"translate(" + Whole(area.left) + "," + Whole(area.top)
                              + ")\" clip-path=\"url(#plotArea)\">\n"
                              + Body(plot_.Bytes(path), path) + "</g>\n";
    const std::size_t defs = svg.find("</defs>");
    const std::size_t end = svg.rfind("</svg>");
    if (defs == std::string::npos || end == std::string::npos) {
        throw Error("Cannot draw the chart figure for \"" + path + "\" as SVG.");
    }
    svg.insert(end, group);
    svg.insert(defs, clip);
    const std::string tiny = "version=\"1.2\" baseProfile=\"tiny\"";
    if (const std::size_t at = svg.find(tiny); at != std::string::npos) {
        svg.replace(at, tiny.size(), "version=\"1.1\"");
    }
    return svg;
}

std::string FigureSvg(const Figure& figure, const FigureStyle& style,
                      const std::function<void(ChartSurface&)>& paintPlot, const std::string& path)
{
    const FigureLayout layout = LayOutFigure(figure, kFigureUnitsWide, style, FigureTextMeasure());
    SvgFigure surface(layout);
    DrawFigure(surface, figure, layout, style, paintPlot);
    return surface.Bytes(path, figure.title);
}

}  // namespace tulmera::plot
