#pragma once
#include <optional>
#include <string_view>

#include "spectral/grid.h"

// The diffuse-to-direct sky irradiance ratio that weights the diffuse part of the canopy
// reflectance: an empirical closed formula in the sun zenith angle, the atmospheric
// visibility and the wavelength.
namespace tulmera::canopy {

// The atmospheric visibility options of the main window: tipocielo(0) "15 Km" (the start
// choice) and tipocielo(1) "50 Km".
enum class Visibility { Km15, Km50 };

// How the canopy reflectance mixes the reflectance for direct sunlight with the one for diffuse
// skylight. Classic, the program's own, weights the diffuse part with the stored sky ratio
// times 100 (skyRatioPct, so that the kept reflectance is mostly the diffuse one); physical
// weights it with the ratio itself (skyRatioPct / 100), as an irradiance ratio does.
enum class SkyMix { Classic, Physical };

// The name of a sky mix as options and tables write it: "classic" or "physical".
std::string_view SkyMixName(SkyMix mix);

// The sky mix named `name` exactly ("classic", "physical"), or nothing.
std::optional<SkyMix> ParseSkyMix(std::string_view name);

// The visibility in km: 15 or 50.
int VisibilityKm(Visibility v);

// The sky ratio at every grid wavelength for a sun zenith angle in degrees (0 .. 90 in the
// window; the formula uses degrees, not radians), multiplied by 100 (a ratio of 0.311 is
// stored as 31.1): skyRatioPct. Finite for every sun zenith angle of the window.
spectral::Spectrum SkyRatio(double sunZenithDeg, Visibility v);

}  // namespace tulmera::canopy
