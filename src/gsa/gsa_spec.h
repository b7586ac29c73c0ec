#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "leaf/leaf_parameters.h"
#include "lut/table_spec.h"

// What a sensitivity analysis asks: which parameters vary over which ranges (the others held),
// how many base samples, which model outputs it explains and how its intervals are drawn.
namespace tulmera::gsa {

// The groups of model outputs an analysis can explain.
enum class QuantitySet {
    Spectrum,  // the canopy reflectance at every grid wavelength, "400" .. "2500"
    Indices,   // the narrow-band vegetation indices ("NDVI", ...)
    Fluxes,    // fAPAR, fCover and the albedos (PAR, NIR, shortwave)
    Bands,     // the band means of one sensor (its band names)
};

// The inputs an analysis may hold or vary, in domain::Input order: the nine of a look-up
// table (lut::Parameter order), then the leaf parameters only PROSPECT-D and PROSPECT-PRO
// read. Their names key the settings, `--range` and the files.
inline constexpr std::size_t kInputCount = 14;
inline constexpr std::size_t kTableInputCount = lut::kClassicColumnCount;
inline constexpr std::array<std::string_view, kInputCount> kInputNames = {
    "N",       "Cab",     "Cw",  "Cm",   "LAI",    "sun",  "view",
    "azimuth", "hotspot", "Car", "Anth", "Cbrown", "Prot", "CBC"};

// The input named `name` exactly, or nothing.
std::optional<std::size_t> InputNamed(std::string_view name);

struct GsaSpec {
    // The held and varied inputs of the table's nine (varies == true, lo < hi), with the leaf
    // architecture, soil and sky of every simulation. Its samples, seed and sampling are unused.
    lut::TableSpec model;
    leaf::LeafModel leafModel = leaf::LeafModel::Classic;
    // Car, Anth, Cbrown, Prot and CBC, held or varied as model.ranges; an input the leaf
    // model does not read is held at 0 (so is Cm for PROSPECT-PRO).
    std::array<lut::ParameterRange, kInputCount - kTableInputCount> leafModelRanges{};
    std::uint64_t samples = 0;  // N, the base sample size: a power of two, at least 2
    std::uint64_t seed = 0;     // of the bootstrap resamples (the Sobol design has none)
    int bootstrap = 200;        // resamples for the 95 % intervals, at least 1
    std::vector<QuantitySet> quantities = {QuantitySet::Spectrum};  // distinct, in output order
    std::string sensor;  // a name of sensor::kSensors when quantities holds Bands

    bool operator==(const GsaSpec&) const = default;
};

// Every input held at `leaf` (its model too) and `canopyInputs` (with their architecture,
// soil, visibility and sky mix); no samples yet.
GsaSpec HeldAnalysis(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs);

// The range of input `input` (0 .. kInputCount - 1).
const lut::ParameterRange& InputRange(const GsaSpec& spec, std::size_t input);
lut::ParameterRange& InputRange(GsaSpec& spec, std::size_t input);

// Whether `model` reads input `input`: every canopy input, and the leaf parameters of
// leaf::ModelParameters.
bool ModelReads(leaf::LeafModel model, std::size_t input);

// The ranges of the classroom lesson, set as varied (the rest stays held): LAI 0.5-6, Cab
// 10-80 µg/cm², Cw 0.002-0.04 cm, N 1-2.5 and the dry matter 0.002-0.02 g/cm², which
// PROSPECT-PRO reads as its carbon-based constituents (CBC) in place of Cm.
void SetLessonRanges(GsaSpec& spec);

// The varied inputs of `spec`, in input order: k of them, and their names.
std::vector<std::size_t> VariedParameters(const GsaSpec& spec);
std::vector<std::string> VariedNames(const GsaSpec& spec);

// The first problem of the range of `input` (lut::RangeProblem's words, and a varied range
// must have lo < hi), or nothing; an input the leaf model does not read has none.
std::optional<std::string> InputRangeProblem(const GsaSpec& spec, std::size_t input);

// The simulations of an analysis with k varied parameters and N base samples: N·(k + 2).
std::uint64_t SimulationCount(const GsaSpec& spec);

// "spectrum", "indices", "fluxes"; for Bands the sensor's name.
std::string QuantitySetName(QuantitySet set, const std::string& sensor);

}  // namespace tulmera::gsa
