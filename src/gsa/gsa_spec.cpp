#include "gsa/gsa_spec.h"

#include <algorithm>

#include "domain/input_domain.h"
#include "leaf/leaf_models.h"
#include "textio/number_text.h"

namespace tulmera::gsa {
namespace {

static_assert(static_cast<std::size_t>(domain::Input::CBC) + 1 == kInputCount);
static_assert(static_cast<std::size_t>(domain::Input::Car) == kTableInputCount);

// The leaf parameter of input `input` (N .. Cm and Car .. CBC), or nothing for the canopy's.
std::optional<double leaf::LeafParameters::*> LeafFieldOf(std::size_t input)
{
    return domain::LeafField(static_cast<domain::Input>(input));
}

}  // namespace

std::optional<std::size_t> InputNamed(std::string_view name)
{
    const auto found = std::ranges::find(kInputNames, name);
    if (found == kInputNames.end()) return std::nullopt;
    return static_cast<std::size_t>(found - kInputNames.begin());
}

GsaSpec HeldAnalysis(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs)
{
    GsaSpec spec;
    spec.model = lut::HeldSpec(leaf, canopyInputs);
    spec.leafModel = leaf.model;
    for (std::size_t input = kTableInputCount; input < kInputCount; ++input) {
        const double value = leaf.*(*LeafFieldOf(input));
        InputRange(spec, input) = {value, value, false};
    }
    return spec;
}

const lut::ParameterRange& InputRange(const GsaSpec& spec, std::size_t input)
{
    return input < kTableInputCount ? spec.model.ranges[input]
                                    : spec.leafModelRanges[input - kTableInputCount];
}

lut::ParameterRange& InputRange(GsaSpec& spec, std::size_t input)
{
    return input < kTableInputCount ? spec.model.ranges[input]
                                    : spec.leafModelRanges[input - kTableInputCount];
}

bool ModelReads(leaf::LeafModel model, std::size_t input)
{
    return !LeafFieldOf(input) || leaf::ModelHasParameter(model, kInputNames[input]);
}

void SetLessonRanges(GsaSpec& spec)
{
    const auto set = [&spec](std::string_view name, double lo, double hi) {
        InputRange(spec, *InputNamed(name)) = {lo, hi, true};
    };
    set("N", 1.0, 2.5);
    set("Cab", 10.0, 80.0);
    set("Cw", 0.002, 0.04);
    set(ModelReads(spec.leafModel, *InputNamed("Cm")) ? "Cm" : "CBC", 0.002, 0.02);
    set("LAI", 0.5, 6.0);
}

std::vector<std::size_t> VariedParameters(const GsaSpec& spec)
{
    std::vector<std::size_t> varied;
    for (std::size_t input = 0; input < kInputCount; ++input) {
        if (InputRange(spec, input).varies) varied.push_back(input);
    }
    return varied;
}

std::vector<std::string> VariedNames(const GsaSpec& spec)
{
    std::vector<std::string> names;
    for (const std::size_t input : VariedParameters(spec)) names.emplace_back(kInputNames[input]);
    return names;
}

std::optional<std::string> InputRangeProblem(const GsaSpec& spec, std::size_t input)
{
    if (!ModelReads(spec.leafModel, input)) return std::nullopt;
    const lut::ParameterRange& range = InputRange(spec, input);
    const std::string name(kInputNames[input]);
    const std::string text = textio::NumberText(range.lo) + ":" + textio::NumberText(range.hi);
    if (input < kTableInputCount) {
        if (auto problem = lut::RangeProblem(static_cast<lut::Parameter>(input), range))
            return problem;
    } else if (range.varies && !(range.lo <= range.hi)) {
        return name + " range " + text + ": the low end is above the high end.";
    } else {
        const domain::InputRange accepted =
            domain::AcceptedRange(static_cast<domain::Input>(input));
        for (const double end : {range.lo, range.hi}) {
            if (accepted.Contains(end)) continue;
            return name
                   + (range.varies ? " range " + text : " value " + textio::NumberText(range.lo))
                   + " reaches " + textio::NumberText(end) + ", outside the model's domain (" + name
                   + " " + domain::RangeText(accepted) + ").";
        }
    }
    if (range.varies && range.lo == range.hi) {
        return name + " range " + text + " is empty; a varied parameter needs lo < hi.";
    }
    return std::nullopt;
}

std::uint64_t SimulationCount(const GsaSpec& spec)
{
    return spec.samples * (VariedParameters(spec).size() + 2);
}

std::string QuantitySetName(QuantitySet set, const std::string& sensor)
{
    switch (set) {
        case QuantitySet::Spectrum:
            return "spectrum";
        case QuantitySet::Indices:
            return "indices";
        case QuantitySet::Fluxes:
            return "fluxes";
        case QuantitySet::Bands:
            return sensor;
    }
    return {};
}

}  // namespace tulmera::gsa
