#include "domain/input_domain.h"

#include <array>
#include <cmath>
#include <limits>

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
    constexpr std::array<std::string_view, 9> kNames = {"N",   "Cab",  "Cw",      "Cm",     "lai",
                                                        "sun", "view", "azimuth", "hotspot"};
    return kNames[static_cast<std::size_t>(input)];
}

std::optional<DomainProblem> CheckLeafDomain(const leaf::LeafParameters& leaf)
{
    return FirstOutside(
        {{Input::N, leaf.N}, {Input::Cab, leaf.Cab}, {Input::Cw, leaf.Cw}, {Input::Cm, leaf.Cm}});
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
        switch (swept) {
            case Input::N:
                p.N = values[i];
                break;
            case Input::Cab:
                p.Cab = values[i];
                break;
            case Input::Cw:
                p.Cw = values[i];
                break;
            case Input::Cm:
                p.Cm = values[i];
                break;
            default:
                break;
        }
        if (const auto problem = CheckLeafDomain(p)) {
            return SweepDomainProblem{*problem, static_cast<int>(i) + 1,
                                      static_cast<int>(values.size())};
        }
    }
    return std::nullopt;
}

}  // namespace tulmera::domain
