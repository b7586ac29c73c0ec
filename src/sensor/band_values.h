#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sensor/band_tables.h"
#include "spectral/grid.h"

// What a sensor measures of a spectrum: the mean over each band.
namespace tulmera::sensor {

// The band value of `spectrum` (any unit; the result is in the same one): the arithmetic mean
// of its grid samples inside the band (a box-car response), summed in increasing wavelength.
// Undefined when the band holds no grid sample or the mean is not finite.
std::optional<double> BandMean(const spectral::Spectrum& spectrum, const Band& band);

// BandMean of every band of `sensor`, in table order.
std::vector<std::optional<double>> BandMeans(const spectral::Spectrum& spectrum,
                                             const Sensor& sensor);

// The name of band `index` (0-based, table order) of `sensor` in the sensor's own numbering:
// "B8A" (Sentinel-2), "7" (Landsat-TM's 2080-2350 nm band).
std::string BandName(const Sensor& sensor, std::size_t index);

// The sensor's broadband NDVI, (nir - red) / (nir + red), from the band values of `spectrum`:
// red is the first band (table order) holding 670 nm; nir the first holding 860 nm, else the
// band whose centre lies nearest 860 nm (the first of equals). Undefined when the sensor has
// no red band, a band value is undefined, the denominator is 0 or the result is not finite.
std::optional<double> BroadbandNdvi(const spectral::Spectrum& spectrum, const Sensor& sensor);

// The indexes (table order) of the red and NIR bands BroadbandNdvi uses; red is empty when no
// band holds 670 nm.
struct NdviBands {
    std::optional<std::size_t> red;
    std::size_t nir;
};
NdviBands NdviBandsOf(const Sensor& sensor);

// The part of the spectrum a band lies in, from its centre (lower + upper) / 2: deep blue
// below 450 nm, blue below 500, green below 600, red below 690, red edge below 790, NIR
// below 1300, SWIR from there on.
enum class BandRegion { DeepBlue, Blue, Green, Red, RedEdge, Nir, Swir };
BandRegion RegionOf(const Band& band);

// The region's English name: "deep blue", "blue", "green", "red", "red edge", "NIR", "SWIR".
std::string_view RegionName(BandRegion region);

// The first band (table order) of `sensor` holding `wavelengthNm` (limits included), if any.
std::optional<std::size_t> BandHolding(const Sensor& sensor, int wavelengthNm);

// A spectrum in percent as fractions: each value / 100 (the canopy reflectance as written to
// "VS.dat").
spectral::Spectrum FractionOfPercent(const spectral::Spectrum& percent);

}  // namespace tulmera::sensor
