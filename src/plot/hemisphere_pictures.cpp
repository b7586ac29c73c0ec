#include "plot/hemisphere_pictures.h"

#include "plot/chart_images.h"
#include "plot/figure_text.h"
#include "plot/raster_figure.h"
#include "plot/svg_figure.h"

namespace tulmera::plot {

QImage HemisphereImage(const HemisphereValues& grid, const HemisphereTexts& texts, int width,
                       int pixelScale, const FigureStyle& style)
{
    const HemisphereLayout layout =
        LayOutHemisphere(grid, texts, width, style, FigureTextMeasure());
    RasterFigure surface(layout.frame, pixelScale, layout.frame.width * pixelScale);
    DrawHemisphereFigure(surface, grid, texts, layout, style);
    return surface.Image();
}

std::string HemispherePng(const HemisphereValues& grid, const HemisphereTexts& texts,
                          int imageWidth, const FigureStyle& style, const std::string& path)
{
    const RasterFigureSize size = RasterFigureSizeFor(imageWidth);
    return PngBytes(HemisphereImage(grid, texts, size.width, size.pixelScale, style), path);
}

std::string HemisphereSvg(const HemisphereValues& grid, const HemisphereTexts& texts,
                          const FigureStyle& style, const std::string& path)
{
    const HemisphereLayout layout =
        LayOutHemisphere(grid, texts, kFigureUnitsWide, style, FigureTextMeasure());
    SvgFigure surface(layout.frame);
    DrawHemisphereFigure(surface, grid, texts, layout, style);
    return surface.Bytes(path, texts.title);
}

}  // namespace tulmera::plot
