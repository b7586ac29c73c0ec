#include <benchmark/benchmark.h>

#include "bench_work_dir.h"
#include "leaf/leaf_run.h"
#include "leaf/leaf_spectrum.h"

namespace {

using tulmera::leaf::kStartLeafParameters;

// One leaf spectrum (421 grid points) computed in memory.
void BM_LeafSpectrumInMemory(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(tulmera::leaf::ComputeLeafSpectrum(kStartLeafParameters));
    }
}
BENCHMARK(BM_LeafSpectrumInMemory);

// The same for PROSPECT-D and PROSPECT-PRO: the start leaf with every pigment present (the
// cost depends on the leaf: a thicker one takes the costlier branch of E1 more often).
void BM_ProspectDSpectrumInMemory(benchmark::State& state)
{
    const tulmera::leaf::LeafParameters d{
        1, 15, 0.0001, 0.002, 8, 1, 0.1, 0, 0, tulmera::leaf::LeafModel::ProspectD};
    for (auto _ : state) benchmark::DoNotOptimize(tulmera::leaf::ComputeLeafSpectrum(d));
}
BENCHMARK(BM_ProspectDSpectrumInMemory);

void BM_ProspectProSpectrumInMemory(benchmark::State& state)
{
    const tulmera::leaf::LeafParameters pro{
        1, 15, 0.0001, 0, 8, 1, 0.1, 0.0005, 0.0015, tulmera::leaf::LeafModel::ProspectPro};
    for (auto _ : state) benchmark::DoNotOptimize(tulmera::leaf::ComputeLeafSpectrum(pro));
}
BENCHMARK(BM_ProspectProSpectrumInMemory);

// The leaf run: the spectrum, its text and "VP.dat" replaced on disk.
void BM_LeafRunWithFile(benchmark::State& state)
{
    BenchWorkDir dir;
    for (auto _ : state) tulmera::leaf::RunProspect(kStartLeafParameters);
}
BENCHMARK(BM_LeafRunWithFile);

}  // namespace
