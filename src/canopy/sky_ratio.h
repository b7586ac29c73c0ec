#pragma once
#include "spectral/grid.h"

// The diffuse-to-direct sky irradiance ratio that weights the diffuse part of the canopy
// reflectance: an empirical closed formula in the sun zenith angle, the atmospheric
// visibility and the wavelength.
namespace tulmera::canopy {

// The atmospheric visibility options of the main window: tipocielo(0) "15 Km" (the start
// choice) and tipocielo(1) "50 Km".
enum class Visibility { Km15, Km50 };

// The visibility in km: 15 or 50.
int VisibilityKm(Visibility v);

// The sky ratio at every grid wavelength for a sun zenith angle in degrees (0 .. 90 in the
// window; the formula uses degrees, not radians), multiplied by 100 (a ratio of 0.311 is
// stored as 31.1): skyRatioPct. Finite for every sun zenith angle of the window.
spectral::Spectrum SkyRatio(double sunZenithDeg, Visibility v);

}  // namespace tulmera::canopy
