#include "batch/sweep_canopy_command.h"

#include <iostream>

#include "batch/canopy_command.h"
#include "batch/chart_image_options.h"
#include "batch/csv_option.h"
#include "batch/leaf_command.h"
#include "export/canopy_sweep_export.h"
#include "export/spectra_csv.h"
#include "export/xlsx_writer.h"
#include "multi/canopy_sweep_charts.h"
#include "plot/chart_figures.h"
#include "plot/chart_geometry.h"
#include "plot/quantity_chart.h"
#include "textio/error.h"
#include "textio/staged_files.h"
#include "textio/working_files.h"

namespace tulmera::batch {
namespace {

constexpr std::string_view kCurvesImage = "sweep";  // base names: .png, .svg
constexpr std::string_view kLegendImage = "legend";
constexpr std::string_view kQuantityImage = "quantity";

std::string WorkbookFrom(const BatchArguments& arguments)
{
    if (!arguments.Has("--xlsx")) return {};
    const std::string path = arguments.Text("--xlsx", "");
    if (path.empty()) throw UsageError("--xlsx needs a file name.");
    return path;
}

void StageCharts(const multi::CanopySweepResult& result, const multi::SweepQuantity& quantity,
                 const ChartImageRequest& images, textio::StagedFiles& staged)
{
    const std::string parameter(multi::CanopyParameterName(result.swept));
    const plot::Figure curves =
        plot::SweepChartFigure(plot::FigureTexts{}, "Canopy reflectance",
                               plot::SweepCurveCaptions(parameter, result.values));
    const plot::Figure chart = plot::QuantityChartFigure(multi::SweepQuantityAxes(result, quantity),
                                                         parameter, quantity.name);
    ChartPictures charts(images, {{plot::kSweepChartScale, kCurvesImage, curves},
                                  {plot::kLegendStripScale, kLegendImage, std::nullopt},
                                  {plot::kQuantityChartScale, kQuantityImage, chart}});
    multi::PaintCanopySweepCurves({charts[0], charts[1]}, result);
    multi::PaintSweepQuantity(charts[2], result, quantity);
    charts.Stage(staged);
}

// What a run writes besides "MVS.dat".
struct SweepCanopyOutputs {
    ChartImageRequest images;
    std::string workbook;  // empty: none
    std::string csvFile;   // empty: none
};

// The sweep in memory, then "MVS.dat", the images, the workbook and the spectra CSV staged and
// published together, and only then the quantity's table printed.
void RunSweepCanopy(const multi::CanopySweepRequest& request, const multi::SweepQuantity& quantity,
                    const SweepCanopyOutputs& outputs)
{
    const ChartImageRequest& images = outputs.images;
    const std::string& workbook = outputs.workbook;
    if (images.Wanted()) CheckImageDirectory(images);
    const multi::CanopySweepResult result = multi::ComputeCanopySweep(request);
    textio::StagedFiles staged;
    multi::StageCanopySweepFile(result, staged);
    if (images.Wanted()) StageCharts(result, quantity, images, staged);
    if (!workbook.empty()) {
        const exports::QuantityTable table{
            std::string(multi::CanopyParameterName(result.swept)), quantity.name, result.values,
            multi::QuantityValues(quantity, result.canopyReflPct, result.fluxes)};
        const std::string temporary = staged.Reserve(workbook);
        exports::WriteWorkbook(
            exports::CanopySweepWorkbook(table, staged.ReadName(kCanopySweepFile)), temporary,
            workbook);
    }
    if (!outputs.csvFile.empty()) {
        staged.Stage(outputs.csvFile, exports::CanopySweepSpectraCsv(request, result));
    }
    staged.Publish();
    std::cout << multi::SweepQuantityCsv(result, quantity) << std::flush;
    if (!std::cout) throw Error("Cannot write the sweep's table to the standard output.");
}

}  // namespace

multi::CanopySweepRequest CanopySweepRequestFrom(const BatchArguments& arguments)
{
    multi::CanopySweepRequest request;
    const std::string name = arguments.Text("--param", "LAI");
    const auto swept = multi::CanopyParameterNamed(name);
    if (!swept) {
        throw UsageError("--param: \"" + Shown(name)
                         + "\" is not one of LAI, sun, view, azimuth, hotspot, plane, N, Cab, "
                           "Cw, Cm.");
    }
    request.swept = *swept;
    request.leaf = LeafParametersFrom(arguments);
    request.canopy = CanopyInputsFrom(arguments);
    const multi::SweepLimits start = multi::DefaultCanopyLimits(request.swept);
    request.limits.lower = arguments.Number("--from", start.lower);
    request.limits.upper = arguments.Number("--to", start.upper);
    request.limits.interval = arguments.Number("--step", start.interval);
    try {
        multi::CheckedCanopySweepValues(request);
    } catch (const Error& e) {
        throw UsageError(e.what());
    }
    return request;
}

multi::SweepQuantity SweepQuantityFrom(const BatchArguments& arguments)
{
    const std::string text = arguments.Text("--quantity", "NDVI");
    if (auto quantity = multi::ParseSweepQuantity(text, true)) return *quantity;
    throw UsageError("--quantity: \"" + Shown(text)
                     + "\" is not an index (e.g. NDVI), \"SENSOR band B\" (e.g. \"Landsat-TM "
                       "band 3\"), a wavelength of 400 to 2500 nm by 5 or a flux (fAPAR, "
                       "fCover, albedo PAR, albedo NIR, albedo shortwave).");
}

BatchCommand SweepCanopyCommand()
{
    std::vector<OptionInfo> options = {
        {"--param", "P", "LAI (default), sun, view, azimuth, hotspot, plane, N, Cab, Cw, Cm"},
        {"--from", "x", "lower limit: the first value"},
        {"--to", "y", "upper limit: values up to it + 0.0001 are swept"},
        {"--step", "z", "interval between values, greater than 0"},
        {"--quantity", "Q",
         "NDVI (default), another index, \"SENSOR band B\", nm, fAPAR, fCover or \"albedo PAR\" "
         "(NIR, shortwave)"},
    };
    for (const std::vector<OptionInfo>& more :
         {LeafOptions(), CanopyOptions(), SweepImageOptions()}) {
        options.insert(options.end(), more.begin(), more.end());
    }
    options.push_back({"--xlsx", "FILE", "also write the sweep's workbook into FILE (replaced)"});
    options.push_back(CsvOption());
    return {
        "sweep-canopy",
        "Canopy multiple simulation: one canopy or leaf parameter swept from --from to\n"
        "--to by --step (a running sum), the others held at the leaf and canopy\n"
        "options. \"plane\" is the view angle in the principal plane: v >= 0 views at\n"
        "azimuth 0 (the sun's side, the hot spot), v < 0 views |v| at azimuth 180.\n"
        "Defaults: LAI 0.5 to 8 by 0.5, sun 0 to 80 by 10, view and plane -80 to 80\n"
        "by 5, azimuth 0 to 180 by 10, hotspot 0 to 1 by 0.1, the leaf parameters as\n"
        "in sweep. At most 1000 values. Writes \"MVS.dat\" (per value \"P = v \" and\n"
        "its \"VS.dat\" lines) and prints CSV \"P,Q\": the quantity per value, empty when\n"
        "undefined. With --png DIR, also DIR/sweep.png, DIR/legend.png and\n"
        "DIR/quantity.png; with --svg DIR, the same charts as .svg vector pictures;\n"
        "with --xlsx FILE, the sweep's workbook (two sheets); with --csv FILE, every\n"
        "value's canopy reflectance as a long CSV table.",
        options,
        [](const BatchArguments& arguments) -> BatchWork {
            const multi::CanopySweepRequest request = CanopySweepRequestFrom(arguments);
            const multi::SweepQuantity quantity = SweepQuantityFrom(arguments);
            const SweepCanopyOutputs files{ChartImageRequestFrom(arguments),
                                           WorkbookFrom(arguments), CsvFileFrom(arguments)};
            std::vector<std::string> outputs =
                ImagePaths(files.images, {kCurvesImage, kLegendImage, kQuantityImage});
            for (const std::string& file : {files.workbook, files.csvFile}) {
                if (!file.empty()) outputs.push_back(file);
            }
            return {[request, quantity, files] { RunSweepCanopy(request, quantity, files); },
                    outputs};
        },
    };
}

}  // namespace tulmera::batch
