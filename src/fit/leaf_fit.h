#pragma once
#include <atomic>
#include <optional>

#include "leaf/leaf_parameters.h"
#include "measured/measured_grid.h"

// The leaf fit: the leaf parameters whose model spectra come closest, in the least-squares
// sense, to a measured leaf reflectance and/or transmittance.
namespace tulmera::fit {

// The box the fit of the classic model searches and where it starts.
inline constexpr leaf::LeafParameters kFitLowerBounds{1.0, 0.0, 1e-5, 1e-5};
inline constexpr leaf::LeafParameters kFitUpperBounds{4.0, 150.0, 0.1, 0.06};
inline constexpr leaf::LeafParameters kFitStart{1.5, 40.0, 0.01, 0.005};

// The box a fit of `model` searches and where it starts, each a record of that model: the
// classic one above; PROSPECT-D adds Car 0 .. 40 (start 10), Anth 0 .. 40 (start 2) and Cbrown
// 0 .. 1 (start 0); PROSPECT-PRO the same with Prot 0 .. 0.01 (start 0.001) and CBC 1e-5 ..
// 0.06 (start 0.004) in place of Cm. The bounds span the leaves these models were made for.
struct LeafFitBox {
    leaf::LeafParameters lower, upper, start;
};
LeafFitBox FitBox(leaf::LeafModel model);

// The optimal spectral subdomains (ends included), in nm: chlorophyll, water and dry matter
// for every model; carotenoids for PROSPECT-D and PRO; proteins and carbon-based constituents
// for PROSPECT-PRO.
inline constexpr int kCabSubdomainFirstNm = 700, kCabSubdomainLastNm = 720;
inline constexpr int kWaterDrySubdomainFirstNm = 1700, kWaterDrySubdomainLastNm = 2400;
inline constexpr int kCarSubdomainFirstNm = 520, kCarSubdomainLastNm = 560;
inline constexpr int kProtSubdomainFirstNm = 2125, kProtSubdomainLastNm = 2175;
inline constexpr int kCbcSubdomainFirstNm = 2025, kCbcSubdomainLastNm = 2350;

// What to fit: at least one of the two, on the grid.
struct LeafFitTarget {
    std::optional<measured::GridValues> reflectance;
    std::optional<measured::GridValues> transmittance;
};

struct LeafFitOptions {
    // Classic model: full fit of all four parameters, then Cab alone over the chlorophyll
    // subdomain, then Cw and Cm alone over the water and dry-matter subdomain, N held (the
    // "subdominios" mode). PROSPECT-D and PRO: the full fit, then from its values each
    // subdomain with N free again, keeping only its own parameters: Cab on 700-720 nm, Car on
    // 520-560 nm, Cw and Cm on 1700-2400 nm (PRO: Cw there, Prot on 2125-2175 nm and CBC on
    // 2025-2350 nm, each with Cw free too, as water absorbs strongly there); N is the full fit's.
    bool subdomains = false;
    // When set to true while the fit runs (from any thread), the fit stops soon after.
    const std::atomic<bool>* cancel = nullptr;
    // The model fitted: its parameters, Cbrown held at 0 unless `freeBrown`.
    leaf::LeafModel model = leaf::LeafModel::Classic;
    bool freeBrown = false;
};

struct LeafFitResult {
    leaf::LeafParameters parameters;               // the fitted values, within the bounds, of
                                                   // the model fitted
    std::optional<double> rmseReflectancePercent;  // over the measured points (none if no R)
    std::optional<double> rmseTransmittancePercent;
    int evaluations = 0;  // model evaluations, all stages and restarts
};

// Fits the parameters of options.model (classic: N, Cab, Cw, Cm) by bounded least squares on the
// residuals of R and T over the grid points where the measurement has data (NLopt's BOBYQA on
// parameters scaled to the box). When a parameter ends on a bound, the fit restarts once from
// halfway between its start value and that bound, keeping the better of the two. Returns nothing
// when cancelled. Throws tulmera::Error when neither spectrum is given, when a stage has no
// measured point, or when the optimiser fails.
std::optional<LeafFitResult> FitLeaf(const LeafFitTarget& target,
                                     const LeafFitOptions& options = {});

}  // namespace tulmera::fit
