#pragma once
#include "canopy/leaf_angles.h"
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

// The structure and the sun-view geometry of one canopy run.
struct SailhInputs {
    double lai;                  // leaf area index L, m²/m², greater than 0
    double sunZenith;            // θs, degrees (0 .. 90 in the window)
    double viewZenith;           // θo, degrees, not negative (0 .. 75 in the window)
    double relAzimuth;           // ψ, view azimuth relative to the sun, degrees (0 .. 180)
    double hotSpot;              // q, hot-spot parameter (0 .. 1); 0 turns the hot spot off
    LeafAngleDistribution lidf;  // percent per class of kLeafAngleClassesDeg
};

// Throws tulmera::Error naming the parameter when one is not a finite number or lai <= 0
// (the layer has no leaves to scatter: a = σ = 0).
void CheckSailhInputs(const SailhInputs& in);

// The part of the model that does not depend on the wavelength: the leaf-angle class sums,
// the extinctions, the direct transmittances and the hot-spot integral. Computing it once per
// run gives exactly the values of computing it at every grid point.
struct SailhGeometry {
    double pi;                  // 4·atan(1)
    double lai;                 // L
    double Sc, Ss, So, S1, S2;  // class sums weighted with the percent frequencies
    double kL;                  // sun extinction times L
    double KL;                  // view extinction times L
    double tss, too;            // exp(-kL), exp(-KL)
    double tsstoo;              // joint gap probability with hot spot
    double hotSpotIntegral;     // I: rsos = wL·I
};

// Computes the geometry for `in`. Throws tulmera::Error for bad inputs (CheckSailhInputs) and,
// naming every wavelength, when a square-root argument is negative, the hot-spot integration
// divides by exactly zero or a value is not finite (for example when every class frequency
// is 0).
SailhGeometry PrepareSailh(const SailhInputs& in);

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
