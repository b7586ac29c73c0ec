#pragma once
#include <array>
#include <optional>
#include <string_view>

#include "sensor/band_tables.h"
#include "spectral/grid.h"

// Narrow-band vegetation indices of a canopy reflectance spectrum, each from a few grid
// wavelengths.
namespace tulmera::sensor {

inline constexpr int kIndexCount = 17;

struct IndexInfo {
    std::string_view name;     // "NDVI", "TCARI/OSAVI", ...
    std::string_view formula;  // with the wavelengths it reads, ρ in fractions
    std::string_view shows;    // what it is sensitive to, one short English sentence
};

// clang-format off
inline constexpr std::array<IndexInfo, kIndexCount> kIndices = {{
    {"NDVI", "(ρ800−ρ670)/(ρ800+ρ670)", "green biomass and cover; saturates at high LAI"},
    {"EVI", "2.5(ρ800−ρ670)/(ρ800+6ρ670−7.5ρ470+1)", "green biomass, less saturated than NDVI"},
    {"SAVI", "1.5(ρ800−ρ670)/(ρ800+ρ670+0.5)", "cover with the soil background damped"},
    {"MSAVI", "(2ρ800+1−√((2ρ800+1)²−8(ρ800−ρ670)))/2", "cover with a self-adjusting soil term"},
    {"OSAVI", "1.16(ρ800−ρ670)/(ρ800+ρ670+0.16)", "cover, soil-adjusted for sparse canopies"},
    {"NDRE", "(ρ790−ρ720)/(ρ790+ρ720)", "chlorophyll of dense canopies, from the red edge"},
    {"MTCI", "(ρ755−ρ710)/(ρ710−ρ680)", "canopy chlorophyll content"},
    {"REIP", "700+40((ρ670+ρ780)/2−ρ700)/(ρ740−ρ700) nm", "red-edge position; moves to longer wavelengths with chlorophyll"},
    {"CIre", "ρ800/ρ720−1", "chlorophyll content, red-edge band"},
    {"CIgreen", "ρ800/ρ550−1", "chlorophyll content, green band"},
    {"NDWI", "(ρ860−ρ1240)/(ρ860+ρ1240)", "canopy water content"},
    {"NDII", "(ρ820−ρ1650)/(ρ820+ρ1650)", "canopy water content, shortwave infrared"},
    {"MSI", "ρ1600/ρ820", "water stress; rises as the leaves dry"},
    {"PRI", "(ρ530−ρ570)/(ρ530+ρ570)", "xanthophyll pigments, light-use efficiency"},
    {"MCARI", "((ρ700−ρ670)−0.2(ρ700−ρ550))·ρ700/ρ670", "chlorophyll absorption, mixed with LAI"},
    {"TCARI/OSAVI", "3((ρ700−ρ670)−0.2(ρ700−ρ550)ρ700/ρ670)/OSAVI", "chlorophyll content, little affected by LAI"},
    {"ARI", "1/ρ550−1/ρ700", "anthocyanin content"},
}};
// clang-format on

// The indices of kIndices, in its order; an index whose denominator is 0 or whose value is
// not finite is empty (undefined), never NaN or infinite.
using IndexValues = std::array<std::optional<double>, kIndexCount>;

// The indices of the reflectance `rho` (fractions 0 .. 1, e.g. the canopy reflectance in
// percent / 100). REIP is in nm, the others dimensionless.
IndexValues ComputeIndices(const spectral::Spectrum& rho);

// The same indices as `sensor` sees them: each ρλ of a formula is the band value (BandMean) of
// the first band (table order) holding λ, so an index reading a wavelength that no band of the
// sensor holds is undefined. The 5 nm indices stay ComputeIndices'.
IndexValues ComputeBandIndices(const spectral::Spectrum& rho, const Sensor& sensor);

// `rho` as `sensor` samples it: the value at each grid wavelength is the band value of the
// first band holding that wavelength, NaN where no band does (ComputeIndices then leaves every
// index reading it undefined). For ComputeBandIndices; never written anywhere.
spectral::Spectrum BandSampled(const spectral::Spectrum& rho, const Sensor& sensor);

}  // namespace tulmera::sensor
