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

// Throws tulmera::Error with an English sentence naming the parameter, checked in this order:
// a field of `p` that is not a finite number; a field that the model p.model does not read
// (see ModelParameters) and is not 0 (a PROSPECT-PRO leaf with Cm, a classic one with Car);
// N <= 0; a pigment or constituent of the model below 0; Cbrown above 1.
void CheckLeafParameters(const LeafParameters& p);

// The leaf model p.model names over the grid, exactly as a leaf run computes it: for each grid
// point in turn n = ModelRefractiveIndex, k = ModelAbsorption, checked, then ProspectLeaf with
// the model's interface transmissivities (ModelLeafOptics). Throws tulmera::Error for bad
// parameters (CheckLeafParameters), and naming the first wavelength where the absorption k is
// not above 0, a result is not finite or lies outside 0 .. 1 beyond kFractionRounding (the
// message names the wavelength and the model's parameters); values within it are put on the
// bound.
LeafSpectrum ComputeLeafSpectrum(const LeafParameters& p);

// Prints the 421 lines of a leaf spectrum file: wavelength, reflectance, transmittance, each
// in the printed number layout (" 400  0.05  0.01 \r\n").
void PrintLeafSpectrum(textio::PrintedText& text, const LeafSpectrum& spectrum);

}  // namespace tulmera::leaf
