#pragma once
#include <atomic>
#include <optional>

#include "leaf/leaf_parameters.h"
#include "measured/measured_grid.h"

// The leaf fit: the leaf parameters whose model spectra come closest, in the least-squares
// sense, to a measured leaf reflectance and/or transmittance.
namespace tulmera::fit {

// The box the fit searches and where it starts.
inline constexpr leaf::LeafParameters kFitLowerBounds{1.0, 0.0, 1e-5, 1e-5};
inline constexpr leaf::LeafParameters kFitUpperBounds{4.0, 150.0, 0.1, 0.06};
inline constexpr leaf::LeafParameters kFitStart{1.5, 40.0, 0.01, 0.005};

// The optimal spectral subdomains (ends included), in nm.
inline constexpr int kCabSubdomainFirstNm = 700, kCabSubdomainLastNm = 720;
inline constexpr int kWaterDrySubdomainFirstNm = 1700, kWaterDrySubdomainLastNm = 2400;

// What to fit: at least one of the two, on the grid.
struct LeafFitTarget {
    std::optional<measured::GridValues> reflectance;
    std::optional<measured::GridValues> transmittance;
};

struct LeafFitOptions {
    // Full fit of all four parameters, then Cab alone over the chlorophyll subdomain, then Cw
    // and Cm alone over the water and dry-matter subdomain, N held (the "subdominios" mode).
    bool subdomains = false;
    // When set to true while the fit runs (from any thread), the fit stops soon after.
    const std::atomic<bool>* cancel = nullptr;
};

struct LeafFitResult {
    leaf::LeafParameters parameters;               // the fitted values, within the bounds
    std::optional<double> rmseReflectancePercent;  // over the measured points (none if no R)
    std::optional<double> rmseTransmittancePercent;
    int evaluations = 0;  // model evaluations, all stages and restarts
};

// Fits N, Cab, Cw, Cm by bounded least squares on the residuals of R and T over the grid
// points where the measurement has data (NLopt's BOBYQA on parameters scaled to the box).
// When a parameter ends on a bound, the fit restarts once from halfway between its start
// value and that bound, keeping the better of the two. Returns nothing when cancelled.
// Throws tulmera::Error when neither spectrum is given, when a stage has no measured point,
// or when the optimiser fails.
std::optional<LeafFitResult> FitLeaf(const LeafFitTarget& target,
                                     const LeafFitOptions& options = {});

}  // namespace tulmera::fit
