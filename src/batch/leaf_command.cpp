#include "batch/leaf_command.h"

#include "batch/chart_image_options.h"
#include "batch/csv_option.h"
#include "batch/leaf_model_options.h"
#include "canopy/canopy_run.h"
#include "export/spectra_csv.h"
#include "plot/chart_figures.h"
#include "plot/chart_geometry.h"
#include "plot/main_charts.h"
#include "refresh/refresh.h"
#include "textio/number_text.h"
#include "textio/staged_files.h"
#include "textio/text_file.h"

namespace tulmera::batch {
namespace {

// The leaf half of the main window's recomputation; with images, on charts of which the leaf
// one is staged as "leaf.png" and/or "leaf.svg"; with a CSV file, the spectra read back from the
// staged "VP.dat" are staged as CSV; then "VP.dat", the image and the CSV are published together.
void RunLeaf(const leaf::LeafParameters& leaf, const ChartImageRequest& images,
             const std::string& csvFile)
{
    textio::StagedFiles staged;
    CheckImageDirectory(images);
    // The canopy chart is drawn (its background) but not written.
    ChartPictures charts(
        images, {{plot::kLeafChartScale, "leaf", plot::LeafChartFigure(plot::FigureTexts{})}});
    BlankSurface canopyChart;
    refresh::StageLeafRecompute(leaf, {charts[0], canopyChart}, images.background, staged);
    charts.Stage(staged);
    if (!csvFile.empty()) {
        exports::MainSpectra spectra;
        spectra.leaf = leaf;
        canopy::ReadLeafSpectrumPct(kLeafSpectrumFile, spectra.state.leafReflPct,
                                    spectra.state.leafTransPct, staged.ReadName(kLeafSpectrumFile));
        staged.Stage(csvFile, exports::MainSpectraCsv(spectra));
    }
    staged.Publish();
}

}  // namespace

std::vector<OptionInfo> ClassicLeafOptions()
{
    return {
        {"--N", "v", "leaf structure parameter, 1 to 100 (default 1)"},
        {"--Cab", "v", "chlorophyll a+b content, µg/cm², 0 to 10000 (default 15)"},
        {"--Cw", "v", "equivalent water thickness, cm, 0 to 10 (default 0.0001)"},
        {"--Cm", "v", "dry matter content, g/cm², above 0 up to 10 (default 0.002)"},
    };
}

std::vector<OptionInfo> LeafOptions()
{
    std::vector<OptionInfo> options = ClassicLeafOptions();
    const std::vector<OptionInfo> models = LeafModelOptions();
    options.insert(options.end(), models.begin(), models.end());
    return options;
}

leaf::LeafParameters LeafParametersFrom(const BatchArguments& arguments)
{
    return LeafModelParametersFrom(arguments);
}

std::string DomainMessage(const domain::DomainProblem& problem)
{
    const std::string option = "--" + std::string(domain::OptionName(problem.input));
    if (problem.notInModel) {
        return option + " " + textio::NumberText(problem.value)
               + ": the chosen leaf model has no such parameter (see --leaf-model).";
    }
    return option + " " + textio::NumberText(problem.value) + " is outside "
           + domain::RangeText(problem.range) + ".";
}

void CheckLeafOptions(const leaf::LeafParameters& leaf)
{
    if (const auto problem = domain::CheckLeafDomain(leaf)) {
        throw UsageError(DomainMessage(*problem));
    }
}

BatchCommand LeafCommand()
{
    std::vector<OptionInfo> options = LeafOptions();
    const std::vector<OptionInfo> imageOptions = MainChartImageOptions();
    options.insert(options.end(), imageOptions.begin(), imageOptions.end());
    options.push_back(CsvOption());
    return {
        "leaf",
        "Leaf run: the leaf reflectance and transmittance from 400 to 2500 nm,\n"
        "every 5 nm, written to \"VP.dat\". With --png DIR, also the leaf chart as\n"
        "the main window draws it, as DIR/leaf.png (317 x 165 pixels times --scale);\n"
        "with --svg DIR, the same chart as a vector picture DIR/leaf.svg.\n"
        "With --csv FILE, also the leaf spectra as a CSV file.",
        options,
        [](const BatchArguments& arguments) -> BatchWork {
            const leaf::LeafParameters leaf = LeafParametersFrom(arguments);
            CheckLeafOptions(leaf);
            const ChartImageRequest images = ChartImageRequestFrom(arguments);
            const std::string csvFile = CsvFileFrom(arguments);
            std::vector<std::string> outputs = ImagePaths(images, {"leaf"});
            if (!csvFile.empty()) outputs.push_back(csvFile);
            return {[leaf, images, csvFile] { RunLeaf(leaf, images, csvFile); }, outputs};
        },
    };
}

}  // namespace tulmera::batch
