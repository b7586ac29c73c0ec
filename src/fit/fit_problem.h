#pragma once
#include <vector>

#include "fit/unit_box_search.h"
#include "leaf/leaf_parameters.h"
#include "leaf/prospect.h"
#include "measured/measured_grid.h"

namespace tulmera::fit {

// The sum of squared residuals of the leaf model against measured reflectance and
// transmittance over a chosen set of grid points, as the fit minimises it. The model is
// computed only at those points, each exactly as the leaf model computes it.
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
};

}  // namespace tulmera::fit
