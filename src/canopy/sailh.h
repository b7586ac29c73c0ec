#pragma once
#include "canopy/sailh_geometry.h"
#include "spectral/grid.h"

// The SAILH canopy model: the four-stream SAIL equations of a horizontally homogeneous leaf
// layer (Verhoef 1984, "Light scattering by leaf layers with application to canopy reflectance
// modeling: the SAIL model", Remote Sensing of Environment 16: 125-141) with a hot-spot
// correction of the single-scattering term (SAILH). All reflectances and transmittances are
// fractions 0 .. 1; angles enter in degrees.
namespace tulmera::canopy {

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

// The layer at one wavelength from the leaf reflectance and transmittance in percent.
// Throws tulmera::Error naming `wavelengthNm` (used only in messages) when the layer solution
// divides by exactly zero (σ, h1, Ds, Do, dns, KL + kL), takes the square root of a negative
// number or gives a value that is not finite.
CanopyOptics SailhCanopy(const SailhGeometry& g, double leafReflPct, double leafTransPct,
                         int wavelengthNm);

// The layer placed over a soil of reflectance `soilReflPct` (percent).
struct SoilCoupledReflectance {
    double rsot;  // bidirectional reflectance of layer and soil for direct sunlight
    double rdot;  // hemispherical-directional reflectance of layer and soil for diffuse light
};
SoilCoupledReflectance CanopyOverSoil(const CanopyOptics& o, double soilReflPct);

// The kept canopy reflectance in percent: direct and diffuse cases mixed with the sky ratio
// skyRatioPct used as stored (the ratio times 100).
double SkyMixPct(const SoilCoupledReflectance& r, double skyRatioPct);

// The kept canopy reflectance in percent at every grid point: SailhCanopy, CanopyOverSoil and
// SkyMixPct in turn. Throws tulmera::Error naming the wavelength of a fault (see SailhCanopy)
// or of a result that is not finite.
spectral::Spectrum CanopyReflectancePct(const SailhGeometry& g,
                                        const spectral::Spectrum& leafReflPct,
                                        const spectral::Spectrum& leafTransPct,
                                        const spectral::Spectrum& soilReflPct,
                                        const spectral::Spectrum& skyRatioPct);

}  // namespace tulmera::canopy
