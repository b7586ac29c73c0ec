#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "canopy/canopy_fluxes.h"
#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"

// What a look-up table holds: which parameters vary over which ranges, which are held, how
// the samples are drawn, and the canopy's fixed choices (leaf architecture, soil, sky).
namespace tulmera::lut {

// The nine numeric inputs of a leaf + canopy simulation, in the table's column order.
enum class Parameter { N, Cab, Cw, Cm, Lai, Sun, View, Azimuth, HotSpot };
inline constexpr int kParameterCount = 9;

// The column names, also the keys of `--range P=lo:hi`: "N", "Cab", "Cw", "Cm", "LAI", "sun",
// "view", "azimuth", "hotspot".
inline constexpr std::array<std::string_view, kParameterCount> kParameterNames = {
    "N", "Cab", "Cw", "Cm", "LAI", "sun", "view", "azimuth", "hotspot"};

// The parameter named `name` exactly (see kParameterNames), or nothing.
std::optional<Parameter> ParameterNamed(std::string_view name);

// One value of each parameter, in Parameter order.
using ParameterValues = std::array<double, kParameterCount>;

// A sampled interval lo .. hi; a held parameter has lo == hi and varies == false.
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

// The products of `fluxes` in kProductNames order.
ProductValues ProductsOf(const canopy::CanopyFluxes& fluxes);

// A table spec holding every parameter at `leaf` and `canopyInputs` (their architecture, soil
// visibility and sky mix too), with no samples yet.
TableSpec HeldSpec(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs);

// The first problem of a range, in English ("LAI range 0:8 reaches 0, outside the model's
// domain (LAI above 0 up to 100)."), or nothing when lo <= hi and both ends lie in the
// model's domain: the input domain of the main window, with the angles of sun and view also
// below 90° in magnitude (a sun or view on the horizon has no canopy reflectance to tabulate).
std::optional<std::string> RangeProblem(Parameter parameter, const ParameterRange& range);

// The leaf parameters and canopy inputs of one sample of `spec`.
leaf::LeafParameters LeafOf(const ParameterValues& values);
canopy::CanopyInputs CanopyOf(const TableSpec& spec, const ParameterValues& values);

// "N=1.5, Cab=40, ..." for messages.
std::string DescribeValues(const ParameterValues& values);

}  // namespace tulmera::lut
