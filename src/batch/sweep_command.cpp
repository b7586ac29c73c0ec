#include "batch/sweep_command.h"

#include "batch/chart_image_options.h"
#include "batch/csv_option.h"
#include "batch/leaf_command.h"
#include "domain/input_domain.h"
#include "export/spectra_csv.h"
#include "export/sweep_export.h"
#include "export/xlsx_writer.h"
#include "leaf/leaf_models.h"
#include "multi/sweep_controls.h"
#include "plot/chart_figures.h"
#include "plot/chart_geometry.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/staged_files.h"
#include "textio/working_files.h"

namespace tulmera::batch {
namespace {

multi::SweptParameter ParameterFrom(const BatchArguments& arguments)
{
    const std::string name = arguments.Text("--param", "N");
    if (const auto parameter = multi::SweptParameterNamed(name)) return *parameter;
    throw UsageError("--param: \"" + Shown(name)
                     + "\" is not one of N, Cab, Cw, Cm, Car, Anth, Cbrown, Prot, CBC.");
}

// The sweep as the multiple-simulation window runs it, building "MVP.dat" and "MVPaint.dat"
// aside; with images, on a chart and legend strip staged as "sweep" and "legend" images;
// with a workbook, the export of the staged "MVP.dat". Everything is published at the end.
void RunSweepCommand(const multi::SweepRequest& request, const ChartImageRequest& images,
                     const std::string& workbook, const std::string& csvFile)
{
    textio::StagedFiles staged;
    CheckImageDirectory(images);
    const std::vector<double> values = multi::CheckedSweepValues(request);
    const plot::Figure figure = plot::SweepChartFigure(
        plot::FigureTexts{}, "Leaf reflectance",
        plot::SweepCurveCaptions(multi::ParameterName(request.swept), values));
    ChartPictures charts(images, {{plot::kSweepChartScale, "sweep", figure},
                                  {plot::kLegendStripScale, "legend", std::nullopt}});
    const int valueCount = multi::StageSweep(request, {charts[0], charts[1]}, staged);
    charts.Stage(staged);
    if (!workbook.empty()) {
        const std::string temporary = staged.Reserve(workbook);
        exports::WriteWorkbook(exports::SweepWorkbook(valueCount, staged.ReadName(kSweepFile)),
                               temporary, workbook);
    }
    if (!csvFile.empty()) {
        staged.Stage(csvFile, exports::SweepSpectraCsv(exports::ComputeSweepSpectra(request)));
    }
    staged.Publish();
}

domain::Input InputOf(multi::SweptParameter parameter)
{
    for (const domain::Input input :
         {domain::Input::N, domain::Input::Cab, domain::Input::Cw, domain::Input::Cm,
          domain::Input::Car, domain::Input::Anth, domain::Input::Cbrown, domain::Input::Prot,
          domain::Input::CBC}) {
        if (domain::OptionName(input) == multi::ParameterName(parameter)) return input;
    }
    return domain::Input::N;
}

// Every value of the sweep against the leaf model's ranges, before the first step: the held
// parameters (with the swept one at its start value), then each swept value in order.
void CheckSweepOptions(const multi::SweepRequest& request, const std::vector<double>& values)
{
    leaf::LeafParameters held = request.fixed;
    const leaf::LeafParameters start = leaf::StartLeafParameters(request.fixed.model);
    double leaf::LeafParameters::*const sweptField = *domain::LeafField(InputOf(request.swept));
    held.*sweptField = start.*sweptField;
    CheckLeafOptions(held);
    const domain::Input swept = InputOf(request.swept);
    if (!leaf::ModelHasParameter(held.model, domain::OptionName(swept))) {
        throw UsageError("--param " + std::string(domain::OptionName(swept)) + ": the "
                         + std::string(leaf::LeafModelName(held.model))
                         + " leaf model has no parameter " + std::string(domain::OptionName(swept))
                         + " (see --leaf-model).");
    }
    if (const auto problem = domain::CheckSweepDomain(request.fixed, swept, values)) {
        throw UsageError("--from/--to/--step: value " + std::to_string(problem->valueNumber)
                         + " of " + std::to_string(problem->valueCount) + ", "
                         + std::string(domain::OptionName(swept)) + " = "
                         + textio::NumberText(problem->problem.value) + ", is outside "
                         + domain::RangeText(problem->problem.range) + ".");
    }
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
    request.upper = arguments.Number("--to", start(bars.upper, bars.limitDivisor));
    request.lower = arguments.Number("--from", start(bars.lower, bars.limitDivisor));
    request.interval = arguments.Number("--step", start(bars.interval, bars.intervalDivisor));
    std::vector<double> values;
    try {
        values = multi::SweepValues(request.lower, request.upper, request.interval);
    } catch (const Error& e) {
        throw UsageError(std::string("Cannot sweep ")
                         + std::string(multi::ParameterName(request.swept)) + ". " + e.what());
    }
    CheckSweepOptions(request, values);
    return request;
}

BatchCommand SweepCommand()
{
    std::vector<OptionInfo> options = {
        {"--param", "P",
         "the parameter to sweep: N, Cab, Cw or Cm, or one --leaf-model reads: Car, Anth, "
         "Cbrown, Prot, CBC (default N)"},
        {"--from", "x", "lower limit: the first value"},
        {"--to", "y", "upper limit: values up to it + 0.0001 are swept"},
        {"--step", "z", "interval between values, greater than 0"},
    };
    for (const std::vector<OptionInfo>& more : {LeafOptions(), SweepImageOptions()}) {
        options.insert(options.end(), more.begin(), more.end());
    }
    options.push_back({"--xlsx", "FILE", "also write the sweep's workbook into FILE (replaced)"});
    options.push_back(CsvOption());
    return {
        "sweep",
        "Multiple simulation: one leaf parameter swept from --from to --to by --step\n"
        "(a running sum), the others held at the leaf options (the swept one's value\n"
        "is ignored). One block per value in \"MVP.dat\", the last spectrum in\n"
        "\"MVPaint.dat\". Limits by default as the window sets them up: N 1 to 4 by\n"
        "0.1, Cab 15 to 90 by 1, Cw 0.0001 to 0.07 by 0.001, Cm 0.002 to 0.04 by\n"
        "0.0005; for the parameters of prospect-d and prospect-pro Car 0 to 30 by 2,\n"
        "Anth 0 to 40 by 5, Cbrown 0 to 1 by 0.1, Prot 0 to 0.004 by 0.0005, CBC 0.002\n"
        "to 0.02 by 0.002. \"MVP.dat\" has the same layout whatever the leaf model.\n"
        "At most 1000 values. With --png DIR, also the sweep chart and its\n"
        "colour legend as the window draws them, as DIR/sweep.png (365 x 245 pixels)\n"
        "and DIR/legend.png (369 x 17), times --scale; with --svg DIR, the same as\n"
        "vector pictures DIR/sweep.svg and DIR/legend.svg. With --xlsx FILE, also the\n"
        "window's spreadsheet export of \"MVP.dat\" as an .xlsx workbook (nothing is\n"
        "opened). With --csv FILE, also every value's spectra as a long CSV table.",
        options,
        [](const BatchArguments& arguments) -> BatchWork {
            const multi::SweepRequest request = SweepRequestFrom(arguments);
            const ChartImageRequest images = ChartImageRequestFrom(arguments);
            const std::string workbook = WorkbookFrom(arguments);
            std::vector<std::string> outputs = ImagePaths(images, {"sweep", "legend"});
            if (!workbook.empty()) outputs.push_back(workbook);
            const std::string csvFile = CsvFileFrom(arguments);
            if (!csvFile.empty()) outputs.push_back(csvFile);
            return {[request, images, workbook, csvFile] {
                        RunSweepCommand(request, images, workbook, csvFile);
                    },
                    outputs};
        },
    };
}

}  // namespace tulmera::batch
