#pragma once
#include <QImage>
#include <functional>

#include "plot/figure.h"
#include "plot/layered_figure.h"
#include "plot/raster_surface.h"

// A figure drawn into an image: the frame layer and the plot-area layer are RasterSurfaces of
// the same pixel scale, so that the plot area is pixel for pixel the chart's own picture at
// that size; the texts are antialiased.
namespace tulmera::plot {

class RasterFigure : public LayeredFigure<RasterSurface> {
public:
    // A white figure of `layout`'s size at `pixelScale` image pixels per figure unit
    // (1 .. kMaxPixelScale), `imageWidth` pixels wide (at least layout.width · pixelScale; the
    // rest is white margin on the right).
    RasterFigure(const FigureLayout& layout, int pixelScale, int imageWidth);

    // The figure: the frame, the plot area at its place, the texts.
    QImage Image() const;

private:
    int k_;
    int imageWidth_;
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
