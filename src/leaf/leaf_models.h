#pragma once
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "leaf/leaf_parameters.h"
#include "leaf/prospect.h"

// The three leaf models as functions of one parameter record (LeafParameters, whose `model`
// names the model): their names, their parameters and what sets them apart at a grid point.
namespace tulmera::leaf {

inline constexpr std::array<LeafModel, 3> kLeafModels = {LeafModel::Classic, LeafModel::ProspectD,
                                                         LeafModel::ProspectPro};

// The name of a model as options, settings and tables write it: "classic", "prospect-d",
// "prospect-pro".
std::string_view LeafModelName(LeafModel model);

// The model a name names, exactly as LeafModelName writes it (case and every character);
// nothing for any other text.
std::optional<LeafModel> ParseLeafModel(std::string_view name);

// One field of LeafParameters by the name messages and options give it ("N", "Cab", "Car",
// "Anth", "Cbrown", "Cw", "Cm", "Prot", "CBC").
struct LeafParameterField {
    std::string_view name;
    double LeafParameters::*value;
};

// Every numeric field of LeafParameters, in the record's order.
inline constexpr std::array<LeafParameterField, 9> kLeafParameterFields = {{
    {"N", &LeafParameters::N},
    {"Cab", &LeafParameters::Cab},
    {"Cw", &LeafParameters::Cw},
    {"Cm", &LeafParameters::Cm},
    {"Car", &LeafParameters::Car},
    {"Anth", &LeafParameters::Anth},
    {"Cbrown", &LeafParameters::Cbrown},
    {"Prot", &LeafParameters::Prot},
    {"CBC", &LeafParameters::CBC},
}};

// The parameters a model reads, in the order its absorption sums them (N first): classic N,
// Cab, Cw, Cm; PROSPECT-D N, Cab, Car, Anth, Cbrown, Cw, Cm; PROSPECT-PRO N, Cab, Car, Anth,
// Cbrown, Cw, Prot, CBC. Every other field must be 0 for that model (CheckLeafParameters).
std::span<const LeafParameterField> ModelParameters(LeafModel model);

// Whether `model` reads the field called `name` (a name of kLeafParameterFields).
bool ModelHasParameter(LeafModel model, std::string_view name);

// A model's start values: the main window's for the classic model (kStartLeafParameters); the
// same leaf for PROSPECT-D with carotenoids at about a quarter of the chlorophyll, as in a
// green leaf, and no anthocyanins or brown pigments; for PROSPECT-PRO the same, with the dry
// matter split into proteins (a tenth) and carbon-based constituents, and Cm 0.
LeafParameters StartLeafParameters(LeafModel model);

// The half-angle of the cone of light falling on the leaf, degrees, which sets t2 = Tav(θ, n)
// of the top surface: 60 for the classic model, 40 for PROSPECT-D and PROSPECT-PRO.
double TopConeDeg(LeafModel model);

// The refractive index n of the model's table at grid point `index` (0 .. 420): the classic
// leaf constants, or the PROSPECT-D/PRO table for the other two.
double ModelRefractiveIndex(LeafModel model, int index);

// Step 1 of the model p.model names at grid point `index`: LeafAbsorption,
// ProspectDAbsorption or ProspectProAbsorption with its own table. Needs N != 0.
double ModelAbsorption(const LeafParameters& p, int index);

// Step 3 of `model` at grid point `index`: InterfaceTransmissivities(ModelRefractiveIndex(model,
// index), TopConeDeg(model)), t1 = Tav(90, n) and t2 = Tav(TopConeDeg, n), computed once for
// the program's life.
const Transmissivities& ModelTransmissivities(LeafModel model, int index);

// The model p.model names at grid point `index`, steps 1 to 5, without checks: n from the
// model's table, k = ModelAbsorption(p, index), then ProspectLeaf(p.N, n, k,
// ModelTransmissivities(p.model, index)). What a leaf spectrum holds at that point when its
// checks pass (see ComputeLeafSpectrum).
LeafOptics ModelLeafOptics(const LeafParameters& p, int index);

}  // namespace tulmera::leaf
