#pragma once
#include <memory>
#include <vector>

#include "engine/engine.h"
#include "fit/unit_box_search.h"
#include "leaf/leaf_parameters.h"
#include "leaf/prospect.h"
#include "measured/measured_grid.h"

namespace tulmera::fit {

// The sum of squared residuals of the leaf model against measured reflectance and
// transmittance over a chosen set of grid points, as the fit minimises it. For PROSPECT-D and
// PRO over many points the model comes from the engine's leaf kernel (all grid points at once,
// within 1e-12 relative of the exact path, which computes any leaf the kernel leaves to it);
// otherwise the exact path is computed at those points only.
class LeafResiduals {
public:
    // The grid points from `firstNm` to `lastNm` (ends included) where `reflectance` or
    // `transmittance` (either may be null) has data, for the leaf model `model`: the
    // parameters given to SumOfSquares must name it.
    LeafResiduals(const measured::GridValues* reflectance,
                  const measured::GridValues* transmittance, int firstNm, int lastNm,
                  leaf::LeafModel model = leaf::LeafModel::Classic);

    // Number of residuals (a point with both R and T counts twice).
    int Count() const { return count_; }

    // The sum of squared differences model − measurement, fractions. A parameter set for
    // which the model is not finite somewhere gives kFailedSum.
    double SumOfSquares(const leaf::LeafParameters& p) const;

    static constexpr double kFailedSum = fit::kFailedSum;

private:
    // Per point, in the order of the grid: grid index, the model's refractive index and
    // interface transmissivities there, and the measured R and T with a weight of
    // 1 where measured and 0 where not (the value is then 0 too).
    std::vector<int> index_;
    std::vector<double> refIndex_;
    std::vector<leaf::Transmissivities> tav_;
    std::vector<double> R_, T_, weightR_, weightT_;
    int count_ = 0;
    // With kKernelPoints points or more; SumOfSquares is const to its callers, the scratch
    // is not: one residuals object per fit, one fit per thread.
    std::unique_ptr<engine::LeafEvaluator> kernel_;

    double ExactSum(const leaf::LeafParameters& p) const;
};

}  // namespace tulmera::fit
