#pragma once
#include <optional>
#include <string_view>

#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"

// The values of each input that the leaf and canopy models accept, checked before a run
// writes anything, so that a refused value is named as the user typed it instead of being
// met deep inside the model at some wavelength.
namespace tulmera::refresh {

// The numeric inputs of a recomputation.
enum class Input { N, Cab, Cw, Cm, Lai, SunZenith, ViewAngle, RelAzimuth, HotSpot };

// An interval of accepted values: lowest .. highest, each end included unless marked open.
// An unbounded end is ±infinity (never included).
struct InputRange {
    double lowest;
    double highest;
    bool lowestOpen = false;
    bool highestOpen = false;

    bool Contains(double value) const;
};

// The accepted values of `input`.
InputRange AcceptedRange(Input input);

// The batch runner's option for `input` ("N", "Cab", "lai", "sun", ...), without dashes.
std::string_view OptionName(Input input);

// An input outside its accepted range (a value that is not finite is always outside).
struct DomainProblem {
    Input input;
    double value;
    InputRange range;
};

// The first leaf parameter, in the order N, Cab, Cw, Cm, that the leaf model refuses; nothing
// when it accepts them all.
std::optional<DomainProblem> CheckLeafDomain(const leaf::LeafParameters& leaf);

// The first canopy number, in the order LAI, sun, view, azimuth, hot spot, that the canopy
// model refuses; nothing when it accepts them all.
std::optional<DomainProblem> CheckCanopyDomain(const canopy::CanopyInputs& inputs);

}  // namespace tulmera::refresh
