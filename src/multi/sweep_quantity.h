#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sensor/band_tables.h"
#include "spectral/grid.h"

// The quantity the second chart of the canopy sweep draws against the swept value: a
// vegetation index, the band value of one band of a sensor, or the reflectance at one grid
// wavelength, each of the canopy reflectance as fractions.
namespace tulmera::multi {

struct SweepQuantity {
    enum class Kind { Index, Band, Wavelength };
    Kind kind = Kind::Index;
    std::size_t index = 0;  // Index: position in sensor::kIndices; Wavelength: grid
    const sensor::Sensor* sensor = nullptr;  // Band only
    std::size_t band = 0;                    // Band only: band position in table order
    std::string name;                        // "NDVI", "Landsat-TM band 3", "800 nm"
};

// The quantity of `text`: an index name as sensor::kIndices writes it ("NDVI"), "SENSOR band B"
// (a sensor name as band_tables.h writes it, B a band name as sensor::BandName writes it), or a
// grid wavelength in nm ("800", 400 .. 2500 by 5). Nothing when `text` is none of these.
std::optional<SweepQuantity> ParseSweepQuantity(std::string_view text);

// The quantity of the canopy reflectance `canopyReflPct` (percent); undefined as the index or
// band value is undefined.
std::optional<double> QuantityValue(const SweepQuantity& quantity,
                                    const spectral::Spectrum& canopyReflPct);

// QuantityValue for every spectrum, in order.
std::vector<std::optional<double>> QuantityValues(
    const SweepQuantity& quantity, const std::vector<spectral::Spectrum>& canopyReflPct);

// Every quantity a chooser offers: the indices in table order, 800 nm and 670 nm, then each
// band of each sensor in table order, as ParseSweepQuantity reads them.
std::vector<std::string> SweepQuantityNames();

}  // namespace tulmera::multi
