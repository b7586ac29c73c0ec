#include "batch/sweep_command.h"

#include "batch/chart_image_options.h"
#include "batch/leaf_command.h"
#include "export/workbook_files.h"
#include "multi/sweep_controls.h"
#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"
#include "textio/error.h"

namespace tulmera::batch {
namespace {

// Draws nothing: for a sweep that only writes the files.
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

multi::SweptParameter ParameterFrom(const BatchArguments& arguments)
{
    const std::string name = arguments.Text("--param", "N");
    for (int i = 0; i < 4; ++i) {
        const auto parameter = static_cast<multi::SweptParameter>(i);
        if (multi::ParameterName(parameter) == name) return parameter;
    }
    throw UsageError("--param: \"" + name + "\" is not one of N, Cab, Cw, Cm.");
}

// The sweep as the multiple-simulation window runs it, on a chart and a legend strip that
// are saved as "sweep.png" and "legend.png" once every step has succeeded. Returns nsim.
int RunSweepWithImages(const multi::SweepRequest& request, const ChartImageRequest& images)
{
    CheckImageDirectory(images);
    plot::RasterSurface chart(plot::kSweepChartScale, images.pixelScale);
    plot::RasterSurface legend(plot::kLegendStripScale, images.pixelScale);
    const int nsim = multi::RunSweep(request, {chart, legend});
    SaveChartImage(images, chart.image(), "sweep.png");
    SaveChartImage(images, legend.image(), "legend.png");
    return nsim;
}

// The workbook file given with --xlsx, or an empty text when none was asked for.
std::string WorkbookFrom(const BatchArguments& arguments)
{
    if (!arguments.Has("--xlsx")) return {};
    const std::string path = arguments.Text("--xlsx", "");
    if (path.empty()) throw UsageError("--xlsx needs a file name.");
    return path;
}

}  // namespace

multi::SweepRequest SweepRequestFrom(const BatchArguments& arguments)
{
    multi::SweepRequest request;
    request.swept = ParameterFrom(arguments);
    request.fixed = LeafParametersFrom(arguments);
    const multi::LimitBars& bars = multi::LimitBarsOf(request.swept);
    const auto start = [](const multi::ScrollSetup& bar, int divisor) {
        return static_cast<double>(bar.value) / static_cast<double>(divisor);
    };
    request.upper = arguments.Number("--to", start(bars.vsmax, bars.limitDivisor));
    request.lower = arguments.Number("--from", start(bars.vsmin, bars.limitDivisor));
    request.interval = arguments.Number("--step", start(bars.vsinter, bars.intervalDivisor));
    try {
        multi::CheckedSweepValues(request);
    } catch (const Error& e) {
        throw UsageError(e.what());
    }
    return request;
}

BatchCommand SweepCommand()
{
    std::vector<OptionInfo> options = {
        {"--param", "P", "the parameter to sweep: N, Cab, Cw or Cm (default N)"},
        {"--from", "x", "lower limit: the first value"},
        {"--to", "y", "upper limit: values up to it + 0.0001 are swept"},
        {"--step", "z", "interval between values, greater than 0"},
    };
    for (const std::vector<OptionInfo>& more : {LeafOptions(), SweepImageOptions()}) {
        options.insert(options.end(), more.begin(), more.end());
    }
    options.push_back({"--xlsx", "FILE", "also write the sweep's workbook into FILE (replaced)"});
    return {
        "sweep",
        "Multiple simulation: one leaf parameter swept from --from to --to by --step\n"
        "(a running sum), the others held at the leaf options (the swept one's value\n"
        "is ignored). One block per value in \"MVP.dat\", the last spectrum in\n"
        "\"MVPaint.dat\". Limits by default as the window sets them up: N 1 to 4 by\n"
        "0.1, Cab 15 to 90 by 1, Cw 0.0001 to 0.07 by 0.001, Cm 0.002 to 0.04 by\n"
        "0.0005. At most 1000 values. With --png DIR, also the sweep chart and its\n"
        "colour legend as the window draws them, as DIR/sweep.png (365 x 245 pixels)\n"
        "and DIR/legend.png (369 x 17), times --scale. With --xlsx FILE, also the\n"
        "window's spreadsheet export of \"MVP.dat\" as an .xlsx workbook (nothing is\n"
        "opened).",
        options,
        [](const BatchArguments& arguments) -> std::function<void()> {
            const multi::SweepRequest request = SweepRequestFrom(arguments);
            const ChartImageRequest images = ChartImageRequestFrom(arguments);
            const std::string workbook = WorkbookFrom(arguments);
            return [request, images, workbook] {
                int nsim = 0;
                if (images.Wanted()) {
                    nsim = RunSweepWithImages(request, images);
                } else {
                    BlankSurface chart, legend;
                    nsim = multi::RunSweep(request, {chart, legend});
                }
                if (!workbook.empty()) spreadsheet::WriteSweepWorkbook(nsim, workbook);
            };
        },
    };
}

}  // namespace tulmera::batch
