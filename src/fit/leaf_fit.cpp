#include "fit/leaf_fit.h"

#include <array>
#include <cmath>
#include <vector>

#include "fit/fit_problem.h"
#include "fit/unit_box_search.h"
#include "leaf/leaf_spectrum.h"
#include "textio/error.h"

namespace tulmera::fit {
namespace {

constexpr int kParameterCount = 4;
using Values = std::array<double, kParameterCount>;  // N, Cab, Cw, Cm

Values ToValues(const leaf::LeafParameters& p) { return {p.N, p.Cab, p.Cw, p.Cm}; }
leaf::LeafParameters ToParameters(const Values& v) { return {v[0], v[1], v[2], v[3]}; }

const Values kLower = ToValues(kFitLowerBounds);
const Values kUpper = ToValues(kFitUpperBounds);
const Values kStart = ToValues(kFitStart);

// The optimiser sees each free parameter scaled linearly to 0 .. 1 over its bounds, so that
// one trust-region radius suits all of them.
constexpr UnitBoxSettings kSearch{.initialStep = 0.1, .tolerance = 1e-7, .maxEvaluations = 3000};
constexpr double kOnBound = 1e-6;  // a scaled value this close to 0 or 1 is on the bound

double Scaled(const Values& v, int j) { return (v[j] - kLower[j]) / (kUpper[j] - kLower[j]); }
double Unscaled(double x, int j) { return kLower[j] + x * (kUpper[j] - kLower[j]); }

struct Stage {
    const LeafResiduals& residuals;
    std::vector<int> free;  // indexes into Values
    Values fixed;           // the values of the parameters not free (and the free ones' start)
    const std::atomic<bool>* cancel;
    int evaluations = 0;

    Values At(const std::vector<double>& x) const
    {
        Values v = fixed;
        for (std::size_t f = 0; f < free.size(); ++f) v[free[f]] = Unscaled(x[f], free[f]);
        return v;
    }
};

struct RunOutcome {
    Values values;
    double sum;
};

// One BOBYQA run of `stage` from `start`; nothing when cancelled.
std::optional<RunOutcome> RunOnce(Stage& stage, const Values& start)
{
    std::vector<double> x(stage.free.size());
    for (std::size_t f = 0; f < x.size(); ++f) x[f] = Scaled(start, stage.free[f]);
    const auto objective = [&stage](const std::vector<double>& at) {
        ++stage.evaluations;
        return stage.residuals.SumOfSquares(ToParameters(stage.At(at)));
    };
    const std::optional<double> sum =
        MinimizeInUnitBox(objective, x, kSearch, stage.cancel, "leaf fit");
    if (!sum) return std::nullopt;
    return RunOutcome{stage.At(x), *sum};
}

// A run of `stage`, and once more from halfway between the start and the bound for each
// free parameter that ended on a bound; the better of the two.
std::optional<RunOutcome> RunWithRestart(Stage& stage)
{
    const std::optional<RunOutcome> first = RunOnce(stage, stage.fixed);
    if (!first) return std::nullopt;
    Values restart = first->values;
    bool onBound = false;
    for (const int j : stage.free) {
        const double x = Scaled(first->values, j);
        const double start = stage.fixed[j];
        if (x < kOnBound && start > kLower[j]) {
            restart[j] = (start + kLower[j]) / 2.0;
            onBound = true;
        } else if (x > 1.0 - kOnBound && start < kUpper[j]) {
            restart[j] = (start + kUpper[j]) / 2.0;
            onBound = true;
        }
    }
    if (!onBound) return first;
    const std::optional<RunOutcome> second = RunOnce(stage, restart);
    if (!second) return std::nullopt;
    return second->sum < first->sum ? second : first;
}

// Fits the `free` parameters over `firstNm` .. `lastNm` from `values`, which it updates.
// False when cancelled.
bool FitStage(const LeafFitTarget& target, const LeafFitOptions& options, std::vector<int> free,
              int firstNm, int lastNm, Values& values, int& evaluations)
{
    const LeafResiduals residuals(target.reflectance ? &*target.reflectance : nullptr,
                                  target.transmittance ? &*target.transmittance : nullptr, firstNm,
                                  lastNm);
    if (residuals.Count() == 0) {
        throw Error("The leaf fit has no measured point from " + std::to_string(firstNm) + " to "
                    + std::to_string(lastNm) + " nm.");
    }
    Stage stage{residuals, std::move(free), values, options.cancel};
    const std::optional<RunOutcome> outcome = RunWithRestart(stage);
    evaluations += stage.evaluations;
    if (!outcome) return false;
    values = outcome->values;
    return true;
}

}  // namespace

std::optional<LeafFitResult> FitLeaf(const LeafFitTarget& target, const LeafFitOptions& options)
{
    if (!target.reflectance && !target.transmittance) {
        throw Error("The leaf fit needs a measured reflectance, a transmittance or both.");
    }
    Values values = kStart;
    int evaluations = 0;
    const int first = spectral::WavelengthNm(0);
    const int last = spectral::WavelengthNm(spectral::kWavelengthCount - 1);
    if (!FitStage(target, options, {0, 1, 2, 3}, first, last, values, evaluations)) {
        return std::nullopt;
    }
    if (options.subdomains) {
        if (!FitStage(target, options, {1}, kCabSubdomainFirstNm, kCabSubdomainLastNm, values,
                      evaluations)
            || !FitStage(target, options, {2, 3}, kWaterDrySubdomainFirstNm,
                         kWaterDrySubdomainLastNm, values, evaluations)) {
            return std::nullopt;
        }
    }
    LeafFitResult result{ToParameters(values), std::nullopt, std::nullopt, evaluations};
    const leaf::LeafSpectrum model = leaf::ComputeLeafSpectrum(result.parameters);
    if (target.reflectance) {
        result.rmseReflectancePercent =
            measured::RmsePercent(model.refl, *target.reflectance, false);
    }
    if (target.transmittance) {
        result.rmseTransmittancePercent =
            measured::RmsePercent(model.trans, *target.transmittance, false);
    }
    return result;
}

}  // namespace tulmera::fit
