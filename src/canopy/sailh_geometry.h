#pragma once
#include "canopy/leaf_angles.h"

// The part of the SAILH canopy model (see sailh.h) that does not depend on the wavelength:
// the sun-view geometry, the leaf-angle class sums, the extinctions and the hot spot.
namespace tulmera::canopy {

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

}  // namespace tulmera::canopy
