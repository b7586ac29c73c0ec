#include "batch/table_options.h"

#include <cmath>

#include "leaf/leaf_models.h"
#include "parallel/parallel_for.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

constexpr int kMostThreads = 1024;

// The batch option that holds each parameter when it has no range.
constexpr std::array<std::string_view, lut::kParameterCount> kHeldOptions = {
    "--N",       "--Cab",     "--Cw",  "--Cm",   "--lai",    "--sun",  "--view",
    "--azimuth", "--hotspot", "--Car", "--Anth", "--Cbrown", "--Prot", "--CBC"};

}  // namespace

int ThreadsFrom(const BatchArguments& arguments)
{
    const int cores = parallel::HardwareThreads();
    return arguments.WholeNumber("--threads", std::min(cores, kMostThreads), 1, kMostThreads);
}

double WholeValue(std::string_view text, double lowest, double limit, const std::string& what)
{
    const std::optional<double> value = textio::ParseNumberText(text);
    if (!value || *value != std::floor(*value) || *value < lowest || *value >= limit) {
        throw UsageError(what);
    }
    return *value;
}

lut::RowRange ShardFrom(const BatchArguments& arguments, std::uint64_t samples)
{
    if (!arguments.Has("--shard")) return {0, samples};
    const std::string text = arguments.Text("--shard", "");
    const std::string problem = "--shard: \"" + text
                                + "\" is not a shard; use k/n with 0 <= k < n (shards are "
                                  "numbered from 0).";
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) throw UsageError(problem);
    const double count =
        WholeValue(std::string_view(text).substr(slash + 1), 1, kLargestSeed, problem);
    const double index = WholeValue(std::string_view(text).substr(0, slash), 0, count, problem);
    return lut::ShardRows(samples, static_cast<std::uint64_t>(index),
                          static_cast<std::uint64_t>(count));
}

// "P=lo:hi" into the table settings' range of P.
void ReadRange(const std::string& text, const BatchArguments& arguments, lut::TableSpec& spec)
{
    const std::size_t equals = text.find('=');
    const std::size_t colon = text.find(':', equals == std::string::npos ? 0 : equals);
    if (equals == std::string::npos || colon == std::string::npos) {
        throw UsageError("--range: \"" + Shown(text)
                         + "\" is not a range; write P=lo:hi, e.g. LAI=0.1:8.");
    }
    const std::string name = text.substr(0, equals);
    const std::optional<lut::Parameter> parameter = lut::ParameterNamed(name);
    if (!parameter) {
        std::string names;
        for (const std::string_view n : lut::kParameterNames)
            names += (names.empty() ? "" : ", ") + std::string(n);
        throw UsageError("--range: \"" + Shown(name) + "\" is not a parameter; use one of " + names
                         + ".");
    }
    const auto at = static_cast<std::size_t>(*parameter);
    if (!lut::HasColumn(spec.leafModel, *parameter)) {
        throw UsageError("--range " + name + ": the "
                         + std::string(leaf::LeafModelName(spec.leafModel))
                         + " leaf model has no parameter " + name + " (see --leaf-model).");
    }
    if (spec.ranges[at].varies) throw UsageError("--range: " + name + " is given twice.");
    if (arguments.Has(kHeldOptions[at])) {
        throw UsageError("--range " + name + " and " + std::string(kHeldOptions[at])
                         + " both given: a parameter either varies or is held.");
    }
    const std::optional<double> lo =
        textio::ParseNumberText(text.substr(equals + 1, colon - equals - 1));
    const std::optional<double> hi = textio::ParseNumberText(text.substr(colon + 1));
    if (!lo || !hi) {
        throw UsageError(
            "--range: \"" + text
            + "\" has an end that is not a number (use a point as decimal separator).");
    }
    spec.ranges[at] = {*lo, *hi, true};
}

}  // namespace tulmera::batch
