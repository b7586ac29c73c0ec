#pragma once
#include "leaf/leaf_parameters.h"
#include "spectral/grid.h"
#include "textio/printed_text.h"

namespace tulmera::leaf {

// How far outside [0, 1] a computed reflectance or transmittance may lie and still count as
// rounding: such a value is written as the bound it passed.
inline constexpr double kFractionRounding = 1e-12;

// Leaf reflectance and transmittance over the whole grid, fractions 0 .. 1.
struct LeafSpectrum {
    spectral::Spectrum refl;
    spectral::Spectrum trans;
};

// Throws tulmera::Error naming the parameter when one is not a finite number or N <= 0.
void CheckLeafParameters(const LeafParameters& p);

// The leaf model over the grid for `p`: the leaf tables, then for each grid point the
// absorption and the model, exactly as a leaf run computes them. Throws tulmera::Error for bad
// parameters (CheckLeafParameters), and naming the wavelength when the absorption k is not
// above 0 there, a result is not finite or lies outside 0 .. 1 beyond kFractionRounding (the
// message names the wavelength and the inputs); values within it are put on the bound.
LeafSpectrum ComputeLeafSpectrum(const LeafParameters& p);

// Prints the 421 lines of a leaf spectrum file: wavelength, reflectance, transmittance, each
// in the printed number layout (" 400  0.05  0.01 \r\n").
void PrintLeafSpectrum(textio::PrintedText& text, const LeafSpectrum& spectrum);

}  // namespace tulmera::leaf
