#include "domain/input_domain.h"

#include <array>
#include <cmath>
#include <limits>

#include "leaf/leaf_models.h"
#include "textio/number_text.h"

namespace tulmera::domain {
namespace {

std::optional<DomainProblem> FirstOutside(std::initializer_list<std::pair<Input, double>> values)
{
    for (const auto& [input, value] : values) {
        const InputRange range = AcceptedRange(input);
        if (!range.Contains(value)) return DomainProblem{input, value, range};
    }
    return std::nullopt;
}

}  // namespace

bool InputRange::Contains(double value) const
{
    if (!std::isfinite(value)) return false;
    const bool aboveLowest = lowestOpen ? value > lowest : value >= lowest;
    const bool belowHighest = highestOpen ? value < highest : value <= highest;
    return aboveLowest && belowHighest;
}

// Each range was run at its ends, the other inputs at the main window's start values, for
// every leaf angle distribution, soil and visibility (input_domain_test). Below N = 1 the pile
// of layers gives negative reflectances for thin leaves; Cm = 0 leaves wavelengths where
// nothing absorbs (k = 0 at 755 nm with Cw and Cab alone, at 460 nm with Cw alone), which the
// exponential integral cannot take. The upper ends lie far beyond any leaf or canopy; what
// the model cannot take inside them (a pile a little thicker than one layer that absorbs
// nearly everything) fails in the model, naming the wavelength and the inputs.
InputRange AcceptedRange(Input input)
{
    switch (input) {
        case Input::N:
            return {1.0, 100.0};
        case Input::Cab:
            return {0.0, 10000.0};
        case Input::Cw:
            return {0.0, 10.0};
        case Input::Cm:
            return {0.0, 10.0, true, false};
        case Input::Lai:
            return {0.0, 100.0, true, false};
        case Input::SunZenith:
            return {0.0, 90.0};
        case Input::ViewAngle:
            return {-90.0, 90.0};
        case Input::RelAzimuth:
            return {0.0, 360.0};
        case Input::HotSpot:
            return {0.0, 100.0};
        // PROSPECT-D and PROSPECT-PRO have no base absorption, but water absorbs a little at
        // every wavelength of their table, as dry matter and the carbon-based constituents
        // do: with Cw = 0 a PROSPECT-D leaf needs Cm above 0 (as the classic one) and a
        // PROSPECT-PRO leaf CBC above 0, while proteins absorb nothing below 1100 nm and may
        // be 0. The pigments may all be 0; brown pigments are a fraction of the leaf.
        case Input::Car:
        case Input::Anth:
            return {0.0, 10000.0};
        case Input::Cbrown:
            return {0.0, 1.0};
        case Input::Prot:
            return {0.0, 10.0};
        case Input::CBC:
            return {0.0, 10.0, true, false};
    }
    return {0.0, 0.0};
}

std::string RangeText(const InputRange& range)
{
    using textio::NumberText;
    const std::string lowest = NumberText(range.lowest) + (range.lowestOpen ? " (excluded)" : "");
    const std::string highest =
        NumberText(range.highest) + (range.highestOpen ? " (excluded)" : "");
    return lowest + " to " + highest;
}

std::string_view OptionName(Input input)
{
    constexpr std::array<std::string_view, 14> kNames = {
        "N",       "Cab",     "Cw",  "Cm",   "lai",    "sun",  "view",
        "azimuth", "hotspot", "Car", "Anth", "Cbrown", "Prot", "CBC"};
    return kNames[static_cast<std::size_t>(input)];
}

bool IsLeafInput(Input input) { return LeafField(input).has_value(); }

std::optional<double leaf::LeafParameters::*> LeafField(Input input)
{
    using leaf::LeafParameters;
    switch (input) {
        case Input::N:
            return &LeafParameters::N;
        case Input::Cab:
            return &LeafParameters::Cab;
        case Input::Cw:
            return &LeafParameters::Cw;
        case Input::Cm:
            return &LeafParameters::Cm;
        case Input::Car:
            return &LeafParameters::Car;
        case Input::Anth:
            return &LeafParameters::Anth;
        case Input::Cbrown:
            return &LeafParameters::Cbrown;
        case Input::Prot:
            return &LeafParameters::Prot;
        case Input::CBC:
            return &LeafParameters::CBC;
        default:
            return std::nullopt;
    }
}

std::optional<DomainProblem> CheckLeafDomain(const leaf::LeafParameters& leaf)
{
    constexpr std::array<Input, 9> kLeafInputs = {Input::N,      Input::Cab,  Input::Cw,
                                                  Input::Cm,     Input::Car,  Input::Anth,
                                                  Input::Cbrown, Input::Prot, Input::CBC};
    for (const Input input : kLeafInputs) {
        const double value = leaf.*(*LeafField(input));
        if (value != 0.0 && !leaf::ModelHasParameter(leaf.model, OptionName(input))) {
            return DomainProblem{input, value, {0.0, 0.0}, true};
        }
    }
    for (const Input input : kLeafInputs) {
        if (!leaf::ModelHasParameter(leaf.model, OptionName(input))) continue;
        const double value = leaf.*(*LeafField(input));
        const InputRange range = AcceptedRange(input);
        if (!range.Contains(value)) return DomainProblem{input, value, range};
    }
    return std::nullopt;
}

std::optional<DomainProblem> CheckCanopyDomain(const canopy::CanopyInputs& inputs)
{
    return FirstOutside({{Input::Lai, inputs.lai},
                         {Input::SunZenith, inputs.sunZenith},
                         {Input::ViewAngle, inputs.viewAngle},
                         {Input::RelAzimuth, inputs.relAzimuth},
                         {Input::HotSpot, inputs.hotSpot}});
}

}  // namespace tulmera::domain

namespace tulmera::domain {

std::optional<SweepDomainProblem> CheckSweepDomain(const leaf::LeafParameters& fixed, Input swept,
                                                   const std::vector<double>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        leaf::LeafParameters p = fixed;
        if (const auto field = LeafField(swept)) p.*(*field) = values[i];
        if (const auto problem = CheckLeafDomain(p)) {
            return SweepDomainProblem{*problem, static_cast<int>(i) + 1,
                                      static_cast<int>(values.size())};
        }
    }
    return std::nullopt;
}

}  // namespace tulmera::domain
