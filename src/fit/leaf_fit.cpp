#include "fit/leaf_fit.h"

#include <cmath>
#include <vector>

#include "fit/fit_problem.h"
#include "fit/unit_box_search.h"
#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "textio/error.h"

namespace tulmera::fit {
namespace {

using leaf::LeafModel;
using leaf::LeafParameters;
using Field = double LeafParameters::*;

// The optimiser sees each free parameter scaled linearly to 0 .. 1 over its bounds, so that
// one trust-region radius suits all of them.
constexpr UnitBoxSettings kSearch{.initialStep = 0.1, .tolerance = 1e-7, .maxEvaluations = 3000};
constexpr double kOnBound = 1e-6;  // a scaled value this close to 0 or 1 is on the bound

struct Stage {
    const LeafResiduals& residuals;
    const LeafFitBox& box;
    std::vector<Field> free;  // the parameters the stage varies
    LeafParameters fixed;     // the values of the others (and the free ones' start)
    const std::atomic<bool>* cancel;
    int evaluations = 0;

    double Scaled(const LeafParameters& p, Field f) const
    {
        return (p.*f - box.lower.*f) / (box.upper.*f - box.lower.*f);
    }
    double Unscaled(double x, Field f) const
    {
        return box.lower.*f + x * (box.upper.*f - box.lower.*f);
    }
    LeafParameters At(const std::vector<double>& x) const
    {
        LeafParameters p = fixed;
        for (std::size_t k = 0; k < free.size(); ++k) p.*free[k] = Unscaled(x[k], free[k]);
        return p;
    }
};

struct RunOutcome {
    LeafParameters values;
    double sum;
};

// One BOBYQA run of `stage` from `start`; nothing when cancelled.
std::optional<RunOutcome> RunOnce(Stage& stage, const LeafParameters& start)
{
    std::vector<double> x(stage.free.size());
    for (std::size_t k = 0; k < x.size(); ++k) x[k] = stage.Scaled(start, stage.free[k]);
    const auto objective = [&stage](const std::vector<double>& at) {
        ++stage.evaluations;
        return stage.residuals.SumOfSquares(stage.At(at));
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
    LeafParameters restart = first->values;
    bool onBound = false;
    for (const Field f : stage.free) {
        const double x = stage.Scaled(first->values, f);
        const double start = stage.fixed.*f;
        if (x < kOnBound && start > stage.box.lower.*f) {
            restart.*f = (start + stage.box.lower.*f) / 2.0;
            onBound = true;
        } else if (x > 1.0 - kOnBound && start < stage.box.upper.*f) {
            restart.*f = (start + stage.box.upper.*f) / 2.0;
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
bool FitStage(const LeafFitTarget& target, const LeafFitOptions& options, const LeafFitBox& box,
              std::vector<Field> free, int firstNm, int lastNm, LeafParameters& values,
              int& evaluations)
{
    const LeafResiduals residuals(target.reflectance ? &*target.reflectance : nullptr,
                                  target.transmittance ? &*target.transmittance : nullptr, firstNm,
                                  lastNm, options.model);
    if (residuals.Count() == 0) {
        throw Error("The leaf fit has no measured point from " + std::to_string(firstNm) + " to "
                    + std::to_string(lastNm) + " nm.");
    }
    Stage stage{residuals, box, std::move(free), values, options.cancel};
    const std::optional<RunOutcome> outcome = RunWithRestart(stage);
    evaluations += stage.evaluations;
    if (!outcome) return false;
    values = outcome->values;
    return true;
}

// The parameters the full fit varies: the model's, Cbrown only when asked for.
std::vector<Field> FreeParameters(const LeafFitOptions& options)
{
    std::vector<Field> free;
    for (const leaf::LeafParameterField& field : leaf::ModelParameters(options.model)) {
        if (field.value == &LeafParameters::Cbrown && !options.freeBrown) continue;
        free.push_back(field.value);
    }
    return free;
}

// One subdomain of PROSPECT-D or PRO: the range, what varies there besides N, and what of it
// the result keeps.
struct Subdomain {
    int firstNm, lastNm;
    std::vector<Field> free;
    std::vector<Field> kept;
};

std::vector<Subdomain> Subdomains(LeafModel model)
{
    using P = LeafParameters;
    std::vector<Subdomain> list = {
        {kCabSubdomainFirstNm, kCabSubdomainLastNm, {&P::Cab}, {&P::Cab}},
        {kCarSubdomainFirstNm, kCarSubdomainLastNm, {&P::Car}, {&P::Car}},
    };
    if (model == LeafModel::ProspectD) {
        list.push_back({kWaterDrySubdomainFirstNm,
                        kWaterDrySubdomainLastNm,
                        {&P::Cw, &P::Cm},
                        {&P::Cw, &P::Cm}});
    } else {
        list.push_back({kWaterDrySubdomainFirstNm, kWaterDrySubdomainLastNm, {&P::Cw}, {&P::Cw}});
        list.push_back(
            {kProtSubdomainFirstNm, kProtSubdomainLastNm, {&P::Prot, &P::Cw}, {&P::Prot}});
        list.push_back({kCbcSubdomainFirstNm, kCbcSubdomainLastNm, {&P::CBC, &P::Cw}, {&P::CBC}});
    }
    return list;
}

// The classic subdomain mode: Cab, then Cw and Cm, N held, each stage from the previous one.
bool FitClassicSubdomains(const LeafFitTarget& target, const LeafFitOptions& options,
                          const LeafFitBox& box, LeafParameters& values, int& evaluations)
{
    return FitStage(target, options, box, {&LeafParameters::Cab}, kCabSubdomainFirstNm,
                    kCabSubdomainLastNm, values, evaluations)
           && FitStage(target, options, box, {&LeafParameters::Cw, &LeafParameters::Cm},
                       kWaterDrySubdomainFirstNm, kWaterDrySubdomainLastNm, values, evaluations);
}

// The subdomain mode of PROSPECT-D and PRO: each subdomain from the full fit's values, N free
// again, its own parameters kept; N stays the full fit's.
bool FitNewerSubdomains(const LeafFitTarget& target, const LeafFitOptions& options,
                        const LeafFitBox& box, LeafParameters& values, int& evaluations)
{
    const LeafParameters whole = values;
    for (const Subdomain& sub : Subdomains(options.model)) {
        std::vector<Field> free = {&LeafParameters::N};
        free.insert(free.end(), sub.free.begin(), sub.free.end());
        LeafParameters found = whole;
        if (!FitStage(target, options, box, free, sub.firstNm, sub.lastNm, found, evaluations)) {
            return false;
        }
        for (const Field f : sub.kept) values.*f = found.*f;
    }
    return true;
}

}  // namespace

LeafFitBox FitBox(LeafModel model)
{
    LeafFitBox box{kFitLowerBounds, kFitUpperBounds, kFitStart};
    for (LeafParameters* p : {&box.lower, &box.upper, &box.start}) p->model = model;
    if (model == LeafModel::Classic) return box;
    box.upper.Car = 40.0;
    box.start.Car = 10.0;
    box.upper.Anth = 40.0;
    box.start.Anth = 2.0;
    box.upper.Cbrown = 1.0;
    if (model == LeafModel::ProspectPro) {
        for (LeafParameters* p : {&box.lower, &box.upper, &box.start}) p->Cm = 0.0;
        box.upper.Prot = 0.01;
        box.start.Prot = 0.001;
        box.lower.CBC = 1e-5;
        box.upper.CBC = 0.06;
        box.start.CBC = 0.004;
    }
    return box;
}

std::optional<LeafFitResult> FitLeaf(const LeafFitTarget& target, const LeafFitOptions& options)
{
    if (!target.reflectance && !target.transmittance) {
        throw Error("The leaf fit needs a measured reflectance, a transmittance or both.");
    }
    const LeafFitBox box = FitBox(options.model);
    LeafParameters values = box.start;
    int evaluations = 0;
    const int first = spectral::WavelengthNm(0);
    const int last = spectral::WavelengthNm(spectral::kWavelengthCount - 1);
    if (!FitStage(target, options, box, FreeParameters(options), first, last, values,
                  evaluations)) {
        return std::nullopt;
    }
    if (options.subdomains) {
        const bool done = options.model == LeafModel::Classic
                              ? FitClassicSubdomains(target, options, box, values, evaluations)
                              : FitNewerSubdomains(target, options, box, values, evaluations);
        if (!done) return std::nullopt;
    }
    LeafFitResult result{values, std::nullopt, std::nullopt, evaluations};
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
