#include "fit/fit_problem.h"

#include <array>
#include <cmath>

#include "leaf/leaf_models.h"

namespace tulmera::fit {
namespace {

// From this many points on, the kernel's whole grid costs less than the exact path's points
// (measured by fit_bench).
constexpr std::size_t kKernelPoints = 60;

}  // namespace

LeafResiduals::LeafResiduals(const measured::GridValues* reflectance,
                             const measured::GridValues* transmittance, int firstNm, int lastNm,
                             leaf::LeafModel model)
{
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const int nm = spectral::WavelengthNm(i);
        if (nm < firstNm || nm > lastNm) continue;
        const auto at = static_cast<std::size_t>(i);
        const bool hasR = reflectance != nullptr && (*reflectance)[at].has_value();
        const bool hasT = transmittance != nullptr && (*transmittance)[at].has_value();
        if (!hasR && !hasT) continue;
        index_.push_back(i);
        refIndex_.push_back(leaf::ModelRefractiveIndex(model, i));
        tav_.push_back(leaf::ModelTransmissivities(model, i));
        R_.push_back(hasR ? *(*reflectance)[at] : 0.0);
        T_.push_back(hasT ? *(*transmittance)[at] : 0.0);
        weightR_.push_back(hasR ? 1.0 : 0.0);
        weightT_.push_back(hasT ? 1.0 : 0.0);
        count_ += (hasR ? 1 : 0) + (hasT ? 1 : 0);
    }
    // The classic model keeps the exact path everywhere: its fits, ill-conditioned with one
    // spectrum alone, then give the same values as they always have.
    if (model != leaf::LeafModel::Classic && index_.size() >= kKernelPoints) {
        kernel_ = std::make_unique<engine::LeafEvaluator>();
    }
}

double LeafResiduals::SumOfSquares(const leaf::LeafParameters& p) const
{
    // Only the vectors holding the stage's points: a subdomain costs its share of the grid.
    const auto first = static_cast<std::size_t>(index_.front());
    const auto last = static_cast<std::size_t>(index_.back());
    if (!kernel_ || !kernel_->Compute(p, first, last)) return ExactSum(p);
    const double* refl = kernel_->Reflectance();
    const double* trans = kernel_->Transmittance();
    double sum = 0.0;
    for (std::size_t i = 0; i < index_.size(); ++i) {
        const auto at = static_cast<std::size_t>(index_[i]);
        const double r = (refl[at] - R_[i]) * weightR_[i];
        const double t = (trans[at] - T_[i]) * weightT_[i];
        sum += r * r;
        sum += t * t;
    }
    return std::isfinite(sum) ? sum : kFailedSum;
}

double LeafResiduals::ExactSum(const leaf::LeafParameters& p) const
{
    const std::size_t n = index_.size();
    // The model's steps point-wide one after the other, as the leaf spectrum takes them: the
    // long dependent chains of consecutive exponential integrals overlap in the processor.
    std::array<double, spectral::kWavelengthCount> k{}, tau{};
    for (std::size_t i = 0; i < n; ++i) {
        k[i] = leaf::ModelAbsorption(p, index_[i]);
        if (!(k[i] > 0.0)) return kFailedSum;
    }
    for (std::size_t i = 0; i < n; ++i)
        tau[i] = leaf::LayerTransmission(k[i], leaf::ExpIntegral(k[i]));
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const leaf::LeafOptics optics = leaf::StackOptics(p.N, refIndex_[i], tau[i], tav_[i]);
        const double r = (optics.refl - R_[i]) * weightR_[i];
        const double t = (optics.trans - T_[i]) * weightT_[i];
        sum += r * r;
        sum += t * t;
    }
    return std::isfinite(sum) ? sum : kFailedSum;
}

}  // namespace tulmera::fit
