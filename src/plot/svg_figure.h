#pragma once
#include <functional>
#include <string>
#include <vector>

#include "plot/figure.h"
#include "plot/figure_surface.h"
#include "plot/svg_surface.h"

// A figure as an SVG picture: the frame and the plot area as vector shapes (SvgSurfaces), the
// numbers, titles and captions as <text> elements that a slide program can edit.
namespace tulmera::plot {

class SvgFigure : public FigureSurface {
public:
    // An empty white figure of `layout`'s size in figure units (CSS pixels).
    explicit SvgFigure(const FigureLayout& layout);

    void Clear() override;
    void SetPenColor(Rgb color) override { frame_.SetPenColor(color); }
    void SetPenWidth(int pixels) override { frame_.SetPenWidth(pixels); }
    void SetPenStyle(PenStyle style) override { frame_.SetPenStyle(style); }
    void PlotPoint(double x, double y) override { frame_.PlotPoint(x, y); }
    void LineTo(double x, double y) override { frame_.LineTo(x, y); }
    void Line(double x1, double y1, double x2, double y2) override { frame_.Line(x1, y1, x2, y2); }
    void FilledBox(double x1, double y1, double x2, double y2, Rgb color) override
    {
        frame_.FilledBox(x1, y1, x2, y2, color);
    }
    void Text(double x, double y, std::string_view utf8, const TextStyle& style) override;
    double TextWidth(std::string_view utf8, double size) const override;
    ChartSurface& PlotArea() override { return plot_; }

    // The SVG file: the frame, the texts, and the plot area clipped to its rectangle. Throws
    // tulmera::Error naming `path` when it cannot be made.
    std::string Bytes(const std::string& path, const std::string& title = "") const;

private:
    struct PlacedText {
        double x;
        double y;
        std::string utf8;
        TextStyle style;
    };
    FigureLayout layout_;
    SvgSurface frame_;
    SvgSurface plot_;
    std::vector<PlacedText> texts_;
};

// The SVG figure of a chart, kFigureUnitsWide units wide, its plot area drawn by `paintPlot`
// (see DrawFigure). Throws what `paintPlot` throws, and tulmera::Error naming `path`.
std::string FigureSvg(const Figure& figure, const FigureStyle& style,
                      const std::function<void(ChartSurface&)>& paintPlot, const std::string& path);

}  // namespace tulmera::plot
