#include "plot/chart_images.h"

#include <QBuffer>
#include <QByteArray>
#include <string_view>

#include "plot/chart_geometry.h"
#include "plot/main_charts.h"
#include "plot/raster_surface.h"
#include "textio/error.h"
#include "textio/text_file.h"

namespace tulmera::plot {

MainChartImages RenderMainCharts(const ChartBackground& background, int pixelScale,
                                 const spectral::Spectrum* soilRefl)
{
    RasterSurface leaf(kLeafChartScale, pixelScale);
    RasterSurface canopy(kCanopyChartScale, pixelScale);
    PaintBackground({leaf, canopy}, background);
    PaintProspect(leaf);
    if (soilRefl != nullptr) {
        PaintSailh(canopy);
        PaintSoil(canopy, *soilRefl);
    }
    return {leaf.image(), canopy.image()};
}

void SavePng(const QImage& image, const std::string& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        throw Error("Cannot encode the chart image for \"" + path + "\" as PNG.");
    }
    textio::ReplaceTextFile(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace tulmera::plot
