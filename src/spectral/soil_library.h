#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "spectral/grid.h"

namespace tulmera::spectral {

// The four stored soil spectra, reflectance in percent (source: data/soils.csv), keyed by the
// exact texts of the main window's soil list, in list order.
inline constexpr std::array<std::string_view, 4> kSoilKeys = {
    "S1:61% arena 24% limo 15% arcilla",
    "S2:32% arena 39% limo 29% arcilla",
    "S3:44% arena 39% limo 29% arcilla",
    "S4:61% arena 26% limo 13% arcilla",
};

// The entry of kSoilKeys that `name` names: the whole text exactly, or its key before the
// colon in any case of ASCII letters ("S2", "s2"); nothing for any other text.
std::optional<std::size_t> FindSoil(std::string_view name);

// The spectrum of soil `entry` (0 .. 3, in the order of kSoilKeys), percent.
const Spectrum& SoilSpectrum(int entry);

// Selects a soil by its list text: when `soilText` equals one of the keys exactly (case,
// blanks and every character), copies that soil's spectrum into `soilRefl` and returns true;
// otherwise leaves `soilRefl` as it was and returns false.
bool LoadSoil(std::string_view soilText, Spectrum& soilRefl);

}  // namespace tulmera::spectral
