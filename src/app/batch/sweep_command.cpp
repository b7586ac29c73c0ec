#include "app/batch/sweep_command.h"

#include "app/batch/leaf_command.h"
#include "multi/sweep_controls.h"
#include "textio/error.h"

namespace tulmera::batch {
namespace {

// Draws nothing: the batch runner only writes the files.
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
    for (const OptionInfo& option : LeafOptions()) options.push_back(option);
    return {
        "sweep",
        "Multiple simulation: one leaf parameter swept from --from to --to by --step\n"
        "(a running sum), the others held at the leaf options (the swept one's value\n"
        "is ignored). One block per value in \"MVP.dat\", the last spectrum in\n"
        "\"MVPaint.dat\". Limits by default as the window sets them up: N 1 to 4 by\n"
        "0.1, Cab 15 to 90 by 1, Cw 0.0001 to 0.07 by 0.001, Cm 0.002 to 0.04 by\n"
        "0.0005. At most 1000 values.",
        options,
        [](const BatchArguments& arguments) -> std::function<void()> {
            const multi::SweepRequest request = SweepRequestFrom(arguments);
            return [request] {
                BlankSurface chart, legend;
                multi::RunSweep(request, {chart, legend});
            };
        },
    };
}

}  // namespace tulmera::batch
