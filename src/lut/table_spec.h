#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "canopy/canopy_fluxes.h"
#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"

// What a look-up table holds: which parameters vary over which ranges, which are held, how
// the samples are drawn, and the canopy's fixed choices (leaf architecture, soil, sky).
namespace tulmera::lut {

// The numeric inputs of a leaf + canopy simulation: the classic leaf model's four and the
// canopy's five (a classic table's columns, in this order), then the leaf parameters only
// PROSPECT-D and PROSPECT-PRO read, in domain::Input order.
enum class Parameter {
    N,
    Cab,
    Cw,
    Cm,
    Lai,
    Sun,
    View,
    Azimuth,
    HotSpot,
    Car,
    Anth,
    Cbrown,
    Prot,
    CBC
};
inline constexpr int kParameterCount = 14;
// A classic table's columns: the first nine parameters.
inline constexpr int kClassicColumnCount = 9;

// The parameter names, also the column names and the keys of `--range P=lo:hi`: "N", "Cab",
// "Cw", "Cm", "LAI", "sun", "view", "azimuth", "hotspot", "Car", "Anth", "Cbrown", "Prot", "CBC".
inline constexpr std::array<std::string_view, kParameterCount> kParameterNames = {
    "N",       "Cab",     "Cw",  "Cm",   "LAI",    "sun",  "view",
    "azimuth", "hotspot", "Car", "Anth", "Cbrown", "Prot", "CBC"};

// The columns of a table of the leaf model `model`: the model's leaf parameters in
// leaf::ModelParameters order, then LAI, sun, view, azimuth and hotspot. For the classic model
// the first kClassicColumnCount parameters in Parameter order, as tables always had them; for
// PROSPECT-D N, Cab, Car, Anth, Cbrown, Cw, Cm, ...; for PROSPECT-PRO N, Cab, Car, Anth, Cbrown,
// Cw, Prot, CBC, ... (no Cm).
std::span<const Parameter> TableColumns(leaf::LeafModel model);

// Whether a table of `model` has the column `parameter` (every canopy parameter, and the leaf
// parameters the model reads).
bool HasColumn(leaf::LeafModel model, Parameter parameter);

// The parameter named `name` exactly (see kParameterNames), or nothing.
std::optional<Parameter> ParameterNamed(std::string_view name);

// One value of each parameter, in Parameter order.
using ParameterValues = std::array<double, kParameterCount>;

// A sampled interval lo .. hi; a held parameter has lo == hi and varies == false. A parameter
// the table's leaf model does not read is held at 0.
struct ParameterRange {
    double lo = 0;
    double hi = 0;
    bool varies = false;

    bool operator==(const ParameterRange&) const = default;
};

enum class Sampling { LatinHypercube, Uniform };

// "lhs" or "uniform".
std::string_view SamplingName(Sampling sampling);

struct TableSpec {
    std::uint64_t samples = 0;  // rows of the whole table, at least 1
    std::uint64_t seed = 0;
    Sampling sampling = Sampling::LatinHypercube;
    std::array<ParameterRange, kParameterCount> ranges{};
    std::string leafArchitecture;  // one of canopy::kLeafArchitectureNames
    std::string soil;              // one of spectral::kSoilKeys
    canopy::Visibility visibility = canopy::Visibility::Km15;
    canopy::SkyMix skyMix = canopy::SkyMix::Classic;  // recorded only when physical
    // The leaf model of every row; recorded only when it is not the classic one, whose tables
    // keep the bytes they always had.
    leaf::LeafModel leafModel = leaf::LeafModel::Classic;
    // Whether each row also holds the canopy's broadband products (kProductNames); tables
    // without them keep the bytes they always had.
    bool products = false;

    bool operator==(const TableSpec&) const = default;
};

// The broadband products a table row may hold beside its reflectance, in their column order:
// canopy::CanopyFluxes' fAPAR, fCover, albedoPar, albedoNir and albedoShortwave.
inline constexpr int kProductCount = 5;
inline constexpr std::array<std::string_view, kProductCount> kProductNames = {
    "fAPAR", "fCover", "albedo_PAR", "albedo_NIR", "albedo_shortwave"};
using ProductValues = std::array<double, kProductCount>;

// The products of `f` (a canopy::CanopyFluxes or an engine::FluxScalars) in kProductNames
// order.
template <typename Fluxes>
ProductValues ProductsOf(const Fluxes& f)
{
    return {f.fAPAR, f.fCover, f.albedoPar, f.albedoNir, f.albedoShortwave};
}

// A table spec of leaf.model holding every parameter at `leaf` and `canopyInputs` (their
// architecture, soil, visibility and sky mix too), with no samples yet.
TableSpec HeldSpec(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs);

// The first problem of a range, in English ("LAI range 0:8 reaches 0, outside the model's
// domain (LAI above 0 up to 100)."), or nothing when lo <= hi and both ends lie in the
// model's domain: the input domain of the main window, with the angles of sun and view also
// below 90° in magnitude (a sun or view on the horizon has no canopy reflectance to tabulate).
std::optional<std::string> RangeProblem(Parameter parameter, const ParameterRange& range);

// The leaf parameters of one sample for the leaf model `model` (the parameters it does not read
// are 0), and the canopy inputs of one sample of `spec`.
leaf::LeafParameters LeafOf(leaf::LeafModel model, const ParameterValues& values);
canopy::CanopyInputs CanopyOf(const TableSpec& spec, const ParameterValues& values);

// "N=1.5, Cab=40, ..." for messages: the values of the columns of a table of `model`.
std::string DescribeValues(leaf::LeafModel model, const ParameterValues& values);

}  // namespace tulmera::lut
