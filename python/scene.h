#pragma once
#include <optional>

#include "canopy/canopy_fluxes.h"
#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"
#include "leaf/leaf_spectrum.h"
#include "spectral/grid.h"

// One leaf and one canopy computed as `tulmera-batch canopy` computes them, in memory: the
// functions every row of the module's leaf and canopy calls runs, the one place that chooses
// how a spectrum is computed.
namespace tulmera::python {

// The leaf model's spectra for `p` (leaf::ComputeLeafSpectrum). Throws tulmera::Error as it
// does.
leaf::LeafSpectrum SimulateLeaf(const leaf::LeafParameters& p);

// A canopy over its soil under its sky.
struct SceneResult {
    spectral::Spectrum reflectance;              // fractions, as "VS.dat" holds them
    std::optional<canopy::CanopyFluxes> fluxes;  // when asked for
};

// The leaf spectra of `leaf`, handed to the canopy model as the leaf run's file hands them
// (each value at its 15 significant digits, times 100), then the canopy run from a fresh state
// and, when `withFluxes`, the canopy's fluxes with the same sky mix. The reflectance is
// canopyReflPct / 100, the very doubles whose text the batch runner writes. Throws
// tulmera::Error from the model (naming the wavelength) or for bad inputs.
SceneResult SimulateScene(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& inputs,
                          bool withFluxes);

}  // namespace tulmera::python
