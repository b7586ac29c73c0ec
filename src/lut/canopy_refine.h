#pragma once
#include <atomic>
#include <optional>

#include "lut/table_spec.h"
#include "measured/measured_grid.h"

// The canopy fit's last step: from the table's answer, the parameters the table varies adjusted
// continuously until the model's spectrum comes closest to the measured one. A table of
// thousands of rows samples five parameters only a few times each, so its best rows lie between
// the answer's neighbours; the refinement goes the rest of the way.
namespace tulmera::lut {

struct RefinedCanopyFit {
    ParameterValues values{};  // the held parameters as the table holds them
    double rmsePercent = 0;    // over the compared grid points, percent reflectance
    int evaluations = 0;       // model runs
};

// Bounded least squares (NLopt's BOBYQA, each varying parameter scaled to its range) on the
// differences model − measurement over the grid points where `measured` has data (without the
// water bands when asked), starting from `start`, which must lie within the ranges. Returns
// nothing when `cancel` became true. Throws tulmera::Error when fewer than
// measured::kMinGridPoints points are compared, or when the optimiser fails.
std::optional<RefinedCanopyFit> RefineCanopyFit(const TableSpec& spec,
                                                const measured::GridValues& measured,
                                                const ParameterValues& start,
                                                bool leaveOutWaterBands,
                                                const std::atomic<bool>* cancel = nullptr);

}  // namespace tulmera::lut
