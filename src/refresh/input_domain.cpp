#include "refresh/input_domain.h"

#include <array>
#include <cmath>
#include <limits>

namespace tulmera::refresh {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

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

// Below N = 1 the plate model's pile of layers meets a division by zero for strongly absorbing
// leaves; far above 100 the layer count overflows. The canopy limits are those at which the
// model's arccos and exponentials stay defined for every leaf angle distribution and soil.
InputRange AcceptedRange(Input input)
{
    switch (input) {
    case Input::N: return {1.0, 100.0};
    case Input::Cab: return {0.0, kInfinity, false, true};
    case Input::Cw: return {0.0, kInfinity, false, true};
    case Input::Cm: return {0.0, kInfinity, false, true};
    case Input::Lai: return {0.0, 100.0, true, false};
    case Input::SunZenith: return {0.0, 90.0};
    case Input::ViewAngle: return {-90.0, 90.0};
    case Input::RelAzimuth: return {0.0, 360.0};
    case Input::HotSpot: return {0.0, kInfinity, false, true};
    }
    return {0.0, 0.0};
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

}  // namespace tulmera::refresh
