#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_arguments.h"
#include "plot/chart_background.h"
#include "plot/chart_surface.h"
#include "textio/staged_files.h"

class QImage;

// The chart images of tulmera-batch: the charts a command draws, written as PNG files.
namespace tulmera::batch {

// What --png, --background and --scale ask for.
struct ChartImageRequest {
    std::string directory;             // --png DIR; empty: no images
    plot::ChartBackground background;  // --background N, the overlay menu's entry (1 .. 10)
    int pixelScale = 1;                // --scale K, 1 .. plot::kMaxPixelScale

    bool Wanted() const { return !directory.empty(); }
};

// --png, --background and --scale, for the commands that draw the main window's charts.
std::vector<OptionInfo> MainChartImageOptions();

// --png and --scale, for the sweep, whose chart has no background choice.
std::vector<OptionInfo> SweepImageOptions();

// The image options among `arguments` (those a command does not accept are never there).
// Throws UsageError, naming the valid range, for a background or scale that is not a whole
// number in it, for an empty --png, and for --background or --scale given without --png.
ChartImageRequest ChartImageRequestFrom(const BatchArguments& arguments);

// The paths of the image files `fileNames` in the requested directory; none when no images
// are wanted.
std::vector<std::string> ImagePaths(const ChartImageRequest& request,
                                    const std::vector<std::string_view>& fileNames);

// Throws tulmera::Error naming the directory when `request.directory` is not an existing
// directory; a relative one is taken from the current directory. Commands call it before
// their run, so that a mistyped directory fails before any file is written.
void CheckImageDirectory(const ChartImageRequest& request);

// Stages `image` as the PNG file `fileName` in `request.directory`, to be published with the
// run's other files. Throws tulmera::Error naming the file on failure.
void StageChartImage(textio::StagedFiles& staged, const ChartImageRequest& request,
                     const QImage& image, std::string_view fileName);

// Draws nothing: the charts of a run that writes no images.
class BlankSurface : public plot::ChartSurface {
public:
    void Clear() override {}
    void SetPenColor(plot::Rgb) override {}
    void SetPenWidth(int) override {}
    void SetPenStyle(plot::PenStyle) override {}
    void PlotPoint(double, double) override {}
    void LineTo(double, double) override {}
    void Line(double, double, double, double) override {}
    void FilledBox(double, double, double, double, plot::Rgb) override {}
};

}  // namespace tulmera::batch
