#pragma once
#include <QImage>
#include <string>

#include "plot/hemisphere_figure.h"

// The hemispherical view's figure as a picture: the window shows and saves these, and the batch
// runner's brdf writes them, so that every copy is the same drawing.
namespace tulmera::plot {

// Each in `style`: FigureStyle::Normal(), or FigureStyle::Presentation() for projection
// (larger texts, thicker cut and axes).

// The figure `width` figure units wide (at least kMinFigureWidth) at `pixelScale` image pixels
// per unit (1 .. kMaxPixelScale).
QImage HemisphereImage(const HemisphereValues& grid, const HemisphereTexts& texts, int width,
                       int pixelScale, const FigureStyle& style);

// The PNG bytes of the figure `imageWidth` pixels wide (kMinFigureWidth ..
// kMaxFigureImageWidth; see RasterFigureSizeFor). Throws tulmera::Error naming `path`.
std::string HemispherePng(const HemisphereValues& grid, const HemisphereTexts& texts,
                          int imageWidth, const FigureStyle& style, const std::string& path);

// The SVG file of the figure, kFigureUnitsWide units wide, its title the texts' title. Throws
// tulmera::Error naming `path`.
std::string HemisphereSvg(const HemisphereValues& grid, const HemisphereTexts& texts,
                          const FigureStyle& style, const std::string& path);

}  // namespace tulmera::plot
