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

// The numeric inputs of a recomputation: the classic leaf parameters, the canopy's, then the
// pigments and constituents that only PROSPECT-D and PROSPECT-PRO read (appended, so that the
// first nine keep their places in the tables indexed by them).
enum class Input {
    N,
    Cab,
    Cw,
    Cm,
    Lai,
    SunZenith,
    ViewAngle,
    RelAzimuth,
    HotSpot,
    Car,
    Anth,
    Cbrown,
    Prot,
    CBC
};

// Whether `input` is a leaf parameter (N, Cab, Cw, Cm, Car, Anth, Cbrown, Prot, CBC).
bool IsLeafInput(Input input);

// The leaf parameter `input` names, as a field of LeafParameters; nothing for a canopy input.
std::optional<double leaf::LeafParameters::*> LeafField(Input input);

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

// The batch runner's option for `input` ("N", "Cab", "lai", "sun", ..., "Car", "CBC"), without
// dashes; for a leaf parameter also its name in LeafParameters and in messages.
std::string_view OptionName(Input input);

// An input outside its accepted range (a value that is not finite is always outside), or a
// leaf parameter given a value other than 0 for a leaf model that does not read it
// (`notInModel`; `range` is then 0 to 0).
struct DomainProblem {
    Input input;
    double value;
    InputRange range;
    bool notInModel = false;
};

// The first problem of the leaf parameters for their model leaf.model: first a parameter the
// model does not read that is not 0 (in the record's order), then the first of the model's own
// outside its range, in the order N, Cab, Cw, Cm, Car, Anth, Cbrown, Prot, CBC; nothing when
// the model accepts them all.
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
// (`fixed`, with each swept value put in for `swept`, a leaf parameter), value by value in
// order, all of them before the sweep's first step; nothing when every step would be accepted.
std::optional<SweepDomainProblem> CheckSweepDomain(const leaf::LeafParameters& fixed, Input swept,
                                                   const std::vector<double>& values);

}  // namespace tulmera::domain
