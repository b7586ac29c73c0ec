#include "batch/chart_image_options.h"

#include <filesystem>
#include <system_error>

#include "plot/chart_images.h"
#include "plot/raster_surface.h"
#include "textio/error.h"
#include "textio/system_reason.h"

namespace tulmera::batch {
namespace {

// The help texts below spell out these ranges.
static_assert(plot::kBackgroundEntryCount == 10);
static_assert(plot::kMaxPixelScale == 16);

const OptionInfo kPngOption{"--png", "DIR",
                            "also write the charts as PNG files into DIR (it must exist)"};
const OptionInfo kScaleOption{"--scale", "K",
                              "image pixels per chart pixel, 1 to 16 (default 1); needs --png"};

}  // namespace

std::vector<OptionInfo> MainChartImageOptions()
{
    return {
        kPngOption,
        {"--background", "N",
         "chart background, 1 to 10 as the overlay menu (default 1, the grid)"},
        kScaleOption,
    };
}

std::vector<OptionInfo> SweepImageOptions() { return {kPngOption, kScaleOption}; }

ChartImageRequest ChartImageRequestFrom(const BatchArguments& arguments)
{
    ChartImageRequest request;
    request.directory = arguments.Text("--png", "");
    if (arguments.Has("--png") && request.directory.empty()) {
        throw UsageError("--png needs a directory name.");
    }
    for (const std::string_view option : {"--background", "--scale"}) {
        if (arguments.Has(option) && !request.Wanted()) {
            throw UsageError(std::string(option) + " is only used with --png DIR.");
        }
    }
    request.background.checkedEntry = arguments.WholeNumber(
        "--background", plot::kGridEntry, plot::kGridEntry, plot::kBackgroundEntryCount);
    request.pixelScale = arguments.WholeNumber("--scale", 1, 1, plot::kMaxPixelScale);
    return request;
}

void CheckImageDirectory(const ChartImageRequest& request)
{
    std::error_code error;
    const auto status = std::filesystem::status(request.directory, error);
    if (error) {
        throw Error("Cannot write the chart images into \"" + Shown(request.directory)
                    + "\": " + textio::SystemReason(error.value()) + ".");
    }
    if (!std::filesystem::is_directory(status)) {
        throw Error("Cannot write the chart images into \"" + Shown(request.directory)
                    + "\": not a directory.");
    }
}

std::vector<std::string> ImagePaths(const ChartImageRequest& request,
                                    const std::vector<std::string_view>& fileNames)
{
    std::vector<std::string> paths;
    if (!request.Wanted()) return paths;
    for (const std::string_view name : fileNames) {
        paths.push_back((std::filesystem::path(request.directory) / name).string());
    }
    return paths;
}

void StageChartImage(textio::StagedFiles& staged, const ChartImageRequest& request,
                     const QImage& image, std::string_view fileName)
{
    const std::string path = (std::filesystem::path(request.directory) / fileName).string();
    staged.Stage(path, plot::PngBytes(image, path));
}

}  // namespace tulmera::batch
