#pragma once
#include <span>

#include "canopy/canopy_run.h"
#include "canopy/sailh.h"
#include "spectral/grid.h"

// The canopy's radiation budget from the quantities the SAILH model computes anyway: the
// albedos for direct and diffuse light, the shares the canopy absorbs, and the broadband
// scalars fAPAR, fCover and albedo. All fractions 0 .. 1 (the soil reflectance enters in
// percent, as everywhere in the canopy model). Computing them changes nothing of the canopy
// run: its reflectance and "VS.dat" stay as they are.
namespace tulmera::canopy {

// The fluxes at one wavelength of a layer `o` over a soil of reflectance `soilReflPct`
// (percent), rs = soilReflPct·0.01, dn = 1 - rs·rdd, with w the sky mix's weight of the
// diffuse light (SkyMixWeight: S classic, s physical):
//   rsdt = rsd + (tsd + tss)·rs·tdd/dn                  (directional-hemispherical albedo)
//   rddt = rdd + tdd·rs·tdd/dn                          (bi-hemispherical albedo)
//   As = 1 - rsdt - (1 - rs)·(tss + tsd)/dn             (absorbed, direct light)
//   Ad = 1 - rddt - (1 - rs)·tdd/dn                     (absorbed, diffuse light)
//   absorptance = (As + w·Ad)/(1 + w), albedo = (rsdt + w·rddt)/(1 + w),
// each in that order of operations. The soil receives (tss + tsd)/dn of the direct light and
// tdd/dn of the diffuse light falling on the canopy, and absorbs 1 - rs of it, so that
// As + (1 - rs)·(tss + tsd)/dn + rsdt = 1 and Ad + (1 - rs)·tdd/dn + rddt = 1.
struct CanopyPointFluxes {
    double rsdt;         // black-sky albedo: direct light reflected into the hemisphere
    double rddt;         // white-sky albedo: diffuse light reflected into the hemisphere
    double As;           // share of the direct light the canopy absorbs
    double Ad;           // share of the diffuse light the canopy absorbs
    double absorptance;  // As and Ad mixed with the sky's weight
    double albedo;       // rsdt and rddt mixed with the sky's weight
};
CanopyPointFluxes CanopyFluxesAt(const CanopyOptics& o, double soilReflPct, double w);

// The grid ranges of the broadband scalars, both ends included, equal weights.
inline constexpr int kParFirstNm = 400, kParLastNm = 700;               // 61 grid points
inline constexpr int kNirFirstNm = 700, kNirLastNm = 1300;              // 121 grid points
inline constexpr int kShortwaveFirstNm = 400, kShortwaveLastNm = 2500;  // the whole grid

// The fluxes of a canopy over the grid and its broadband scalars.
struct CanopyFluxes {
    spectral::Spectrum rsot;  // bidirectional reflectance for direct sunlight
    spectral::Spectrum rdot;  // hemispherical-directional reflectance for diffuse light
    spectral::Spectrum rsdt;  // see CanopyPointFluxes
    spectral::Spectrum rddt;
    spectral::Spectrum As;
    spectral::Spectrum Ad;
    spectral::Spectrum absorptance;  // mixed with the sky's weight
    spectral::Spectrum albedo;       // mixed with the sky's weight
    double fAPAR;                    // mean absorptance over 400 .. 700 nm
    double fCover;           // 1 - the gap fraction at nadir (too for view 0, any run's view)
    double albedoPar;        // mean albedo over 400 .. 700 nm
    double albedoNir;        // mean albedo over 700 .. 1300 nm
    double albedoShortwave;  // mean albedo over 400 .. 2500 nm
};

// The mean of `values` over the grid points from `firstNm` to `lastNm` (grid wavelengths,
// both included): summed in grid order, divided by their count.
double GridMean(std::span<const double> values, int firstNm, int lastNm);

// The fluxes at every grid point, one point after the other: SailhCanopy, CanopyOverSoil and
// CanopyFluxesAt with the weight of `mix`; fCover = 1 - nadirGapFraction (the `too` of the
// same canopy seen from view 0). Throws tulmera::Error naming the first wavelength of a fault
// (see SailhCanopy) or of a flux that is not finite.
CanopyFluxes ComputeCanopyFluxes(const SailhGeometry& g, double nadirGapFraction,
                                 const spectral::Spectrum& leafReflPct,
                                 const spectral::Spectrum& leafTransPct,
                                 const spectral::Spectrum& soilReflPct,
                                 const spectral::Spectrum& skyRatioPct, SkyMix mix);

// The fluxes of the canopy a run computed (`state`, as ComputeCanopySpectrum returns it: its
// leaf spectra, soil, sky ratio, leaf angles and geometry), with the sky mix `mix` that run
// used. Throws tulmera::Error as the run does (for a state no run filled: LAI not above 0).
CanopyFluxes ComputeCanopyFluxes(const CanopyState& state, SkyMix mix);

// The canopy run in memory (ComputeCanopySpectrum) and its fluxes, for callers that show
// both; the state is the one ComputeCanopySpectrum returns.
struct CanopyWithFluxes {
    CanopyState state;
    CanopyFluxes fluxes;
};
CanopyWithFluxes ComputeCanopySpectrumAndFluxes(const CanopyInputs& inputs,
                                                const spectral::Spectrum& leafReflPct,
                                                const spectral::Spectrum& leafTransPct,
                                                const CanopyState& previous);

}  // namespace tulmera::canopy
