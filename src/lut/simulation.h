#pragma once
#include "canopy/canopy_fluxes.h"
#include "engine/engine.h"
#include "lut/table_spec.h"
#include "spectral/grid.h"

namespace tulmera::lut {

// The simulation of one sample of a table through the engine: the table's leaf model, then the
// canopy model with the table's leaf angles, soil, sky and sky mix, as `tulmera-batch canopy` runs
// them from a fresh state, within the engine's contract (1e-12 relative) of that run. For the fit's
// refinement, which needs one sample at a time; tables compute their rows in batches
// (ComputeRows). Not thread-safe: one per thread.
class Simulator {
public:
    // Throws tulmera::Error when the table settings' leaf architecture or soil is not one of the
    // lists.
    explicit Simulator(const TableSpec& spec);

    // The canopy reflectance (a fraction, 0 .. 1) of one sample. Throws tulmera::Error when a
    // model fails (its message names the wavelength).
    spectral::Spectrum Simulate(const ParameterValues& values);

    // The canopy reflectance of Simulate and the radiation budget of the same canopy (its
    // albedos, absorptance, fAPAR and fCover; with the table's sky mix, as the reflectance).
    // Throws tulmera::Error as Simulate does, or when a flux is not finite.
    struct WithFluxes {
        spectral::Spectrum reflectance;
        canopy::CanopyFluxes fluxes;
    };
    WithFluxes SimulateWithFluxes(const ParameterValues& values);

private:
    void Load(const ParameterValues& values);  // the one set of `values` into one_
    leaf::LeafModel leafModel_;
    engine::CanopyScene scene_;
    engine::CanopyBatch one_;
};

// One simulation: Simulator(spec).Simulate(values).
spectral::Spectrum SimulateReflectance(const TableSpec& spec, const ParameterValues& values);

}  // namespace tulmera::lut
