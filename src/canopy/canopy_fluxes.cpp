#include "canopy/canopy_fluxes.h"

#include <cmath>
#include <string>

#include "textio/error.h"

namespace tulmera::canopy {

CanopyPointFluxes CanopyFluxesAt(const CanopyOptics& o, double soilReflPct, double w)
{
    const double rs = soilReflPct * 0.01;
    const double dn = 1.0 - rs * o.rdd;
    const double rsdt = o.rsd + (o.tsd + o.tss) * rs * o.tdd / dn;
    const double rddt = o.rdd + o.tdd * rs * o.tdd / dn;
    const double As = 1.0 - rsdt - (1.0 - rs) * (o.tss + o.tsd) / dn;
    const double Ad = 1.0 - rddt - (1.0 - rs) * o.tdd / dn;
    const double absorptance = (As + w * Ad) / (1.0 + w);
    const double albedo = (rsdt + w * rddt) / (1.0 + w);
    return {rsdt, rddt, As, Ad, absorptance, albedo};
}

double GridMean(std::span<const double> values, int firstNm, int lastNm)
{
    const int first = (firstNm - spectral::kFirstWavelengthNm) / spectral::kWavelengthStepNm;
    const int last = (lastNm - spectral::kFirstWavelengthNm) / spectral::kWavelengthStepNm;
    double sum = 0.0;
    for (int i = first; i <= last; ++i) sum += values[static_cast<std::size_t>(i)];
    return sum / static_cast<double>(last - first + 1);
}

CanopyFluxes ComputeCanopyFluxes(const SailhGeometry& g, double nadirGapFraction,
                                 const spectral::Spectrum& leafReflPct,
                                 const spectral::Spectrum& leafTransPct,
                                 const spectral::Spectrum& soilReflPct,
                                 const spectral::Spectrum& skyRatioPct, SkyMix mix)
{
    CanopyFluxes f{};
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int wavelengthNm = spectral::WavelengthNm(i);
        const CanopyOptics o = SailhCanopy(g, leafReflPct[at], leafTransPct[at], wavelengthNm);
        const SoilCoupledReflectance r = CanopyOverSoil(o, soilReflPct[at]);
        const CanopyPointFluxes p =
            CanopyFluxesAt(o, soilReflPct[at], SkyMixWeight(mix, skyRatioPct[at]));
        for (const double value :
             {r.rsot, r.rdot, p.rsdt, p.rddt, p.As, p.Ad, p.absorptance, p.albedo}) {
            if (!std::isfinite(value)) {
                throw Error("Canopy fluxes at " + std::to_string(wavelengthNm)
                            + " nm: an albedo or absorptance is not finite.");
            }
        }
        f.rsot[at] = r.rsot;
        f.rdot[at] = r.rdot;
        f.rsdt[at] = p.rsdt;
        f.rddt[at] = p.rddt;
        f.As[at] = p.As;
        f.Ad[at] = p.Ad;
        f.absorptance[at] = p.absorptance;
        f.albedo[at] = p.albedo;
    }
    f.fAPAR = GridMean(f.absorptance, kParFirstNm, kParLastNm);
    f.fCover = 1.0 - nadirGapFraction;
    f.albedoPar = GridMean(f.albedo, kParFirstNm, kParLastNm);
    f.albedoNir = GridMean(f.albedo, kNirFirstNm, kNirLastNm);
    f.albedoShortwave = GridMean(f.albedo, kShortwaveFirstNm, kShortwaveLastNm);
    return f;
}

CanopyFluxes ComputeCanopyFluxes(const CanopyState& state, SkyMix mix)
{
    const SailhInputs run{state.lai,        state.sunZenith, state.viewZenith,
                          state.relAzimuth, state.hotSpot,   state.lidf};
    SailhInputs nadir = run;
    nadir.viewZenith = 0.0;
    const double nadirGapFraction = PrepareSailh(nadir).too;
    return ComputeCanopyFluxes(PrepareSailh(run), nadirGapFraction, state.leafReflPct,
                               state.leafTransPct, state.soilRefl, state.skyRatioPct, mix);
}

CanopyWithFluxes ComputeCanopySpectrumAndFluxes(const CanopyInputs& inputs,
                                                const spectral::Spectrum& leafReflPct,
                                                const spectral::Spectrum& leafTransPct,
                                                const CanopyState& previous)
{
    CanopyWithFluxes result;
    result.state = ComputeCanopySpectrum(inputs, leafReflPct, leafTransPct, previous);
    result.fluxes = ComputeCanopyFluxes(result.state, inputs.skyMix);
    return result;
}

}  // namespace tulmera::canopy
