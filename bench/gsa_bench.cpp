// Sensitivity analysis: the nine parameters at N = 4,096 (45,056 simulations) over the 421
// wavelengths and 17 indices on 2 threads, its two parts apart (simulations; estimators with
// 200 bootstrap resamples), and the window's lesson (five parameters, N = 256).
#include <benchmark/benchmark.h>

#include "gsa/gsa_run.h"
#include "gsa/quantities.h"

namespace {

using namespace tulmera;

gsa::GsaSpec NineParameters(std::uint64_t samples)
{
    gsa::GsaSpec spec = gsa::HeldAnalysis(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
    gsa::SetLessonRanges(spec);
    const auto vary = [&spec](lut::Parameter p, double lo, double hi) {
        spec.model.ranges[static_cast<std::size_t>(p)] = {lo, hi, true};
    };
    vary(lut::Parameter::Sun, 0, 60);
    vary(lut::Parameter::View, -30, 30);
    vary(lut::Parameter::Azimuth, 0, 180);
    vary(lut::Parameter::HotSpot, 0.01, 0.5);
    spec.samples = samples;
    spec.quantities = {gsa::QuantitySet::Spectrum, gsa::QuantitySet::Indices};
    return spec;
}

void BM_GsaNineParametersWhole(benchmark::State& state)
{
    const gsa::GsaSpec spec = NineParameters(4096);
    for (auto _ : state) benchmark::DoNotOptimize(gsa::RunAnalysis(spec, {2, nullptr, {}}));
    state.counters["simulations"] = static_cast<double>(gsa::SimulationCount(spec));
}
BENCHMARK(BM_GsaNineParametersWhole)->Unit(benchmark::kSecond)->Iterations(1);

void BM_GsaNineParametersEstimators(benchmark::State& state)
{
    const gsa::GsaSpec spec = NineParameters(4096);
    // The outputs of a cheap stand-in of the same shape: the estimators' cost alone.
    gsa::DesignOutputs outputs{9, gsa::QuantityNames(spec).size(), 0, {}};
    outputs.values.resize(4096 * 11 * outputs.quantities);
    for (std::size_t v = 0; v < outputs.values.size(); ++v)
        outputs.values[v] = static_cast<double>((v * 2654435761u) % 1000) / 1000.0;
    for (auto _ : state) benchmark::DoNotOptimize(gsa::AnalyseOutputs(spec, outputs, 2));
}
BENCHMARK(BM_GsaNineParametersEstimators)->Unit(benchmark::kSecond)->Iterations(1);

void BM_GsaLesson(benchmark::State& state)
{
    gsa::GsaSpec spec = gsa::HeldAnalysis(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
    gsa::SetLessonRanges(spec);
    spec.samples = 256;
    spec.quantities = {gsa::QuantitySet::Spectrum, gsa::QuantitySet::Indices,
                       gsa::QuantitySet::Fluxes};
    for (auto _ : state) benchmark::DoNotOptimize(gsa::RunAnalysis(spec, {2, nullptr, {}}));
}
BENCHMARK(BM_GsaLesson)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
