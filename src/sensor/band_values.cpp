#include "sensor/band_values.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tulmera::sensor {
namespace {

// The grid indexes a band holds: first .. last, both inclusive; empty when last < first.
struct GridSpan {
    int first;
    int last;
};

// The grid samples with lowerNm <= wavelength <= upperNm, clipped to the grid.
constexpr GridSpan SamplesOf(const Band& band)
{
    const int step = spectral::kWavelengthStepNm;
    const int fromFirst = band.lowerNm - spectral::kFirstWavelengthNm;
    const int toLast = band.upperNm - spectral::kFirstWavelengthNm;
    // Ceiling of fromFirst / step and floor of toLast / step, for either sign.
    int first = fromFirst >= 0 ? (fromFirst + step - 1) / step : -((-fromFirst) / step);
    int last = toLast >= 0 ? toLast / step : -((-toLast + step - 1) / step);
    first = std::max(first, 0);
    last = std::min(last, spectral::kWavelengthCount - 1);
    return {first, last};
}

constexpr int kRedNm = 670;
constexpr int kNirNm = 860;

constexpr bool Holds(const Band& band, int wavelengthNm)
{
    return band.lowerNm <= wavelengthNm && wavelengthNm <= band.upperNm;
}

}  // namespace

std::optional<double> BandMean(const spectral::Spectrum& spectrum, const Band& band)
{
    const GridSpan span = SamplesOf(band);
    if (span.last < span.first) return std::nullopt;
    double sum = 0;
    for (int i = span.first; i <= span.last; ++i) sum += spectrum[static_cast<std::size_t>(i)];
    const double mean = sum / (span.last - span.first + 1);
    if (!std::isfinite(mean)) return std::nullopt;
    return mean;
}

std::vector<std::optional<double>> BandMeans(const spectral::Spectrum& spectrum,
                                             const Sensor& sensor)
{
    std::vector<std::optional<double>> means;
    means.reserve(sensor.bands.size());
    for (const Band& band : sensor.bands) means.push_back(BandMean(spectrum, band));
    return means;
}

std::string BandName(const Sensor& sensor, std::size_t index)
{
    return std::string(sensor.bandNames[index]);
}

NdviBands NdviBandsOf(const Sensor& sensor)
{
    NdviBands found{std::nullopt, 0};
    const auto& bands = sensor.bands;
    for (std::size_t i = 0; i < bands.size() && !found.red; ++i) {
        if (Holds(bands[i], kRedNm)) found.red = i;
    }
    // Twice the distance of the centre from 860 nm, in whole nanometres.
    const auto twiceDistance = [](const Band& band) {
        return std::abs(band.lowerNm + band.upperNm - 2 * kNirNm);
    };
    bool holding = false;
    for (std::size_t i = 0; i < bands.size() && !holding; ++i) {
        if (Holds(bands[i], kNirNm)) {
            found.nir = i;
            holding = true;
        } else if (twiceDistance(bands[i]) < twiceDistance(bands[found.nir])) {
            found.nir = i;
        }
    }
    return found;
}

std::optional<double> BroadbandNdvi(const spectral::Spectrum& spectrum, const Sensor& sensor)
{
    const NdviBands bands = NdviBandsOf(sensor);
    if (!bands.red) return std::nullopt;
    const std::optional<double> red = BandMean(spectrum, sensor.bands[*bands.red]);
    const std::optional<double> nir = BandMean(spectrum, sensor.bands[bands.nir]);
    if (!red || !nir) return std::nullopt;
    const double denominator = *nir + *red;
    if (denominator == 0) return std::nullopt;
    const double ndvi = (*nir - *red) / denominator;
    if (!std::isfinite(ndvi)) return std::nullopt;
    return ndvi;
}

BandRegion RegionOf(const Band& band)
{
    // Twice the centre, in whole nanometres, against twice each region's upper end.
    const int twiceCentre = band.lowerNm + band.upperNm;
    if (twiceCentre < 2 * 450) return BandRegion::DeepBlue;
    if (twiceCentre < 2 * 500) return BandRegion::Blue;
    if (twiceCentre < 2 * 600) return BandRegion::Green;
    if (twiceCentre < 2 * 690) return BandRegion::Red;
    if (twiceCentre < 2 * 790) return BandRegion::RedEdge;
    if (twiceCentre < 2 * 1300) return BandRegion::Nir;
    return BandRegion::Swir;
}

std::string_view RegionName(BandRegion region)
{
    switch (region) {
        case BandRegion::DeepBlue:
            return "deep blue";
        case BandRegion::Blue:
            return "blue";
        case BandRegion::Green:
            return "green";
        case BandRegion::Red:
            return "red";
        case BandRegion::RedEdge:
            return "red edge";
        case BandRegion::Nir:
            return "NIR";
        case BandRegion::Swir:
            return "SWIR";
    }
    return {};
}

std::optional<std::size_t> BandHolding(const Sensor& sensor, int wavelengthNm)
{
    for (std::size_t i = 0; i < sensor.bands.size(); ++i) {
        if (Holds(sensor.bands[i], wavelengthNm)) return i;
    }
    return std::nullopt;
}

spectral::Spectrum FractionOfPercent(const spectral::Spectrum& percent)
{
    spectral::Spectrum fraction;
    for (std::size_t i = 0; i < percent.size(); ++i) fraction[i] = percent[i] / 100;
    return fraction;
}

}  // namespace tulmera::sensor
