#include "plot/raster_figure.h"

#include <QPainter>
#include <algorithm>
#include <cassert>
#include <cmath>

#include "plot/figure_text.h"

namespace tulmera::plot {
RasterFigure::RasterFigure(const FigureLayout& layout, int pixelScale, int imageWidth)
    : LayeredFigure(layout, pixelScale),
      k_(pixelScale),
      imageWidth_(std::max(imageWidth, layout.width * pixelScale))
{
}

QImage RasterFigure::Image() const
{
    QImage image(imageWidth_, layout_.height * k_, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(0, 0, frame_.image());
    // Whole figure units: the plot area's pixels land on the chart's own at this scale.
    painter.drawImage(static_cast<int>(layout_.plot.left) * k_,
                      static_cast<int>(layout_.plot.top) * k_, plot_.image());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const PlacedText& text : texts_) {
        // The frame's pixel centres lie half a unit inside a pixel: so do the texts' points.
        DrawFigureText(painter, text.x + 0.5, text.y + 0.5, text.utf8, text.style, k_);
    }
    return image;
}

RasterFigureSize RasterFigureSizeFor(int imageWidth)
{
    assert(imageWidth >= kMinFigureWidth && imageWidth <= kMaxFigureImageWidth);
    const int k = std::clamp(
        static_cast<int>(std::lround(static_cast<double>(imageWidth) / kFigureUnitsWide)), 1,
        kMaxPixelScale);
    return {k, std::max(kMinFigureWidth, imageWidth / k)};
}

QImage FigureImage(const Figure& figure, int imageWidth, const FigureStyle& style,
                   const std::function<void(ChartSurface&)>& paintPlot)
{
    const RasterFigureSize size = RasterFigureSizeFor(imageWidth);
    const FigureLayout layout = LayOutFigure(figure, size.width, style, FigureTextMeasure());
    RasterFigure surface(layout, size.pixelScale, imageWidth);
    DrawFigure(surface, figure, layout, style, paintPlot);
    return surface.Image();
}

}  // namespace tulmera::plot
