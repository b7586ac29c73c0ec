// Look-up tables: leaf + canopy simulations per second into an HDF5 or CSV table at 1 and 2
// threads, one simulation alone, and loading a 100,000-row table.
#include <benchmark/benchmark.h>

#include "bench_tables.h"
#include "bench_work_dir.h"
#include "lut/sampling.h"
#include "lut/simulation.h"
#include "lut/table_run.h"

namespace {

using namespace tulmera;

// One sample: its parameters drawn, the leaf and canopy spectra in memory.
void BM_LutOneSimulation(benchmark::State& state)
{
    const lut::TableSpec spec = FitTableSpec(100000);
    lut::Simulator simulator(spec);
    std::uint64_t row = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(simulator.Simulate(lut::SampleValues(spec, row++)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LutOneSimulation);

// A whole table of `samples` rows written to FILE (its format by extension) by `threads`
// threads; items per second are simulations per second, file included.
void WriteTableBench(benchmark::State& state, const char* file, std::uint64_t samples)
{
    BenchWorkDir dir;
    const lut::TableSpec spec = FitTableSpec(samples);
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        lut::WriteTable(file, spec, {{0, samples}, threads, nullptr, {}});
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(samples));
}

void BM_LutTableHdf5(benchmark::State& state) { WriteTableBench(state, "t.h5", 20000); }
BENCHMARK(BM_LutTableHdf5)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LutTableCsv(benchmark::State& state) { WriteTableBench(state, "t.csv", 5000); }
BENCHMARK(BM_LutTableCsv)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Loading a 100,000-row HDF5 table (168 MB of reflectance) into memory.
void BM_LutLoad100k(benchmark::State& state)
{
    BenchWorkDir dir;
    constexpr std::uint64_t kRows = 100000;
    lut::WriteTable("t.h5", FitTableSpec(kRows), {{0, kRows}, 2, nullptr, {}});
    for (auto _ : state) benchmark::DoNotOptimize(lut::LoadTable("t.h5"));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRows));
}
BENCHMARK(BM_LutLoad100k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
