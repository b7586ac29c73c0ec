#include "lut/canopy_refine.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "fit/unit_box_search.h"
#include "lut/simulation.h"
#include "textio/error.h"

namespace tulmera::lut {
namespace {

constexpr fit::UnitBoxSettings kSearch{
    .initialStep = 0.05, .tolerance = 1e-6, .maxEvaluations = 2000};

struct Problem {
    const TableSpec& spec;
    Simulator simulator;
    measured::ComparedPoints points;
    std::vector<std::size_t> free;  // the parameters that vary
    ParameterValues values;         // held values, and the free ones' latest
    const std::atomic<bool>* cancel;
    int evaluations = 0;

    double Lo(std::size_t p) const { return spec.ranges[p].lo; }
    double Width(std::size_t p) const { return spec.ranges[p].hi - spec.ranges[p].lo; }

    ParameterValues At(const std::vector<double>& x) const
    {
        ParameterValues v = values;
        for (std::size_t f = 0; f < free.size(); ++f)
            v[free[f]] = Lo(free[f]) + x[f] * Width(free[f]);
        return v;
    }

    double SumOfSquares(const ParameterValues& v)
    {
        ++evaluations;
        spectral::Spectrum model;
        try {
            model = simulator.Simulate(v);
        } catch (const Error&) {
            return fit::kFailedSum;
        }
        double sum = 0.0;
        for (std::size_t k = 0; k < points.index.size(); ++k) {
            const double difference = model[points.index[k]] - points.value[k];
            sum += difference * difference;
        }
        return std::isfinite(sum) ? sum : fit::kFailedSum;
    }
};

}  // namespace

std::optional<RefinedCanopyFit> RefineCanopyFit(const TableSpec& spec,
                                                const measured::GridValues& measured,
                                                const ParameterValues& start,
                                                bool leaveOutWaterBands,
                                                const std::atomic<bool>* cancel)
{
    Problem problem{spec, Simulator(spec), measured::PointsCompared(measured, leaveOutWaterBands),
                    {},   start,           cancel};
    if (problem.points.index.size() < static_cast<std::size_t>(measured::kMinGridPoints)) {
        throw Error("The spectrum shares " + std::to_string(problem.points.index.size())
                    + " wavelengths with the model's grid; at least "
                    + std::to_string(measured::kMinGridPoints) + " are needed.");
    }
    for (std::size_t p = 0; p < spec.ranges.size(); ++p) {
        if (spec.ranges[p].varies && problem.Width(p) > 0) problem.free.push_back(p);
    }
    RefinedCanopyFit result;
    std::vector<double> x(problem.free.size());
    for (std::size_t f = 0; f < x.size(); ++f) {
        const std::size_t p = problem.free[f];
        x[f] = std::clamp((start[p] - problem.Lo(p)) / problem.Width(p), 0.0, 1.0);
    }
    double sum = 0.0;
    if (!x.empty()) {
        const auto objective = [&problem](const std::vector<double>& at) {
            return problem.SumOfSquares(problem.At(at));
        };
        const std::optional<double> found =
            fit::MinimizeInUnitBox(objective, x, kSearch, cancel, "canopy fit");
        if (!found) return std::nullopt;
        sum = *found;
    }
    result.values = problem.At(x);
    result.evaluations = problem.evaluations;
    // As every other RMSE the program shows (the optimiser's sum is of fractions).
    const auto rmse = measured::RmsePercent(problem.simulator.Simulate(result.values), measured,
                                            leaveOutWaterBands);
    result.rmsePercent =
        rmse.value_or(std::sqrt(sum / double(problem.points.index.size())) * 100.0);
    return result;
}

}  // namespace tulmera::lut
