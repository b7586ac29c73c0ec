#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"

// The values of each input that the leaf and canopy models accept, checked before a run
// writes anything, so that a refused value is named as the user typed it instead of being
// met deep inside the model at some wavelength.
namespace tulmera::domain {

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

// "0 to 90", "0 (excluded) to 10": the range as messages show it, in English.
std::string RangeText(const InputRange& range);

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

// A value of a sweep outside its range: which one (from 1) of how many.
struct SweepDomainProblem {
    DomainProblem problem;
    int valueNumber;
    int valueCount;
};

// The first of the leaf parameters of a sweep that the leaf model refuses: the held ones
// (`fixed`, with each swept value put in for `swept`, one of N, Cab, Cw, Cm), value by value in
// order, all of them before the sweep's first step; nothing when every step would be accepted.
std::optional<SweepDomainProblem> CheckSweepDomain(const leaf::LeafParameters& fixed, Input swept,
                                                   const std::vector<double>& values);

}  // namespace tulmera::domain
