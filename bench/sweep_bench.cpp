#include <benchmark/benchmark.h>

#include "bench_work_dir.h"
#include "multi/sweep.h"
#include "plot/recording_surface.h"

namespace {

using tulmera::multi::SweptParameter;

// The longest sweep the window allows: Cm from 0.002 to 0.04 by 0.0005, 77 values, each a
// block appended to "MVP.dat", "MVPaint.dat" replaced, read back and drawn with its legend box.
void BM_SweepCmFullRange(benchmark::State& state)
{
    BenchWorkDir dir;
    const tulmera::multi::SweepRequest request{
        SweptParameter::Cm, tulmera::leaf::kStartLeafParameters, 0.04, 0.002, 0.0005};
    for (auto _ : state) {
        tulmera::plot::RecordingSurface chart, legend;
        benchmark::DoNotOptimize(tulmera::multi::RunSweep(request, {chart, legend}));
    }
}
BENCHMARK(BM_SweepCmFullRange)->Unit(benchmark::kMillisecond);

}  // namespace
