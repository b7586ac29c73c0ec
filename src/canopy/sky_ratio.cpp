#include "canopy/sky_ratio.h"

#include <cmath>

namespace tulmera::canopy {
namespace {

// The three wavelength-independent coefficients of the ratio's quadratic in x(λ).
struct SkyCoefficients {
    double a, b, c;
};

SkyCoefficients Coefficients(double theta, double V)
{
    const double theta2 = theta * theta;
    const double theta3 = theta * theta * theta;
    const double a = ((0.0003514 * theta2 - 0.01412 * theta + 1.1379) * (0.01641 * V - 2.5823))
                         / (0.03938 * V + 0.04093)
                     + 9.061e-05 * theta2 + 0.0005452 * theta - 0.0717;
    const double b = ((0.0002153 * theta2 - 0.007015 * theta + 1.0428) * (0.05398 * V + 1.9824))
                         / (0.06569 * V + 0.1213)
                     + 4.612e-06 * theta3 - 0.0004266 * theta2 + 0.01349 * theta - 0.143;
    const double c = ((0.0005937 * theta2 - 0.0265 * theta + 1.30005) * (-0.002792 * V + 0.3844))
                         / (2.5084 * V - 3.3878)
                     + (0.007934 * theta2 - 0.2284 * theta + 0.8088) * 0.0001;
    return {a, b, c};
}

// The wavelength term x(λ) depends on nothing else, so it is computed once for the program's
// life instead of at every run: the same values, without 421 exponentials per run.
const spectral::Spectrum& WavelengthTerm()
{
    static const spectral::Spectrum table = [] {
        spectral::Spectrum x{};
        for (int i = 0; i < spectral::kWavelengthCount; ++i) {
            const double lambda = spectral::WavelengthNm(i);
            x[static_cast<std::size_t>(i)] =
                std::exp((-0.0076 * lambda + 1.457) / (0.0012 * lambda + 0.7657));
        }
        return x;
    }();
    return table;
}

}  // namespace

int VisibilityKm(Visibility v) { return v == Visibility::Km15 ? 15 : 50; }

std::string_view SkyMixName(SkyMix mix) { return mix == SkyMix::Physical ? "physical" : "classic"; }

std::optional<SkyMix> ParseSkyMix(std::string_view name)
{
    if (name == "classic") return SkyMix::Classic;
    if (name == "physical") return SkyMix::Physical;
    return std::nullopt;
}

spectral::Spectrum SkyRatio(double sunZenithDeg, Visibility v)
{
    const double V = VisibilityKm(v);
    // a, b and c do not depend on the wavelength: computed once, with the same values.
    const auto [a, b, c] = Coefficients(sunZenithDeg, V);
    const spectral::Spectrum& wavelengthTerm = WavelengthTerm();
    spectral::Spectrum skyRatioPct{};
    for (std::size_t i = 0; i < skyRatioPct.size(); ++i) {
        const double x = wavelengthTerm[i];
        const double ratio = a * (x * x) + b * x + c;
        skyRatioPct[i] = 100.0 * ratio;
    }
    return skyRatioPct;
}

}  // namespace tulmera::canopy
