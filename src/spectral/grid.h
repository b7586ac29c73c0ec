#pragma once
#include <array>

// The spectral grid shared by every spectrum of the program: 421 wavelengths from 400 nm to
// 2500 nm in steps of 5 nm, with no interpolation anywhere. Grid indexes run from 0 (400 nm)
// to 420 (2500 nm).
namespace tulmera::spectral {

inline constexpr int kFirstWavelengthNm = 400;
inline constexpr int kWavelengthStepNm = 5;
inline constexpr int kWavelengthCount = 421;  // 400 .. 2500 nm

using Spectrum = std::array<double, kWavelengthCount>;  // one value per grid wavelength

constexpr int WavelengthNm(int index) { return kFirstWavelengthNm + kWavelengthStepNm * index; }
static_assert(WavelengthNm(kWavelengthCount - 1) == 2500);

}  // namespace tulmera::spectral
