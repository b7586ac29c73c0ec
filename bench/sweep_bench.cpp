#include <benchmark/benchmark.h>

#include "bench_work_dir.h"
#include "multi/sweep.h"
#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"
#include "testing/recording_surface.h"

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
        tulmera::testing::RecordingSurface chart, legend;
        benchmark::DoNotOptimize(tulmera::multi::RunSweep(request, {chart, legend}));
    }
}
BENCHMARK(BM_SweepCmFullRange)->Unit(benchmark::kMillisecond);

// How the cost grows with the sweep's length: Cm from 0.002 by 0.0005 for 1, 8, 31 and 77
// values, drawn on raster surfaces of the window's size.
void BM_SweepLength(benchmark::State& state)
{
    BenchWorkDir dir;
    const auto values = static_cast<double>(state.range(0));
    const tulmera::multi::SweepRequest request{SweptParameter::Cm,
                                               tulmera::leaf::kStartLeafParameters,
                                               0.002 + 0.0005 * (values - 1), 0.002, 0.0005};
    for (auto _ : state) {
        tulmera::plot::RasterSurface chart(tulmera::plot::kSweepChartScale);
        tulmera::plot::RasterSurface legend(tulmera::plot::kLegendStripScale);
        benchmark::DoNotOptimize(tulmera::multi::RunSweep(request, {chart, legend}));
    }
    state.counters["per_value_us"] = benchmark::Counter(
        values, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SweepLength)->Arg(1)->Arg(8)->Arg(31)->Arg(77)->Unit(benchmark::kMillisecond);

}  // namespace
