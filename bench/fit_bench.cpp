// The leaf fit: one fit of R and T over the whole grid, and fit-leaf over 300 spectra.
#include <benchmark/benchmark.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "fit/fit_problem.h"
#include "fit/leaf_fit.h"
#include "fit/synthetic_spectra.h"

namespace {

using namespace tulmera;

// A leaf of average composition with measurement noise, as a lab spectrometer gives it.
fit::LeafFitTarget NoisyLeaf(const leaf::LeafParameters& p, std::uint32_t seed)
{
    fit::NormalNoise noise(seed);
    const fit::SyntheticLeaf leaf = fit::MakeSyntheticLeaf(p, 0.005, noise);
    return {leaf.reflectance, leaf.transmittance};
}

void FitOnce(benchmark::State& state, bool subdomains)
{
    const fit::LeafFitTarget target = NoisyLeaf({1.8, 45.0, 0.012, 0.006}, 7);
    int evaluations = 0;
    for (auto _ : state) {
        const std::optional<fit::LeafFitResult> result = fit::FitLeaf(target, {subdomains, nullptr});
        if (!result) throw std::logic_error("the fit was not cancelled");
        evaluations = result->evaluations;
        benchmark::DoNotOptimize(result->parameters);
    }
    state.counters["evaluations"] = evaluations;
}

void BM_LeafFitFullRange(benchmark::State& state) { FitOnce(state, false); }
BENCHMARK(BM_LeafFitFullRange)->Unit(benchmark::kMillisecond);

void BM_LeafFitSubdomains(benchmark::State& state) { FitOnce(state, true); }
BENCHMARK(BM_LeafFitSubdomains)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
void BM_LeafFitEvaluation(benchmark::State& state)
{
    tulmera::fit::NormalNoise noise(7);
    const auto leaf = tulmera::fit::MakeSyntheticLeaf({1.8, 45.0, 0.012, 0.006}, 0.005, noise);
    const tulmera::fit::LeafResiduals residuals(&leaf.reflectance, &leaf.transmittance, 400, 2500);
    for (auto _ : state) {
        benchmark::DoNotOptimize(residuals.SumOfSquares({1.8, 45.0, 0.012, 0.006}));
    }
}
BENCHMARK(BM_LeafFitEvaluation);
}  // namespace
