#pragma once
#include "spectral/grid.h"

namespace tulmera::lut {

// Holds a table row's reflectances (fractions) to what the canopy run accepts: a value within
// rounding of [0, 1] (1e-12) is put on the bound, as the canopy run writes it; one beyond is a
// model fault at the edge of its validity (a grazing sun or view), and throws tulmera::Error
// naming the wavelength and the value. The caller adds the row and its parameters.
void KeepPhysicalRow(spectral::Spectrum& reflectance);

}  // namespace tulmera::lut
