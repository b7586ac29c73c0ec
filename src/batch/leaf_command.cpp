#include "batch/leaf_command.h"

#include "batch/chart_image_options.h"
#include "leaf/leaf_run.h"
#include "plot/chart_geometry.h"
#include "plot/main_charts.h"
#include "plot/raster_surface.h"

namespace tulmera::batch {
namespace {

// The leaf run as the main window starts its recomputation: once "VP.dat" is closed, both
// charts get their background and the leaf chart its curves. Only the leaf chart is saved.
void RunLeafWithImage(const leaf::LeafParameters& leaf, const ChartImageRequest& images)
{
    CheckImageDirectory(images);
    plot::RasterSurface leafChart(plot::kLeafChartScale, images.pixelScale);
    plot::RasterSurface canopyChart(plot::kCanopyChartScale, images.pixelScale);
    leaf::RunProspect(leaf, [&] {
        plot::PaintBackground({leafChart, canopyChart}, images.background);
        plot::PaintProspect(leafChart);
    });
    SaveChartImage(images, leafChart.image(), "leaf.png");
}

}  // namespace

std::vector<OptionInfo> LeafOptions()
{
    return {
        {"--N", "v", "leaf structure parameter, greater than 0 (default 1)"},
        {"--Cab", "v", "chlorophyll a+b content, ug/cm2 (default 15)"},
        {"--Cw", "v", "equivalent water thickness, cm (default 0.0001)"},
        {"--Cm", "v", "dry matter content, g/cm2 (default 0.002)"},
    };
}

leaf::LeafParameters LeafParametersFrom(const BatchArguments& arguments)
{
    const leaf::LeafParameters start = leaf::kStartLeafParameters;
    return {arguments.Number("--N", start.N), arguments.Number("--Cab", start.Cab),
            arguments.Number("--Cw", start.Cw), arguments.Number("--Cm", start.Cm)};
}

BatchCommand LeafCommand()
{
    std::vector<OptionInfo> options = LeafOptions();
    const std::vector<OptionInfo> imageOptions = MainChartImageOptions();
    options.insert(options.end(), imageOptions.begin(), imageOptions.end());
    return {
        "leaf",
        "Leaf run: the leaf reflectance and transmittance from 400 to 2500 nm,\n"
        "every 5 nm, written to \"VP.dat\". With --png DIR, also the leaf chart as\n"
        "the main window draws it, as DIR/leaf.png (317 x 165 pixels times --scale).",
        options,
        [](const BatchArguments& arguments) -> std::function<void()> {
            const leaf::LeafParameters leaf = LeafParametersFrom(arguments);
            const ChartImageRequest images = ChartImageRequestFrom(arguments);
            if (images.Wanted()) return [leaf, images] { RunLeafWithImage(leaf, images); };
            return [leaf] { leaf::RunProspect(leaf); };
        },
    };
}

}  // namespace tulmera::batch
