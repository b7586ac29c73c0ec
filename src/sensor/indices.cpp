#include "sensor/indices.h"

#include <cmath>
#include <limits>

#include "sensor/band_values.h"

namespace tulmera::sensor {
namespace {

// ρ at a grid wavelength.
class Reflectance {
public:
    explicit Reflectance(const spectral::Spectrum& rho) : rho_(rho) {}
    double operator()(int wavelengthNm) const
    {
        const int index =
            (wavelengthNm - spectral::kFirstWavelengthNm) / spectral::kWavelengthStepNm;
        return rho_[static_cast<std::size_t>(index)];
    }

private:
    const spectral::Spectrum& rho_;
};

std::optional<double> Finite(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

// numerator / denominator, undefined for a zero denominator or a result that is not finite.
std::optional<double> Ratio(double numerator, double denominator)
{
    if (denominator == 0) return std::nullopt;
    return Finite(numerator / denominator);
}

}  // namespace

IndexValues ComputeIndices(const spectral::Spectrum& rhoSpectrum)
{
    const Reflectance rho(rhoSpectrum);
    const double r470 = rho(470), r530 = rho(530), r550 = rho(550), r570 = rho(570);
    const double r670 = rho(670), r680 = rho(680), r700 = rho(700), r710 = rho(710);
    const double r720 = rho(720), r740 = rho(740), r755 = rho(755), r780 = rho(780);
    const double r790 = rho(790), r800 = rho(800), r820 = rho(820), r860 = rho(860);
    const double r1240 = rho(1240), r1600 = rho(1600), r1650 = rho(1650);

    IndexValues v;
    v[0] = Ratio(r800 - r670, r800 + r670);                               // NDVI
    v[1] = Ratio(2.5 * (r800 - r670), r800 + 6 * r670 - 7.5 * r470 + 1);  // EVI
    v[2] = Ratio(1.5 * (r800 - r670), r800 + r670 + 0.5);                 // SAVI
    const double twoNirPlusOne = 2 * r800 + 1;  // MSAVI: a negative root gives NaN, undefined
    const double msaviRoot = std::sqrt(twoNirPlusOne * twoNirPlusOne - 8 * (r800 - r670));
    v[3] = Finite((twoNirPlusOne - msaviRoot) / 2);  // MSAVI
    const std::optional<double> osavi = Ratio(1.16 * (r800 - r670), r800 + r670 + 0.16);
    v[4] = osavi;                            // OSAVI
    v[5] = Ratio(r790 - r720, r790 + r720);  // NDRE
    v[6] = Ratio(r755 - r710, r710 - r680);  // MTCI
    const std::optional<double> edgeShift = Ratio(40 * ((r670 + r780) / 2 - r700), r740 - r700);
    v[7] = edgeShift ? Finite(700 + *edgeShift) : std::nullopt;  // REIP, nm
    const std::optional<double> nirOverEdge = Ratio(r800, r720);
    v[8] = nirOverEdge ? Finite(*nirOverEdge - 1) : std::nullopt;  // CIre
    const std::optional<double> nirOverGreen = Ratio(r800, r550);
    v[9] = nirOverGreen ? Finite(*nirOverGreen - 1) : std::nullopt;     // CIgreen
    v[10] = Ratio(r860 - r1240, r860 + r1240);                          // NDWI
    v[11] = Ratio(r820 - r1650, r820 + r1650);                          // NDII
    v[12] = Ratio(r1600, r820);                                         // MSI
    v[13] = Ratio(r530 - r570, r530 + r570);                            // PRI
    v[14] = Ratio(((r700 - r670) - 0.2 * (r700 - r550)) * r700, r670);  // MCARI
    const std::optional<double> greenTerm = Ratio(0.2 * (r700 - r550) * r700, r670);
    const std::optional<double> tcari =
        greenTerm ? Finite(3 * ((r700 - r670) - *greenTerm)) : std::nullopt;
    v[15] = tcari && osavi ? Ratio(*tcari, *osavi) : std::nullopt;  // TCARI/OSAVI
    const std::optional<double> inverseGreen = Ratio(1, r550);
    const std::optional<double> inverseEdge = Ratio(1, r700);
    // ARI
    v[16] = inverseGreen && inverseEdge ? Finite(*inverseGreen - *inverseEdge) : std::nullopt;
    return v;
}

spectral::Spectrum BandSampled(const spectral::Spectrum& rho, const Sensor& sensor)
{
    const std::vector<std::optional<double>> means = BandMeans(rho, sensor);
    spectral::Spectrum sampled;
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const std::optional<std::size_t> band = BandHolding(sensor, spectral::WavelengthNm(i));
        const std::optional<double> mean = band ? means[*band] : std::nullopt;
        sampled[static_cast<std::size_t>(i)] =
            mean ? *mean : std::numeric_limits<double>::quiet_NaN();
    }
    return sampled;
}

IndexValues ComputeBandIndices(const spectral::Spectrum& rho, const Sensor& sensor)
{
    return ComputeIndices(BandSampled(rho, sensor));
}

}  // namespace tulmera::sensor
