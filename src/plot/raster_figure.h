#pragma once
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "plot/figure.h"
#include "plot/figure_surface.h"
#include "plot/raster_surface.h"

// A figure drawn into an image: the frame layer and the plot-area layer are RasterSurfaces of
// the same pixel scale, so that the plot area is pixel for pixel the chart's own picture at
// that size; the texts are antialiased.
namespace tulmera::plot {

class RasterFigure : public FigureSurface {
public:
    // A white figure of `layout`'s size at `pixelScale` image pixels per figure unit
    // (1 .. kMaxPixelScale), `imageWidth` pixels wide (at least layout.width · pixelScale; the
    // rest is white margin on the right).
    RasterFigure(const FigureLayout& layout, int pixelScale, int imageWidth);

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

    // The figure: the frame, the plot area at its place, the texts.
    QImage Image() const;

private:
    struct PlacedText {
        double x;
        double y;
        std::string utf8;
        TextStyle style;
    };
    FigureLayout layout_;
    int k_;
    int imageWidth_;
    RasterSurface frame_;
    RasterSurface plot_;
    std::vector<PlacedText> texts_;
};

// The pixel scale and the width in figure units of a PNG figure `imageWidth` pixels wide
// (kMinFigureWidth .. kMaxFigureImageWidth): about kFigureUnitsWide units whatever the width,
// so that texts and pens grow with the picture.
struct RasterFigureSize {
    int pixelScale;
    int width;
};
inline constexpr int kFigureUnitsWide = 800;
inline constexpr int kMaxFigureImageWidth = 12800;
RasterFigureSize RasterFigureSizeFor(int imageWidth);

// The PNG figure of a chart, `imageWidth` pixels wide, its plot area drawn by `paintPlot`
// (see DrawFigure). Throws what `paintPlot` throws.
QImage FigureImage(const Figure& figure, int imageWidth, const FigureStyle& style,
                   const std::function<void(ChartSurface&)>& paintPlot);

}  // namespace tulmera::plot
