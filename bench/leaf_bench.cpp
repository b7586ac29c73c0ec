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

// The leaf run: the spectrum, its text and "VP.dat" replaced on disk.
void BM_LeafRunWithFile(benchmark::State& state)
{
    BenchWorkDir dir;
    for (auto _ : state) tulmera::leaf::RunProspect(kStartLeafParameters);
}
BENCHMARK(BM_LeafRunWithFile);

}  // namespace
