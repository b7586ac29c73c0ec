#include "batch/fit_canopy_command.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "batch/measured_options.h"
#include "lut/lut_fit.h"
#include "lut/table.h"
#include "measured/measured_grid.h"
#include "measured/measured_table.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

constexpr int kDefaultBest = 20;

struct FitCanopyRequest {
    std::string lutFile;
    std::string reflectanceFile;
    int best = kDefaultBest;
    bool leaveOutWaterBands = false;
    measured::ValueScale scale = measured::ValueScale::Guess;
    std::vector<std::string> columns;  // empty: all
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
    request.scale = ScaleFrom(arguments);
    request.columns = ColumnsFrom(arguments);
    return request;
}

struct ColumnFit {
    std::string name;
    lut::CanopyFitResult result;
};

std::string CsvText(const std::vector<ColumnFit>& fits)
{
    std::string text = "column";
    for (const char* suffix : {"_mean", "_sd"}) {
        for (const std::string_view name : lut::kParameterNames) {
            text += ',' + std::string(name) + suffix;
        }
    }
    text += ",rmse_best\n";
    for (const ColumnFit& fit : fits) {
        text += CsvField(fit.name);
        for (const double mean : fit.result.mean) {
            text += ',';
            textio::AppendNumberText(text, mean);
        }
        for (const std::optional<double>& sd : fit.result.sd) {
            text += ',';
            if (sd) textio::AppendNumberText(text, *sd);
        }
        text += ',';
        textio::AppendNumberText(text, fit.result.bestRmsePercent.front());
        text += '\n';
    }
    return text;
}

void RunFitCanopy(const FitCanopyRequest& request)
{
    const lut::Table table = lut::LoadTable(request.lutFile);
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
    const lut::CanopyFitOptions options{
        request.best, request.leaveOutWaterBands,
        static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))};
    std::vector<ColumnFit> fits;
    for (const std::size_t column : selected) {
        const std::string& name = measuredTable.columns[column].name;
        try {
            const measured::MeasuredSpectrum spectrum =
                measured::SpectrumOnGrid(measuredTable, column);
            fits.push_back({name, lut::FitCanopy(table.rows, spectrum.value, options)});
        } catch (const std::exception& e) {
            throw Error("Fitting column \"" + name + "\" of \"" + measuredTable.fileName
                        + "\" against \"" + request.lutFile + "\": " + e.what());
        }
    }
    PrintResults(CsvText(fits));
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
        "the table's parameters (N, Cab, Cw, Cm, LAI, sun, view, azimuth, hotspot), P_sd\n"
        "(sample standard deviation, empty for --best 1), rmse_best (the best row's RMSE\n"
        "in percent reflectance). The file is delimited text, the first column the\n"
        "wavelength (nm, or um when all are below 3). No working file is touched.",
        {
            {"--lut", "FILE", "the look-up table, FILE.h5 or FILE.csv"},
            {"--reflectance", "FILE", "measured canopy reflectance"},
            {"--best", "K", "rows averaged (default 20)"},
            {"--exclude-water", "", "leave out 1340-1450 and 1800-1960 nm", OptionKind::Flag},
            {"--percent", "", "values are percent (default: guessed)", OptionKind::Flag},
            {"--fraction", "", "values are fractions (default: guessed)", OptionKind::Flag},
            {"--columns", "LIST", "all (default) or K[,K...]: header names or numbers, 1 first"},
        },
        [](const BatchArguments& arguments) -> BatchWork {
            const FitCanopyRequest request = RequestFrom(arguments);
            return {[request] { RunFitCanopy(request); }, {}, false};
        },
    };
}

}  // namespace tulmera::batch
