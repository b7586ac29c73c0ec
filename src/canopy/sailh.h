#pragma once
#include "canopy/sailh_geometry.h"
#include "canopy/sky_ratio.h"
#include "spectral/grid.h"

// The SAILH canopy model: the four-stream SAIL equations of a horizontally homogeneous leaf
// layer (Verhoef 1984, "Light scattering by leaf layers with application to canopy reflectance
// modeling: the SAIL model", Remote Sensing of Environment 16: 125-141) with a hot-spot
// correction of the single-scattering term (SAILH). All reflectances and transmittances are
// fractions 0 .. 1; angles enter in degrees.
//
// The wavelength-independent steps (geometry, leaf-angle sums, extinctions, hot spot) are in
// sailh_geometry.h; the steps below take one wavelength each, in the model's order, and
// evaluate their formulas in the published order of operations (squares as products, operands
// and parentheses as written): a second implementation that agrees with them to the last bit
// agrees with the written files. L = g.lai, π = g.pi.
namespace tulmera::canopy {

// Leaf optics at one wavelength from the leaf's reflectance and transmittance in percent:
// A = (R + T) × 0.005, B = (R - T) × 0.005, ρ = R × 0.01.
struct SailhLeaf {
    double A;    // mean of reflectance and transmittance, fraction
    double B;    // half their difference, fraction
    double rho;  // reflectance, fraction
};
SailhLeaf SailhLeafOptics(double leafReflPct, double leafTransPct);

// The layer coefficients at one wavelength, already multiplied by L:
//   d = Sc·B·L·0.01, a = L·(1 - A) + d (attenuation), σ = L·A + d (backscatter),
//   sp = kL·A + d, sm = kL·A - d (sun), vp = KL·A + d, vm = KL·A - d (view),
//   wL = (L·0.01)·(ρ·S1 + 2·A·S2/π) (bidirectional scattering).
struct SailhCoefficients {
    double d, a, sigma;
    double sp, sm, vp, vm;
    double wL;
};
SailhCoefficients SailhLayerCoefficients(const SailhGeometry& g, const SailhLeaf& leaf);

// The layer solution at one wavelength:
//   m = √(a² - σ²), h1 = (a + m)/σ, h2 = 1/h1, e1 = exp(m), e2 = 1/e1,
//   Ds = kL² - m², Do = KL² - m²,
//   cs = (sp·(kL - a) - sm·σ)/Ds, cs2 = (-sm·(kL + a) - sp·σ)/Ds,
//   co = (vp·(KL - a) - vm·σ)/Do, co2 = (-vm·(KL + a) - vp·σ)/Do.
// No guards: a² < σ² gives m = NaN, a zero divisor ±∞ or NaN (SailhCanopy reports them).
struct SailhSolution {
    double m, h1, h2, e1, e2;
    double Ds, Do;
    double cs, cs2, co, co2;
};
SailhSolution SailhLayerSolution(const SailhGeometry& g, const SailhCoefficients& c);

// The optical properties of the layer alone (no soil) at one wavelength.
struct CanopyOptics {
    double tss;     // direct transmittance in the sun direction
    double too;     // direct transmittance in the view direction
    double tsstoo;  // joint gap probability in sun and view directions, with hot spot
    double rdd;     // bihemispherical reflectance for diffuse light
    double tdd;     // bihemispherical transmittance for diffuse light
    double rsd;     // directional-hemispherical reflectance for direct sunlight
    double tsd;     // directional-hemispherical transmittance for direct sunlight
    double rdo;     // hemispherical-directional reflectance (diffuse light into the view)
    double tdo;     // hemispherical-directional transmittance (diffuse light into the view)
    double rso;     // bidirectional reflectance: single scattering with hot spot + multiple
};

// Single scattering and the layer's reflectances and transmittances at one wavelength:
//   rsos = wL·I (I = g.hotSpotIntegral), dns = h1·e1 - h2·e2,
//   rdd = (e1 - e2)/dns, tdd = (h1 - h2)/dns,
//   rsd = cs·(1 - tss·tdd) - cs2·rdd, tsd = cs2·(tss - tdd) - cs·tss·rdd,
//   rdo = co·(1 - too·tdd) - co2·rdd, tdo = co2·(too - tdd) - co·too·rdd,
//   z = (sm·co + sp·co2)/(KL + kL), rsod = z·(1 - too·tss) - co·tsd·too - co2·rsd,
//   rso = rsos + rsod; tss, too and tsstoo are the geometry's. No guards.
CanopyOptics SailhLayerOptics(const SailhGeometry& g, const SailhCoefficients& c,
                              const SailhSolution& s);

// The layer at one wavelength from the leaf reflectance and transmittance in percent: the
// four steps above in turn. Throws tulmera::Error naming `wavelengthNm` (used only in
// messages) when a value of the layer is not finite, saying why: a² - σ² is negative, or the
// first divisor that is exactly zero (σ, h1, Ds, Do, dns, KL + kL), or else an overflow.
CanopyOptics SailhCanopy(const SailhGeometry& g, double leafReflPct, double leafTransPct,
                         int wavelengthNm);

// The layer placed over a soil of reflectance `soilReflPct` (percent), rs = soilReflPct·0.01,
// dn = 1 - rs·rdd:
//   rsot = rso + rs·(tsstoo + ((tsd + tss)·tdo + too·(tsd + tss·rs·rdd))/dn),
//   rdot = rdo + tdd·rs·(too + tdo)/dn.
struct SoilCoupledReflectance {
    double rsot;  // bidirectional reflectance of layer and soil for direct sunlight
    double rdot;  // hemispherical-directional reflectance of layer and soil for diffuse light
};
SoilCoupledReflectance CanopyOverSoil(const CanopyOptics& o, double soilReflPct);

// The weight of the diffuse part in the sky mix at one wavelength, from the stored sky ratio
// skyRatioPct (the ratio times 100): classic S = skyRatioPct as stored; physical
// s = skyRatioPct / 100, the ratio itself.
double SkyMixWeight(SkyMix mix, double skyRatioPct);

// The kept canopy reflectance in percent, direct and diffuse cases mixed with the weight
// w = SkyMixWeight: 100·(rdot·w + rsot)/(w + 1), in that order of operations.
double MixedReflectancePct(const SoilCoupledReflectance& r, double w);

// The classic kept canopy reflectance in percent: MixedReflectancePct with w = skyRatioPct.
double SkyMixPct(const SoilCoupledReflectance& r, double skyRatioPct);

// The kept canopy reflectance in percent at every grid point, one point after the other:
// SailhCanopy, CanopyOverSoil and MixedReflectancePct with the weight of `mix`. Throws
// tulmera::Error naming the first wavelength of a fault (see SailhCanopy) or of a result that
// is not finite.
spectral::Spectrum CanopyReflectancePct(const SailhGeometry& g,
                                        const spectral::Spectrum& leafReflPct,
                                        const spectral::Spectrum& leafTransPct,
                                        const spectral::Spectrum& soilReflPct,
                                        const spectral::Spectrum& skyRatioPct,
                                        SkyMix mix = SkyMix::Classic);

}  // namespace tulmera::canopy
