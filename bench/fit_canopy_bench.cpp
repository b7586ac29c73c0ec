// The canopy fit against a look-up table: one spectrum against 100,000 rows at 1 and 2
// threads, and the accuracy of the fit on the model's own noisy spectra with 20,000 rows.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_tables.h"
#include "lut/canopy_refine.h"
#include "lut/lut_fit.h"
#include "lut/sampling.h"
#include "lut/simulation.h"
#include "tools/synthetic_spectra.h"

namespace {

using namespace tulmera;

constexpr auto kLai = static_cast<std::size_t>(lut::Parameter::Lai);
constexpr auto kCab = static_cast<std::size_t>(lut::Parameter::Cab);

// The model's spectrum of `values` with noise of σ 0.005 at every wavelength.
measured::GridValues NoisySpectrum(lut::Simulator& simulator, const lut::ParameterValues& values,
                                   tools::NormalNoise& noise)
{
    const spectral::Spectrum exact = simulator.Simulate(values);
    measured::GridValues spectrum;
    for (std::size_t i = 0; i < exact.size(); ++i) spectrum[i] = exact[i] + noise.Next(0.005);
    return spectrum;
}

// One spectrum against a 100,000-row table already in memory (loading it is BM_LutLoad100k).
void BM_FitCanopy100k(benchmark::State& state)
{
    static const lut::TableRows rows = lut::ComputeTableRows(FitTableSpec(100000, 1), 2);
    lut::TableSpec truthSpec = FitTableSpec(1, 2);
    lut::Simulator simulator(truthSpec);
    tools::NormalNoise noise(3);
    const measured::GridValues spectrum =
        NoisySpectrum(simulator, lut::SampleValues(truthSpec, 0), noise);
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lut::FitCanopy(rows, spectrum, {20, false, threads}));
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_FitCanopy100k)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// 400 spectra drawn uniformly over the fit's ranges (another seed than the table's) fitted
// with the mean of the K best of R rows (arguments R/K): counters LAI_RMSE_le4 (the spectra
// with LAI <= 4), Cab_RMSE (all) and Cab_RMSE_le4, in the parameters' units. The time is
// mostly the table's.
void FitAccuracy(benchmark::State& state, bool refined)
{
    const auto tableRows = static_cast<std::uint64_t>(state.range(0));
    const int best = static_cast<int>(state.range(1));
    const lut::TableRows rows = lut::ComputeTableRows(FitTableSpec(tableRows, 1), 2);
    lut::TableSpec truthSpec = FitTableSpec(400, 77);
    truthSpec.sampling = lut::Sampling::Uniform;
    lut::Simulator simulator(truthSpec);
    double laiSquares = 0, cabSquares = 0, cabSquaresLe4 = 0;
    int countLe4 = 0;
    for (auto _ : state) {
        tools::NormalNoise noise(5);
        laiSquares = cabSquares = cabSquaresLe4 = 0;
        countLe4 = 0;
        for (std::uint64_t s = 0; s < truthSpec.samples; ++s) {
            const lut::ParameterValues truth = lut::SampleValues(truthSpec, s);
            const measured::GridValues spectrum = NoisySpectrum(simulator, truth, noise);
            const lut::CanopyFitResult fit = lut::FitCanopy(rows, spectrum, {best, false, 2});
            lut::ParameterValues found = fit.mean;
            if (refined) {
                found = lut::RefineCanopyFit(FitTableSpec(1, 1), spectrum, fit.mean, false)->values;
            }
            const double dLai = found[kLai] - truth[kLai];
            const double dCab = found[kCab] - truth[kCab];
            cabSquares += dCab * dCab;
            if (truth[kLai] > 4) continue;
            laiSquares += dLai * dLai;
            cabSquaresLe4 += dCab * dCab;
            ++countLe4;
        }
    }
    state.counters["LAI_RMSE_le4"] = std::sqrt(laiSquares / countLe4);
    state.counters["Cab_RMSE"] = std::sqrt(cabSquares / static_cast<double>(truthSpec.samples));
    state.counters["Cab_RMSE_le4"] = std::sqrt(cabSquaresLe4 / countLe4);
    state.counters["spectra_le4"] = countLe4;
}
void BM_FitCanopyAccuracy(benchmark::State& state) { FitAccuracy(state, false); }
void BM_FitCanopyRefinedAccuracy(benchmark::State& state) { FitAccuracy(state, true); }
BENCHMARK(BM_FitCanopyAccuracy)
    ->Args({20000, 20})
    ->Args({20000, 1})
    ->Args({100000, 20})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FitCanopyRefinedAccuracy)
    ->Args({20000, 20})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
