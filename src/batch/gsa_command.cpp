#include "batch/gsa_command.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "batch/canopy_command.h"
#include "batch/leaf_command.h"
#include "batch/table_options.h"
#include "gsa/gsa_files.h"
#include "gsa/quantities.h"
#include "leaf/leaf_models.h"
#include "lut/progress_bar.h"
#include "sensor/band_tables.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

constexpr std::uint64_t kMostSamples = std::uint64_t{1} << 20;
// The outputs of the whole design are held in memory: at most this many values (2 GiB).
constexpr std::uint64_t kMostHeldValues = std::uint64_t{1} << 28;
constexpr int kMostBootstrap = 100000;

std::uint64_t SamplesFrom(const BatchArguments& arguments)
{
    if (!arguments.Has("--samples")) {
        throw UsageError("gsa needs --samples N (the base sample size, a power of two).");
    }
    const std::string text = arguments.Text("--samples", "");
    const auto samples = static_cast<std::uint64_t>(
        WholeValue(text, 2, static_cast<double>(kMostSamples) + 1,
                   "--samples: \"" + text + "\" is not a whole number from 2 to 1048576."));
    if ((samples & (samples - 1)) != 0) {
        throw UsageError("--samples: " + text
                         + " is not a power of two; the Sobol sequence is balanced only over "
                           "powers of two (use 1024, 2048, 4096, ...).");
    }
    return samples;
}

std::vector<gsa::QuantitySet> QuantitiesFrom(const BatchArguments& arguments, std::string& sensor)
{
    std::vector<std::string> texts = arguments.Values("--quantity");
    if (texts.empty()) texts = {"spectrum"};
    std::vector<gsa::QuantitySet> sets;
    for (const std::string& text : texts) {
        gsa::QuantitySet set = gsa::QuantitySet::Bands;
        if (text == "spectrum")
            set = gsa::QuantitySet::Spectrum;
        else if (text == "indices")
            set = gsa::QuantitySet::Indices;
        else if (text == "fluxes")
            set = gsa::QuantitySet::Fluxes;
        else if (sensor::FindSensor(text) && sensor.empty())
            sensor = text;
        else {
            std::string names;
            for (const sensor::Sensor& s : sensor::kSensors)
                names += ", \"" + std::string(s.name) + "\"";
            throw UsageError("--quantity: \"" + Shown(text)
                             + "\" is not a quantity (or a second sensor); use spectrum, "
                               "indices, fluxes or one sensor of"
                             + names.substr(1) + ".");
        }
        if (std::ranges::find(sets, set) != sets.end()) {
            throw UsageError("--quantity: \"" + Shown(text) + "\" is given twice.");
        }
        sets.push_back(set);
    }
    return sets;
}

std::string OutFrom(const std::string& out, bool sharded)
{
    const std::filesystem::path file(out);
    if (sharded && file.extension() != ".csv") {
        throw UsageError("--out: \"" + out
                         + "\": a shard's outputs are written as FILE.csv (gsa-merge joins "
                           "them into .csv or .h5).");
    }
    if (!gsa::IsIndicesFileName(file)) {
        throw UsageError("--out: \"" + out
                         + "\": an analysis is written as FILE.csv or FILE.h5 (HDF5).");
    }
    return out;
}

// "P=lo:hi" for a leaf parameter of the newer models (Car, Anth, Cbrown, Prot, CBC), which the
// table's ranges do not hold, or for one the chosen leaf model does not read (refused);
// other ranges go to ReadRange. The held value of a parameter is its option (--Car).
void ReadInputRange(const std::string& text, const BatchArguments& arguments, gsa::GsaSpec& spec)
{
    const std::size_t equals = text.find('=');
    const std::optional<std::size_t> input =
        equals == std::string::npos ? std::nullopt : gsa::InputNamed(text.substr(0, equals));
    if (!input || (*input < gsa::kTableInputCount && gsa::ModelReads(spec.leafModel, *input))) {
        ReadRange(text, arguments, spec.model);
        return;
    }
    const std::string name(gsa::kInputNames[*input]);
    if (!gsa::ModelReads(spec.leafModel, *input)) {
        throw UsageError("--range " + name + ": the "
                         + std::string(leaf::LeafModelName(spec.leafModel))
                         + " leaf model has no parameter " + name + " (see --leaf-model).");
    }
    lut::ParameterRange& range = gsa::InputRange(spec, *input);
    if (range.varies) throw UsageError("--range: " + name + " is given twice.");
    if (arguments.Has("--" + name)) {
        throw UsageError("--range " + name + " and --" + name
                         + " both given: a parameter either varies or is held.");
    }
    const std::size_t colon = text.find(':', equals);
    const std::optional<double> lo =
        colon == std::string::npos
            ? std::nullopt
            : textio::ParseNumberText(text.substr(equals + 1, colon - equals - 1));
    const std::optional<double> hi =
        colon == std::string::npos ? std::nullopt : textio::ParseNumberText(text.substr(colon + 1));
    if (!lo || !hi) {
        throw UsageError("--range: \"" + Shown(text)
                         + "\" is not a range of numbers; write P=lo:hi with a point as decimal "
                           "separator, e.g. Car=2:15.");
    }
    range = {*lo, *hi, true};
}

}  // namespace

GsaRequest GsaRequestFrom(const BatchArguments& arguments)
{
    GsaRequest request;
    gsa::GsaSpec& spec = request.spec;
    spec = gsa::HeldAnalysis(LeafParametersFrom(arguments), CanopyInputsFrom(arguments));
    spec.samples = SamplesFrom(arguments);
    spec.seed = static_cast<std::uint64_t>(
        WholeValue(arguments.Text("--seed", "0"), 0, kLargestSeed,
                   "--seed must be a whole number from 0 to 999999999999999."));
    spec.bootstrap = arguments.WholeNumber("--bootstrap", 200, 1, kMostBootstrap);
    for (const std::string& range : arguments.Values("--range"))
        ReadInputRange(range, arguments, spec);
    for (std::size_t input = 0; input < gsa::kInputCount; ++input) {
        if (const auto problem = gsa::InputRangeProblem(spec, input))
            throw UsageError("--range: " + *problem);
    }
    const std::size_t k = gsa::VariedParameters(spec).size();
    if (k < 2) {
        throw UsageError("--range: an analysis needs at least two varied parameters ("
                         + std::to_string(k) + " given).");
    }
    spec.quantities = QuantitiesFrom(arguments, spec.sensor);
    const std::uint64_t values = spec.samples * (k + 2) * gsa::QuantityNames(spec).size();
    if (values > kMostHeldValues) {
        throw UsageError("--samples: " + std::to_string(spec.samples) + " base samples would hold "
                         + std::to_string(values) + " outputs in memory, more than "
                         + std::to_string(kMostHeldValues) + "; use fewer samples or quantities.");
    }
    const lut::RowRange rows = ShardFrom(arguments, spec.samples);
    request.rows = {rows.first, rows.end};
    request.sharded = arguments.Has("--shard");
    request.threads = ThreadsFrom(arguments);
    request.quiet = arguments.Has("--quiet");
    if (!arguments.Has("--out")) throw UsageError("gsa needs --out FILE.csv or FILE.h5.");
    request.out = OutFrom(arguments.Text("--out", ""), request.sharded);
    return request;
}

namespace {

void RunGsa(const GsaRequest& request)
{
    const gsa::GsaSpec& spec = request.spec;
    const std::uint64_t simulations =
        (request.rows.end - request.rows.first) * (gsa::VariedParameters(spec).size() + 2);
    const bool progress = !request.quiet && ::isatty(STDERR_FILENO) == 1;
    lut::ProgressBar bar(std::cerr, simulations, progress);
    // A stop signal ends the process (stop_signals.h): nothing to cancel here.
    const gsa::EvaluationOptions options{request.threads, nullptr,
                                         [&bar](std::uint64_t done) { bar.Update(done); }};
    try {
        const gsa::DesignOutputs outputs = gsa::ComputeOutputs(spec, request.rows, options);
        bar.Finish();
        if (request.sharded) {
            gsa::WriteOutputsCsv(request.out, spec, outputs);
            return;
        }
        gsa::WriteIndices(request.out, gsa::SettingsText(spec), gsa::QuantityNames(spec),
                          gsa::VariedNames(spec),
                          gsa::AnalyseOutputs(spec, outputs, request.threads));
    } catch (...) {
        if (progress) std::cerr << '\n';
        throw;
    }
}

}  // namespace

BatchCommand GsaCommand()
{
    std::vector<OptionInfo> options = {
        {"--samples", "N", "base sample size, a power of two from 2 (required)"},
        {"--range", "P=lo:hi",
         "vary P (N Cab Cw Cm LAI sun view azimuth hotspot; Car Anth Cbrown with "
         "prospect-d and -pro, Prot CBC with prospect-pro) over lo..hi; at least two",
         OptionKind::Repeated},
        {"--quantity", "Q",
         "spectrum (default: every wavelength), indices, fluxes or a sensor's name; repeatable",
         OptionKind::Repeated},
        {"--bootstrap", "B", "resamples for the 95 % intervals (default 200)"},
        {"--seed", "S", "seed of the bootstrap, 0 to 999999999999999 (default 0)"},
        {"--threads", "T", "worker threads (default: every core)"},
        {"--shard", "k/n",
         "simulate only shard k (0 .. n-1) of the base rows; join with gsa-merge"},
        {"--out", "FILE",
         "the indices, FILE.csv or FILE.h5 (required); with --shard the shard's outputs (.csv)"},
        {"--quiet", "", "no progress bar (there is none when stderr is not a terminal)",
         OptionKind::Flag},
    };
    for (const std::vector<OptionInfo>& more : {LeafOptions(), CanopyOptions()}) {
        options.insert(options.end(), more.begin(), more.end());
    }
    return {
        "gsa",
        "Global sensitivity analysis: the first- and total-order Sobol indices of\n"
        "the canopy reflectance at every wavelength (or of indices, fluxes or a\n"
        "sensor's bands) for the --range parameters, the others held. Saltelli's\n"
        "design over a Sobol sequence, N·(k + 2) simulations in memory on every core;\n"
        "bootstrap 95 % intervals. Writes quantity,parameter,S1,S1_low,S1_high,ST,\n"
        "ST_low,ST_high with the run's settings on the first line (CSV) or as\n"
        "attributes (HDF5).",
        options,
        [](const BatchArguments& arguments) -> BatchWork {
            const GsaRequest request = GsaRequestFrom(arguments);
            // In memory: the working files are neither read nor written.
            return {[request] { RunGsa(request); }, {request.out}, false};
        },
    };
}

BatchCommand GsaMergeCommand()
{
    return {
        "gsa-merge",
        "Joins the shards of one sensitivity analysis (written by gsa --shard k/n, in\n"
        "any order) and writes its indices to OUT (.csv or .h5), the same file as one\n"
        "run.",
        {{"OUT", "SHARD...", "the indices (.csv or .h5), then the shard files (.csv)",
          OptionKind::Positional}},
        [](const BatchArguments& arguments) -> BatchWork {
            const std::vector<std::string>& files = arguments.Positionals();
            if (files.size() < 2) throw UsageError("gsa-merge needs OUT and at least one SHARD.");
            const std::string out = OutFrom(files.front(), false);
            for (auto shard = files.begin() + 1; shard != files.end(); ++shard) {
                if (std::filesystem::path(*shard).extension() != ".csv") {
                    throw UsageError("gsa-merge: \"" + *shard
                                     + "\" is not a shard: gsa --shard writes its outputs as "
                                       "FILE.csv.");
                }
            }
            const std::vector<std::filesystem::path> shards(files.begin() + 1, files.end());
            return {[out, shards] { gsa::MergeShards(out, shards); }, {out}, false};
        },
    };
}

}  // namespace tulmera::batch
