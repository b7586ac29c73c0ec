// The engine: leaf + canopy simulations in memory and into an HDF5 table at 1 and 2 threads,
// a 1,000,000-row table, the canopy fit against 100,000 rows and the hemispherical view.
#include <benchmark/benchmark.h>

#include "bench_tables.h"
#include "bench_work_dir.h"
#include "engine/engine.h"
#include "lut/lut_fit.h"
#include "lut/sampling.h"
#include "lut/table_run.h"

namespace {

using namespace tulmera;

engine::CanopyBatch SampledBatch(const lut::TableSpec& spec)
{
    engine::CanopyBatch batch;
    for (std::uint64_t row = 0; row < spec.samples; ++row) {
        const lut::ParameterValues v = lut::SampleValues(spec, row);
        batch.Append(lut::LeafOf(leaf::LeafModel::Classic, v), v[4], v[5], v[6], v[7], v[8]);
    }
    return batch;
}

engine::RunOptions Threads(benchmark::State& state)
{
    engine::RunOptions options;
    options.threads = static_cast<int>(state.range(0));
    return options;
}

// 4,096 leaf + canopy simulations in memory, all 421 wavelengths; items are simulations.
void BM_EngineCanopyInMemory(benchmark::State& state)
{
    const lut::TableSpec spec = FitTableSpec(4096);
    const engine::CanopyBatch batch = SampledBatch(spec);
    const engine::CanopyScene scene =
        engine::SceneOf(spec.leafArchitecture, spec.soil, spec.visibility);
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine::ComputeCanopySpectra(scene, batch, Threads(state)));
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BM_EngineCanopyInMemory)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The leaf alone (the leaf fit's evaluations), 4,096 leaves.
void BM_EngineLeafInMemory(benchmark::State& state)
{
    const engine::CanopyBatch batch = SampledBatch(FitTableSpec(4096));
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine::ComputeLeafSpectra(batch.leaf, Threads(state)));
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BM_EngineLeafInMemory)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// A table of `samples` rows into "t.h5"; items per second are simulations per second.
void TableBench(benchmark::State& state, std::uint64_t samples)
{
    BenchWorkDir dir;
    const lut::TableSpec spec = FitTableSpec(samples);
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state) lut::WriteTable("t.h5", spec, {{0, samples}, threads, nullptr, {}});
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(samples));
}

void BM_EngineTableHdf5(benchmark::State& state) { TableBench(state, 50000); }
BENCHMARK(BM_EngineTableHdf5)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EngineTable1M(benchmark::State& state) { TableBench(state, 1000000); }
BENCHMARK(BM_EngineTable1M)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// One spectrum (a table row of another seed) against 100,000 rows in memory.
void BM_EngineFitCanopy100k(benchmark::State& state)
{
    static const lut::TableRows rows = lut::ComputeTableRows(FitTableSpec(100000), 2);
    lut::TableSpec truth = FitTableSpec(1);
    truth.seed = 2;
    const lut::TableRows one = lut::ComputeTableRows(truth, 1);
    measured::GridValues spectrum;
    for (std::size_t i = 0; i < spectrum.size(); ++i) spectrum[i] = one.reflectance[i];
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(lut::FitCanopy(rows, spectrum, {20, false, threads}));
    }
}
BENCHMARK(BM_EngineFitCanopy100k)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The hemispherical view: 1,296 directions (2.5° by 10°) at 865 nm.
void BM_EngineHemisphere1296(benchmark::State& state)
{
    const lut::TableSpec spec = FitTableSpec(1);
    const engine::CanopyBatch one = SampledBatch(spec);
    const engine::CanopyScene scene =
        engine::SceneOf(spec.leafArchitecture, spec.soil, spec.visibility);
    const std::vector<engine::ViewDirection> views = engine::HemisphereGrid(2.5, 10.0);
    const int at865 = (865 - spectral::kFirstWavelengthNm) / spectral::kWavelengthStepNm;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine::ViewHemisphere(scene, one, views, at865, Threads(state)));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(views.size()));
}
BENCHMARK(BM_EngineHemisphere1296)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
