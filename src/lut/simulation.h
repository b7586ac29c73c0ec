#pragma once
#include <limits>

#include "canopy/canopy_fluxes.h"
#include "canopy/leaf_angles.h"
#include "canopy/sky_ratio.h"
#include "lut/table_spec.h"
#include "spectral/grid.h"

namespace tulmera::lut {

// The simulations of one table, one sample at a time, in memory and without allocating: the
// leaf model, its spectra passed on as the leaf run's file passes them (15 significant digits,
// see PrintedValue), then the canopy model with the table's leaf angles, soil and sky, exactly
// as `tulmera-batch canopy` runs them from a fresh state. Not thread-safe: one per thread.
class Simulator {
public:
    // Throws tulmera::Error when the table settings' leaf architecture or soil is not one of the
    // lists.
    explicit Simulator(const TableSpec& spec);

    // The canopy reflectance (a fraction, 0 .. 1) of one sample: each value is exactly the
    // double whose number text the canopy run writes into "VS.dat". Throws tulmera::Error when
    // a model fails (its message names the wavelength).
    spectral::Spectrum Simulate(const ParameterValues& values);

    // The canopy reflectance of Simulate and the radiation budget of the same canopy (its
    // albedos, absorptance, fAPAR and fCover; the classic sky mix, as the reflectance uses).
    // Throws tulmera::Error as Simulate does, or when a flux is not finite.
    struct WithFluxes {
        spectral::Spectrum reflectance;
        canopy::CanopyFluxes fluxes;
    };
    WithFluxes SimulateWithFluxes(const ParameterValues& values);

private:
    // The leaf spectra in percent as the canopy run reads them, and the canopy's geometry.
    struct CanopyStart {
        spectral::Spectrum leafReflPct{}, leafTransPct{};
        canopy::SailhInputs sailh{};
    };
    CanopyStart Start(const ParameterValues& values);

    canopy::LeafAngleDistribution lidf_{};
    spectral::Spectrum soilRefl_{};
    canopy::Visibility visibility_;
    // The sky ratio depends on the sun alone: kept while the sun stays the same.
    double skySunZenith_ = std::numeric_limits<double>::quiet_NaN();
    spectral::Spectrum skyRatioPct_{};
};

// One simulation: Simulator(spec).Simulate(values).
spectral::Spectrum SimulateReflectance(const TableSpec& spec, const ParameterValues& values);

}  // namespace tulmera::lut
