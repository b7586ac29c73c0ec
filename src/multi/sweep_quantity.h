#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sensor/band_tables.h"
#include "spectral/grid.h"

// The quantity the second chart of the canopy sweep draws against the swept value: a
// vegetation index, the band value of one band of a sensor, or the reflectance at one grid
// wavelength, each of the canopy reflectance as fractions; or one of the canopy's broadband
// fluxes (fAPAR, fCover, an albedo).
namespace tulmera::multi {

// The broadband fluxes of one canopy (canopy::CanopyFluxes' scalars), fractions 0 .. 1.
struct FluxScalars {
    double fAPAR = 0, fCover = 0, albedoPar = 0, albedoNir = 0, albedoShortwave = 0;
};

// The flux quantities' names, in FluxScalars' order: "fAPAR", "fCover", "albedo PAR",
// "albedo NIR", "albedo shortwave".
inline constexpr std::array<std::string_view, 5> kFluxQuantityNames = {
    "fAPAR", "fCover", "albedo PAR", "albedo NIR", "albedo shortwave"};

struct SweepQuantity {
    enum class Kind { Index, Band, Wavelength, Flux };
    Kind kind = Kind::Index;
    // Index: position in sensor::kIndices; Wavelength: grid; Flux: in kFluxQuantityNames
    std::size_t index = 0;
    const sensor::Sensor* sensor = nullptr;  // Band only
    std::size_t band = 0;                    // Band only: band position in table order
    std::string name;                        // "NDVI", "Landsat-TM band 3", "800 nm"
};

// The quantity of `text`: an index name as sensor::kIndices writes it ("NDVI"), "SENSOR band B"
// (a sensor name as band_tables.h writes it, B a band name as sensor::BandName writes it), a
// grid wavelength in nm ("800", 400 .. 2500 by 5), or a flux name of kFluxQuantityNames (only
// when `withFluxes`: the callers that have the fluxes). Nothing when `text` is none of these.
std::optional<SweepQuantity> ParseSweepQuantity(std::string_view text, bool withFluxes = false);

// The quantity of the canopy reflectance `canopyReflPct` (percent), or of `fluxes` for a flux
// quantity; undefined as the index or band value is undefined, or for a flux quantity without
// fluxes (a canopy whose fluxes could not be computed).
std::optional<double> QuantityValue(const SweepQuantity& quantity,
                                    const spectral::Spectrum& canopyReflPct,
                                    const std::optional<FluxScalars>& fluxes = std::nullopt);

// QuantityValue for every spectrum, in order; `fluxes`, when not empty, as long as
// `canopyReflPct` (its element i for spectrum i).
std::vector<std::optional<double>> QuantityValues(
    const SweepQuantity& quantity, const std::vector<spectral::Spectrum>& canopyReflPct,
    const std::vector<std::optional<FluxScalars>>& fluxes = {});

// Every quantity a chooser offers: the indices in table order, 800 nm and 670 nm, the fluxes
// when `withFluxes`, then each band of each sensor in table order, as ParseSweepQuantity reads
// them.
std::vector<std::string> SweepQuantityNames(bool withFluxes = false);

}  // namespace tulmera::multi
