#include "batch/chart_image_options.h"

#include <filesystem>
#include <system_error>

#include "batch/font_support.h"
#include "plot/chart_images.h"
#include "plot/figure_text.h"
#include "plot/raster_figure.h"
#include "plot/raster_surface.h"
#include "plot/svg_figure.h"
#include "plot/svg_surface.h"
#include "plot/thick_pens.h"
#include "textio/error.h"
#include "textio/system_reason.h"

namespace tulmera::batch {
namespace {

// The help texts below spell out these ranges.
static_assert(plot::kBackgroundEntryCount == 10);
static_assert(plot::kMaxPixelScale == 16);
static_assert(plot::kMinFigureWidth == 200 && plot::kMaxFigureImageWidth == 12800);
static_assert(ChartImageRequest::kDefaultFigureWidth == 1600);

const OptionInfo kPngOption{"--png", "DIR",
                            "also write the charts as PNG files into DIR (it must exist)"};
const OptionInfo kSvgOption{"--svg", "DIR",
                            "also write the charts as SVG files into DIR (it must exist)"};
const OptionInfo kScaleOption{"--scale", "K",
                              "image pixels per chart pixel, 1 to 16 (default 1); needs --png"};
const OptionInfo kFigureOption{"--figure", "", "complete figures: axes, numbers, titles, legend",
                               OptionKind::Flag};
const OptionInfo kWidthOption{"--width", "W",
                              "PNG figure width in pixels, 200 to 12800 (default 1600)"};
const OptionInfo kPresentationOption{
    "--presentation", "", "figures for projection: larger texts, thicker curves", OptionKind::Flag};

// Draws every operation on each of its surfaces: one chart drawn once for both formats.
class FanOutSurface : public plot::ChartSurface {
public:
    explicit FanOutSurface(std::vector<plot::ChartSurface*> surfaces) : surfaces_(surfaces) {}
    void Clear() override
    {
        Each([](auto& s) { s.Clear(); });
    }
    void SetPenColor(plot::Rgb c) override
    {
        Each([&](auto& s) { s.SetPenColor(c); });
    }
    void SetPenWidth(int w) override
    {
        Each([&](auto& s) { s.SetPenWidth(w); });
    }
    void SetPenStyle(plot::PenStyle p) override
    {
        Each([&](auto& s) { s.SetPenStyle(p); });
    }
    void PlotPoint(double x, double y) override
    {
        Each([&](auto& s) { s.PlotPoint(x, y); });
    }
    void LineTo(double x, double y) override
    {
        Each([&](auto& s) { s.LineTo(x, y); });
    }
    void Line(double x1, double y1, double x2, double y2) override
    {
        Each([&](auto& s) { s.Line(x1, y1, x2, y2); });
    }
    void FilledBox(double x1, double y1, double x2, double y2, plot::Rgb c) override
    {
        Each([&](auto& s) { s.FilledBox(x1, y1, x2, y2, c); });
    }

private:
    template <typename Op>
    void Each(Op op)
    {
        for (plot::ChartSurface* surface : surfaces_) op(*surface);
    }
    std::vector<plot::ChartSurface*> surfaces_;
};

void CheckDirectory(const std::string& directory)
{
    std::error_code error;
    const auto status = std::filesystem::status(directory, error);
    if (error) {
        throw Error("Cannot write the chart images into \"" + Shown(directory)
                    + "\": " + textio::SystemReason(error.value()) + ".");
    }
    if (!std::filesystem::is_directory(status)) {
        throw Error("Cannot write the chart images into \"" + Shown(directory)
                    + "\": not a directory.");
    }
}

std::string PathIn(const std::string& directory, std::string_view baseName, std::string_view suffix)
{
    return (std::filesystem::path(directory) / (std::string(baseName) + std::string(suffix)))
        .string();
}

}  // namespace

struct ChartPictures::Chart {
    std::string baseName;
    std::unique_ptr<plot::RasterSurface> raster;
    std::unique_ptr<plot::SvgSurface> svg;
    // With --figure, for a chart that has one: the figures, whose plot areas the run draws on.
    std::optional<plot::Figure> figure;
    plot::FigureLayout rasterLayout;
    plot::FigureLayout svgLayout;
    std::unique_ptr<plot::RasterFigure> rasterFigure;
    std::unique_ptr<plot::SvgFigure> svgFigure;
    std::vector<std::unique_ptr<plot::ThickPens>> thickPens;
    std::unique_ptr<plot::ChartSurface> drawn;  // what the run draws on
};

namespace {

plot::FigureStyle StyleOf(const ChartImageRequest& request)
{
    return request.presentation ? plot::FigureStyle::Presentation() : plot::FigureStyle::Normal();
}

// The plot area of a figure, through thicker pens for projection.
plot::ChartSurface* PlotAreaOf(plot::FigureSurface& figure, const plot::FigureStyle& style,
                               std::vector<std::unique_ptr<plot::ThickPens>>& thickPens)
{
    figure.Clear();
    figure.PlotArea().Clear();
    if (style.curveScale == 1) return &figure.PlotArea();
    thickPens.push_back(std::make_unique<plot::ThickPens>(figure.PlotArea(), style.curveScale));
    return thickPens.back().get();
}

void AddFigures(const ChartImageRequest& request, ChartPictures::Chart& chart,
                std::vector<plot::ChartSurface*>& surfaces)
{
    EnsureFontSupport();
    const plot::FigureStyle style = StyleOf(request);
    const plot::FigureTextMeasure measure;
    if (!request.directory.empty()) {
        const plot::RasterFigureSize size = plot::RasterFigureSizeFor(request.figureWidth);
        chart.rasterLayout = plot::LayOutFigure(*chart.figure, size.width, style, measure);
        chart.rasterFigure = std::make_unique<plot::RasterFigure>(
            chart.rasterLayout, size.pixelScale, request.figureWidth);
        surfaces.push_back(PlotAreaOf(*chart.rasterFigure, style, chart.thickPens));
    }
    if (!request.svgDirectory.empty()) {
        chart.svgLayout = plot::LayOutFigure(*chart.figure, plot::kFigureUnitsWide, style, measure);
        chart.svgFigure = std::make_unique<plot::SvgFigure>(chart.svgLayout);
        surfaces.push_back(PlotAreaOf(*chart.svgFigure, style, chart.thickPens));
    }
}

}  // namespace

ChartPictures::ChartPictures(const ChartImageRequest& request,
                             const std::vector<ChartPicture>& charts)
    : request_(request)
{
    for (const ChartPicture& picture : charts) {
        auto chart = std::make_unique<Chart>();
        chart->baseName = picture.baseName;
        std::vector<plot::ChartSurface*> surfaces;
        if (request.figure && picture.figure) {
            chart->figure = picture.figure;
            AddFigures(request, *chart, surfaces);
        } else {
            if (!request.directory.empty()) {
                chart->raster =
                    std::make_unique<plot::RasterSurface>(picture.scale, request.pixelScale);
                surfaces.push_back(chart->raster.get());
            }
            if (!request.svgDirectory.empty()) {
                chart->svg = std::make_unique<plot::SvgSurface>(picture.scale);
                surfaces.push_back(chart->svg.get());
            }
        }
        chart->drawn = std::make_unique<FanOutSurface>(surfaces);
        charts_.push_back(std::move(chart));
    }
}

ChartPictures::~ChartPictures() = default;

plot::ChartSurface& ChartPictures::operator[](std::size_t index) { return *charts_[index]->drawn; }

void ChartPictures::Stage(textio::StagedFiles& staged) const
{
    const plot::FigureStyle style = StyleOf(request_);
    for (const auto& chart : charts_) {
        if (chart->rasterFigure) {
            const std::string path = PathIn(request_.directory, chart->baseName, ".png");
            plot::PaintFigureFrame(*chart->rasterFigure, *chart->figure, chart->rasterLayout,
                                   style);
            staged.Stage(path, plot::PngBytes(chart->rasterFigure->Image(), path));
        }
        if (chart->svgFigure) {
            const std::string path = PathIn(request_.svgDirectory, chart->baseName, ".svg");
            plot::PaintFigureFrame(*chart->svgFigure, *chart->figure, chart->svgLayout, style);
            staged.Stage(path, chart->svgFigure->Bytes(path, chart->figure->title));
        }
        if (chart->raster) {
            const std::string path = PathIn(request_.directory, chart->baseName, ".png");
            staged.Stage(path, plot::PngBytes(chart->raster->image(), path));
        }
        if (chart->svg) {
            const std::string path = PathIn(request_.svgDirectory, chart->baseName, ".svg");
            staged.Stage(path, chart->svg->Bytes(path, chart->baseName));
        }
    }
}

std::vector<OptionInfo> MainChartImageOptions()
{
    return {
        kPngOption,
        kSvgOption,
        {"--background", "N",
         "chart background, 1 to 10 as the overlay menu (default 1, the grid)"},
        kScaleOption,
        kFigureOption,
        kWidthOption,
        kPresentationOption,
    };
}

std::vector<OptionInfo> SweepImageOptions()
{
    return {kPngOption, kSvgOption, kScaleOption, kFigureOption, kWidthOption, kPresentationOption};
}

ChartImageRequest ChartImageRequestFrom(const BatchArguments& arguments)
{
    ChartImageRequest request;
    request.directory = arguments.Text("--png", "");
    request.svgDirectory = arguments.Text("--svg", "");
    for (const auto& [option, directory] :
         {std::pair{"--png", request.directory}, std::pair{"--svg", request.svgDirectory}}) {
        if (arguments.Has(option) && directory.empty()) {
            throw UsageError(std::string(option) + " needs a directory name.");
        }
    }
    if (arguments.Has("--background") && !request.Wanted()) {
        throw UsageError("--background is only used with --png DIR or --svg DIR.");
    }
    if (arguments.Has("--scale") && request.directory.empty()) {
        throw UsageError("--scale is only used with --png DIR.");
    }
    request.figure = arguments.Has("--figure");
    if (request.figure && !request.Wanted()) {
        throw UsageError("--figure is only used with --png DIR or --svg DIR.");
    }
    if (request.figure && arguments.Has("--scale")) {
        throw UsageError("--scale is not used with --figure: give the width with --width W.");
    }
    for (const char* option : {"--width", "--presentation"}) {
        if (arguments.Has(option) && !request.figure) {
            throw UsageError(std::string(option) + " is only used with --figure.");
        }
    }
    request.figureWidth = arguments.WholeNumber("--width", ChartImageRequest::kDefaultFigureWidth,
                                                plot::kMinFigureWidth, plot::kMaxFigureImageWidth);
    request.presentation = arguments.Has("--presentation");
    request.background.checkedEntry = arguments.WholeNumber(
        "--background", plot::kGridEntry, plot::kGridEntry, plot::kBackgroundEntryCount);
    request.pixelScale = arguments.WholeNumber("--scale", 1, 1, plot::kMaxPixelScale);
    return request;
}

void CheckImageDirectory(const ChartImageRequest& request)
{
    if (!request.directory.empty()) CheckDirectory(request.directory);
    if (!request.svgDirectory.empty()) CheckDirectory(request.svgDirectory);
}

std::vector<std::string> ImagePaths(const ChartImageRequest& request,
                                    const std::vector<std::string_view>& baseNames)
{
    std::vector<std::string> paths;
    for (const std::string_view name : baseNames) {
        if (!request.directory.empty()) paths.push_back(PathIn(request.directory, name, ".png"));
        if (!request.svgDirectory.empty()) {
            paths.push_back(PathIn(request.svgDirectory, name, ".svg"));
        }
    }
    return paths;
}

}  // namespace tulmera::batch
