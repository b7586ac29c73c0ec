#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_arguments.h"
#include "plot/chart_background.h"
#include "plot/chart_surface.h"
#include "plot/figure.h"
#include "textio/staged_files.h"

// The chart images of tulmera-batch: the charts a command draws, written as PNG files, SVG
// files or both.
namespace tulmera::batch {

// What --png, --svg, --background, --scale, --figure, --width and --presentation ask for.
struct ChartImageRequest {
    std::string directory;             // --png DIR; empty: no PNG files
    std::string svgDirectory;          // --svg DIR; empty: no SVG files
    plot::ChartBackground background;  // --background N, the overlay menu's entry (1 .. 10)
    int pixelScale = 1;                // --scale K, 1 .. plot::kMaxPixelScale (PNG only)
    // --figure: complete figures (axes, numbers, legend) instead of the plot areas alone.
    bool figure = false;
    int figureWidth = kDefaultFigureWidth;  // --width W: of a PNG figure, in pixels
    bool presentation = false;              // --presentation: larger texts, thicker curves

    static constexpr int kDefaultFigureWidth = 1600;

    bool Wanted() const { return !directory.empty() || !svgDirectory.empty(); }
};

// --png, --svg, --background and --scale, for the commands that draw the main window's charts.
std::vector<OptionInfo> MainChartImageOptions();

// --png, --svg and --scale, for the sweeps, whose charts have no background choice.
std::vector<OptionInfo> SweepImageOptions();

// The image options among `arguments` (those a command does not accept are never there).
// Throws UsageError, naming the valid range, for a background, scale or width that is not a
// whole number in it, for an empty --png or --svg, for --background or --figure given without
// --png or --svg, for --scale given without --png or with --figure, and for --width or
// --presentation given without --figure.
ChartImageRequest ChartImageRequestFrom(const BatchArguments& arguments);

// The paths of the image files of the charts `baseNames` ("leaf" gives "leaf.png" in the PNG
// directory and "leaf.svg" in the SVG one); none when no images are wanted.
std::vector<std::string> ImagePaths(const ChartImageRequest& request,
                                    const std::vector<std::string_view>& baseNames);

// Throws tulmera::Error naming the directory when a requested image directory is not an
// existing directory; a relative one is taken from the current directory. Commands call it
// before their run, so that a mistyped directory fails before any file is written.
void CheckImageDirectory(const ChartImageRequest& request);

// One chart of a run: its coordinates, the base name of its files ("leaf") and, for the
// charts that have one, its figure (--figure; the others are written as plot areas still).
struct ChartPicture {
    plot::ChartScale scale;
    std::string_view baseName;
    std::optional<plot::Figure> figure;
};

// The charts of one run, each drawn on the surfaces the request asks for: a raster image for
// --png, a vector picture for --svg, both, or none (the surface then draws nothing). With
// --figure the run draws on the figures' plot areas, and their frames are added when staged.
class ChartPictures {
public:
    ChartPictures(const ChartImageRequest& request, const std::vector<ChartPicture>& charts);
    ~ChartPictures();
    ChartPictures(const ChartPictures&) = delete;
    ChartPictures& operator=(const ChartPictures&) = delete;

    // The surface chart `index` (in the constructor's order) is drawn on.
    plot::ChartSurface& operator[](std::size_t index);

    // Stages every chart's image files, to be published with the run's other files. Throws
    // tulmera::Error naming the file on failure.
    void Stage(textio::StagedFiles& staged) const;

    struct Chart;  // one chart's surfaces, in the .cpp

private:
    ChartImageRequest request_;
    std::vector<std::unique_ptr<Chart>> charts_;
};

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
