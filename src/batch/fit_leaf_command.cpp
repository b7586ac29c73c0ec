#include "batch/fit_leaf_command.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "batch/leaf_model_options.h"
#include "batch/measured_options.h"
#include "fit/leaf_fit.h"
#include "leaf/leaf_models.h"
#include "measured/measured_grid.h"
#include "measured/measured_table.h"
#include "parallel/parallel_for.h"
#include "textio/csv_text.h"
#include "textio/error.h"

namespace tulmera::batch {
namespace {

struct FitLeafRequest {
    std::string reflectanceFile;    // empty when not given
    std::string transmittanceFile;  // empty when not given
    bool subdomains = false;
    leaf::LeafModel model = leaf::LeafModel::Classic;
    bool freeBrown = false;  // --free Cbrown
    measured::ValueScale scale = measured::ValueScale::Guess;
    std::vector<std::string> columns;  // empty: all
};

// --free Cbrown: the brown pigments fitted too, which only PROSPECT-D and PRO have.
void ReadFreeOption(const BatchArguments& arguments, FitLeafRequest& request)
{
    if (!arguments.Has("--free")) return;
    const std::string name = arguments.Text("--free", "");
    if (name != "Cbrown") {
        throw UsageError("--free: \"" + Shown(name)
                         + "\" cannot be freed; the only parameter held is Cbrown.");
    }
    if (!leaf::ModelHasParameter(request.model, name)) {
        throw UsageError("--free Cbrown: the " + std::string(leaf::LeafModelName(request.model))
                         + " leaf model has no brown pigments (see --leaf-model).");
    }
    request.freeBrown = true;
}

FitLeafRequest RequestFrom(const BatchArguments& arguments)
{
    FitLeafRequest request;
    request.reflectanceFile = arguments.Text("--reflectance", "");
    request.transmittanceFile = arguments.Text("--transmittance", "");
    if (request.reflectanceFile.empty() && request.transmittanceFile.empty()) {
        throw UsageError("fit-leaf needs --reflectance FILE, --transmittance FILE or both.");
    }
    request.scale = ScaleFrom(arguments);
    request.subdomains = arguments.Has("--subdomains");
    request.model = LeafModelFrom(arguments);
    ReadFreeOption(arguments, request);
    request.columns = ColumnsFrom(arguments);
    return request;
}

// The spectra of one column (sample) on the grid, and its name for the output.
struct Sample {
    std::string name;
    fit::LeafFitTarget target;
};

// Columns are paired by position. Where a header name of one file stands at another position
// in the other, the headers themselves say the pairing is wrong: refused rather than fitted
// with one sample's reflectance and another's transmittance. Names that differ (R1 and T1)
// say nothing and are paired as they stand.
void RefuseSwappedColumns(const measured::MeasuredTable& R, const measured::MeasuredTable& T)
{
    for (std::size_t k = 0; k < R.columns.size(); ++k) {
        for (std::size_t j = 0; j < T.columns.size(); ++j) {
            if (j == k || R.columns[k].name != T.columns[j].name) continue;
            if (k < T.columns.size() && T.columns[k].name == R.columns[k].name) continue;
            throw Error("Column " + std::to_string(k + 1) + " of \"" + R.fileName + "\" is \""
                        + Shown(R.columns[k].name) + "\", which is column "
                        + std::to_string(j + 1) + " of \"" + T.fileName
                        + "\": columns are paired by position, so put the samples in the same "
                          "order in both files.");
        }
    }
}

std::vector<Sample> ReadSamples(const FitLeafRequest& request)
{
    std::optional<measured::MeasuredTable> R, T;
    if (!request.reflectanceFile.empty())
        R = measured::ReadMeasuredFile(request.reflectanceFile, request.scale);
    if (!request.transmittanceFile.empty())
        T = measured::ReadMeasuredFile(request.transmittanceFile, request.scale);
    if (R && T && R->columns.size() != T->columns.size()) {
        throw Error("The reflectance file \"" + R->fileName + "\" has "
                    + std::to_string(R->columns.size())
                    + " spectrum columns, the transmittance file \"" + T->fileName + "\" "
                    + std::to_string(T->columns.size())
                    + "; column k of one must be the same sample as column k of the other.");
    }
    if (R && T) RefuseSwappedColumns(*R, *T);
    const measured::MeasuredTable& first = R ? *R : *T;
    const std::vector<std::size_t> selected = SelectedColumns(first, request.columns);
    if (R) SayConversions(*R);
    if (T) SayConversions(*T);
    std::vector<Sample> samples;
    for (const std::size_t column : selected) {
        Sample sample{first.columns[column].name, {}};
        if (R) sample.target.reflectance = measured::SpectrumOnGrid(*R, column).value;
        if (T) sample.target.transmittance = measured::SpectrumOnGrid(*T, column).value;
        samples.push_back(std::move(sample));
    }
    return samples;
}

// Fits every sample on as many threads as the machine has cores; the results keep the
// samples' order. The first failure, in that order, is thrown once all threads are done.
std::vector<fit::LeafFitResult> FitAll(const std::vector<Sample>& samples,
                                       const fit::LeafFitOptions& options)
{
    std::vector<fit::LeafFitResult> results(samples.size());
    std::vector<std::exception_ptr> failures(samples.size());
    parallel::LoopOptions loop;
    loop.threads = parallel::HardwareThreads();
    parallel::ParallelFor(samples.size(), loop, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            try {
                results[i] = fit::FitLeaf(samples[i].target, options).value();
            } catch (...) {
                failures[i] = std::current_exception();  // reported below, lowest column first
            }
        }
    });
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (!failures[i]) continue;
        try {
            std::rethrow_exception(failures[i]);
        } catch (const std::exception& e) {
            throw Error("Fitting column \"" + samples[i].name + "\": " + e.what());
        }
    }
    return results;
}

// One column per parameter of the model, in its order (classic: N, Cab, Cw, Cm).
std::string ResultsCsv(const std::vector<Sample>& samples,
                       const std::vector<fit::LeafFitResult>& results, leaf::LeafModel model)
{
    std::string header = "column";
    for (const leaf::LeafParameterField& field : leaf::ModelParameters(model)) {
        header += ',' + std::string(field.name);
    }
    header += ",rmse_R,rmse_T,evaluations";
    textio::CsvText csv;
    csv.Header(header);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const fit::LeafFitResult& r = results[i];
        csv.Text(samples[i].name);
        for (const leaf::LeafParameterField& field : leaf::ModelParameters(model)) {
            csv.Rounded(r.parameters.*field.value);
        }
        for (const std::optional<double>& rmse :
             {r.rmseReflectancePercent, r.rmseTransmittancePercent}) {
            if (rmse) {
                csv.Rounded(*rmse);
            } else {
                csv.Empty();
            }
        }
        csv.Whole(r.evaluations).EndRow();
    }
    return csv.Take();
}

void RunFitLeaf(const FitLeafRequest& request)
{
    const std::vector<Sample> samples = ReadSamples(request);
    fit::LeafFitOptions options;
    options.subdomains = request.subdomains;
    options.model = request.model;
    options.freeBrown = request.freeBrown;
    PrintResults(ResultsCsv(samples, FitAll(samples, options), request.model));
}

}  // namespace

BatchCommand FitLeafCommand()
{
    return {
        "fit-leaf",
        "Leaf fit: N, Cab, Cw and Cm fitted to measured leaf spectra, one fit per\n"
        "column, printed as CSV on standard output: column,N,Cab,Cw,Cm,rmse_R,rmse_T,\n"
        "evaluations (RMSE in percent reflectance). With --leaf-model prospect-d, also\n"
        "Car and Anth (Cbrown held at 0 unless --free Cbrown), and the columns follow\n"
        "the model's parameters; prospect-pro fits Prot and CBC in place of Cm. The files are "
        "delimited text, the\n"
        "first column the wavelength (nm, or um when all are below 3), each further\n"
        "column one sample; column K of one file is the same sample as column K of the\n"
        "other. No working file is touched.",
        {
            {"--reflectance", "FILE", "measured leaf reflectance"},
            {"--transmittance", "FILE", "measured leaf transmittance"},
            {"--subdomains", "",
             "then Cab on 700-720 nm, Cw and Cm on 1700-2400 nm (prospect-d/-pro: also Car on "
             "520-560, Prot on 2125-2175, CBC on 2025-2350, N free in each)",
             OptionKind::Flag},
            LeafModelOptions().front(),
            {"--free", "Cbrown", "also fit the brown pigments (prospect-d and -pro)"},
            {"--percent", "", "values are percent (default: guessed)", OptionKind::Flag},
            {"--fraction", "", "values are fractions (default: guessed)", OptionKind::Flag},
            {"--columns", "LIST", "all (default) or K[,K...]: header names or numbers, 1 first"},
        },
        [](const BatchArguments& arguments) -> BatchWork {
            const FitLeafRequest request = RequestFrom(arguments);
            return {[request] { RunFitLeaf(request); }, {}, false};
        },
    };
}

}  // namespace tulmera::batch
