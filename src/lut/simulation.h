#pragma once
#include "lut/table_spec.h"
#include "spectral/grid.h"

namespace tulmera::lut {

// The canopy reflectance (a fraction, 0 .. 1) of one sample, in memory: the leaf model, its
// spectra passed on as the leaf run's file would pass them (15 significant digits, see
// PrintedValue), then the canopy model with a fresh state, as `tulmera-batch canopy` runs them.
// Each value is exactly the double whose number text that run writes into "VS.dat". Throws
// tulmera::Error when a model fails (its message names the wavelength).
spectral::Spectrum SimulateReflectance(const TableSpec& spec, const ParameterValues& values);

}  // namespace tulmera::lut
