#include "batch/fit_canopy_command.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "batch/leaf_model_options.h"
#include "batch/measured_options.h"
#include "batch/sky_mix_option.h"
#include "leaf/leaf_models.h"
#include "lut/canopy_refine.h"
#include "lut/lut_fit.h"
#include "lut/table.h"
#include "measured/measured_grid.h"
#include "measured/measured_table.h"
#include "parallel/parallel_for.h"
#include "textio/csv_text.h"
#include "textio/error.h"

namespace tulmera::batch {
namespace {

constexpr int kDefaultBest = 20;

struct FitCanopyRequest {
    std::string lutFile;
    std::string reflectanceFile;
    int best = kDefaultBest;
    bool leaveOutWaterBands = false;
    bool refine = false;  // --refine
    measured::ValueScale scale = measured::ValueScale::Guess;
    std::vector<std::string> columns;          // empty: all
    std::optional<canopy::SkyMix> skyMix;      // --sky-mix: must be the table's
    std::optional<leaf::LeafModel> leafModel;  // --leaf-model: must be the table's
};

FitCanopyRequest RequestFrom(const BatchArguments& arguments)
{
    FitCanopyRequest request;
    request.lutFile = arguments.Text("--lut", "");
    request.reflectanceFile = arguments.Text("--reflectance", "");
    if (request.lutFile.empty()) throw UsageError("fit-canopy needs --lut FILE.");
    if (request.reflectanceFile.empty()) throw UsageError("fit-canopy needs --reflectance FILE.");
    if (!lut::FormatOf(request.lutFile)) {
        throw UsageError("--lut: \"" + Shown(request.lutFile)
                         + "\": a table is read from FILE.h5 (HDF5) or FILE.csv.");
    }
    const double best = arguments.Number("--best", kDefaultBest);
    if (best != std::floor(best) || best < 1 || best > 1e9) {
        throw UsageError("--best must be a whole number of rows from 1 up to the table's rows.");
    }
    request.best = static_cast<int>(best);
    request.leaveOutWaterBands = arguments.Has("--exclude-water");
    request.refine = arguments.Has("--refine");
    request.scale = ScaleFrom(arguments);
    request.columns = ColumnsFrom(arguments);
    request.skyMix = GivenSkyMix(arguments);
    if (arguments.Has("--leaf-model")) request.leafModel = LeafModelFrom(arguments);
    return request;
}

struct ColumnFit {
    std::string name;
    lut::CanopyFitResult result;
    std::optional<lut::RefinedCanopyFit> refined;  // with --refine
};

// The products' means and deviations, after everything else, when the table holds them.
void AddProducts(textio::CsvText& csv, const lut::CanopyFitResult& result)
{
    if (!result.hasProducts) return;
    for (const double mean : result.productMean) csv.Rounded(mean);
    for (const std::optional<double>& sd : result.productSd) {
        if (sd) {
            csv.Rounded(*sd);
        } else {
            csv.Empty();
        }
    }
}

// The table's columns of `values`, in their order.
template <typename Value>
void AddColumns(textio::CsvText& csv, std::span<const lut::Parameter> columns,
                const std::array<Value, lut::kParameterCount>& values)
{
    for (const lut::Parameter column : columns) {
        const Value& value = values[static_cast<std::size_t>(column)];
        if constexpr (std::is_same_v<Value, double>) {
            csv.Rounded(value);
        } else if (value) {
            csv.Rounded(*value);
        } else {
            csv.Empty();
        }
    }
}

std::string ResultsCsv(const std::vector<ColumnFit>& fits, const lut::TableSpec& spec, bool refined)
{
    const std::span<const lut::Parameter> columns = lut::TableColumns(spec.leafModel);
    textio::CsvText csv;
    csv.Text("column");
    const auto addNames = [&](const char* suffix) {
        for (const lut::Parameter column : columns) {
            csv.Text(std::string(lut::kParameterNames[static_cast<std::size_t>(column)]) + suffix);
        }
    };
    addNames("_mean");
    addNames("_sd");
    csv.Text("rmse_best");
    if (refined) {
        addNames("_refined");
        csv.Text("rmse_refined");
    }
    if (spec.products) {
        for (const char* suffix : {"_mean", "_sd"}) {
            for (const std::string_view name : lut::kProductNames) {
                csv.Text(std::string(name) + suffix);
            }
        }
    }
    csv.EndRow();
    for (const ColumnFit& fit : fits) {
        csv.Text(fit.name);
        AddColumns(csv, columns, fit.result.mean);
        AddColumns(csv, columns, fit.result.sd);
        csv.Rounded(fit.result.bestRmsePercent.front());
        if (fit.refined) {
            AddColumns(csv, columns, fit.refined->values);
            csv.Rounded(fit.refined->rmsePercent);
        }
        AddProducts(csv, fit.result);
        csv.EndRow();
    }
    return csv.Take();
}

// Refuses a --sky-mix the table was not computed with: the fit (and its refinement) always
// uses the table's own mix, so a contradicting option would silently be ignored.
void CheckSkyMix(const FitCanopyRequest& request, const lut::TableSpec& spec)
{
    if (!request.skyMix || *request.skyMix == spec.skyMix) return;
    throw UsageError("--sky-mix " + std::string(canopy::SkyMixName(*request.skyMix))
                     + " contradicts the table \"" + Shown(request.lutFile)
                     + "\", computed with the " + std::string(canopy::SkyMixName(spec.skyMix))
                     + " sky mix; leave --sky-mix out to use the table's.");
}

// Likewise a --leaf-model other than the table's: the fit and its refinement use the leaf
// model that computed the table.
void CheckLeafModel(const FitCanopyRequest& request, const lut::TableSpec& spec)
{
    if (!request.leafModel || *request.leafModel == spec.leafModel) return;
    throw UsageError("--leaf-model " + std::string(leaf::LeafModelName(*request.leafModel))
                     + " contradicts the table \"" + Shown(request.lutFile)
                     + "\", computed with the " + std::string(leaf::LeafModelName(spec.leafModel))
                     + " leaf model; leave --leaf-model out to use the table's.");
}

void RunFitCanopy(const FitCanopyRequest& request)
{
    const lut::Table table = lut::LoadTable(request.lutFile);
    CheckSkyMix(request, table.info.spec);
    CheckLeafModel(request, table.info.spec);
    const std::size_t rowCount = table.rows.Count();
    if (static_cast<std::size_t>(request.best) > rowCount) {
        throw Error("--best " + std::to_string(request.best)
                    + " asks for more rows than the table \"" + request.lutFile + "\" holds ("
                    + std::to_string(rowCount) + ").");
    }
    const measured::MeasuredTable measuredTable =
        measured::ReadMeasuredFile(request.reflectanceFile, request.scale);
    const std::vector<std::size_t> selected = SelectedColumns(measuredTable, request.columns);
    SayConversions(measuredTable);
    const lut::CanopyFitOptions options{request.best, request.leaveOutWaterBands,
                                        parallel::HardwareThreads()};
    std::vector<ColumnFit> fits;
    for (const std::size_t column : selected) {
        const std::string& name = measuredTable.columns[column].name;
        try {
            const measured::MeasuredSpectrum spectrum =
                measured::SpectrumOnGrid(measuredTable, column);
            ColumnFit fit{name, lut::FitCanopy(table.rows, spectrum.value, options), {}};
            if (request.refine) {
                fit.refined = lut::RefineCanopyFit(table.info.spec, spectrum.value, fit.result.mean,
                                                   request.leaveOutWaterBands);
            }
            fits.push_back(std::move(fit));
        } catch (const std::exception& e) {
            throw Error("Fitting column \"" + name + "\" of \"" + measuredTable.fileName
                        + "\" against \"" + request.lutFile + "\": " + e.what());
        }
    }
    PrintResults(ResultsCsv(fits, table.info.spec, request.refine));
}

}  // namespace

BatchCommand FitCanopyCommand()
{
    return {
        "fit-canopy",
        "Canopy fit against a look-up table (made with lut): each column of a measured\n"
        "canopy reflectance file is compared with every row of the table over the\n"
        "wavelengths both have; the parameters of the K rows of lowest RMSE are\n"
        "averaged. Printed as CSV on standard output: column, then P_mean for each of\n"
        "the table's columns (N, Cab, Cw, Cm, LAI, sun, view, azimuth, hotspot; a table\n"
        "of another --leaf-model has that model's leaf parameters in place of the\n"
        "classic four), P_sd\n"
        "(sample standard deviation, empty for --best 1), rmse_best (the best row's RMSE\n"
        "in percent reflectance). With --refine, then P_refined and rmse_refined: from\n"
        "the mean, the parameters the table varies adjusted within its ranges by least\n"
        "squares until the model comes closest (a few hundred model runs a column; far\n"
        "more accurate than the table's rows alone). For a table made with --products,\n"
        "then Q_mean and Q_sd of its fAPAR, fCover, albedo_PAR, albedo_NIR and\n"
        "albedo_shortwave over the same rows. The fit uses the table's sky mix and leaf\n"
        "model; a --sky-mix or --leaf-model that contradicts it is refused. The file is delimited "
        "text, the\n"
        "first column the wavelength (nm, or um when all are below 3). No working file\n"
        "is touched.",
        {
            {"--lut", "FILE", "the look-up table, FILE.h5 or FILE.csv"},
            {"--reflectance", "FILE", "measured canopy reflectance"},
            {"--best", "K", "rows averaged (default 20)"},
            {"--exclude-water", "", "leave out 1340-1450 and 1800-1960 nm", OptionKind::Flag},
            {"--refine", "", "also refine the answer by least squares", OptionKind::Flag},
            {"--percent", "", "values are percent (default: guessed)", OptionKind::Flag},
            {"--fraction", "", "values are fractions (default: guessed)", OptionKind::Flag},
            {"--columns", "LIST", "all (default) or K[,K...]: header names or numbers, 1 first"},
            SkyMixOption(),
            LeafModelOptions().front(),
        },
        [](const BatchArguments& arguments) -> BatchWork {
            const FitCanopyRequest request = RequestFrom(arguments);
            return {[request] { RunFitCanopy(request); }, {}, false};
        },
    };
}

}  // namespace tulmera::batch
