#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

#include "bench_work_dir.h"
#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"
#include "refresh/refresh.h"

namespace {

using namespace tulmera;

// One full refresh of the main window's core path, as after a scroll-bar change: the leaf run
// writes "VP.dat", the leaf chart reads it back (reflectance and transmittance passes), the
// canopy run reads it and writes "VS.dat", the canopy chart reads that, and both charts are
// redrawn with the grid on image surfaces of pixel scale 1. Each refresh moves the chlorophyll
// scroll bar one step, so every file and curve changes. Reports the median and the 99th
// percentile of the single refresh times (wall clock, microseconds) as counters.
void BM_FullRefresh(benchmark::State& state)
{
    BenchWorkDir dir;
    plot::RasterSurface leafChart(plot::kLeafChartScale, 1);
    plot::RasterSurface canopyChart(plot::kCanopyChartScale, 1);
    const canopy::CanopyInputs canopyInputs = canopy::StartCanopyInputs();
    canopy::CanopyState canopyState;
    leaf::LeafParameters leafParameters = leaf::kStartLeafParameters;
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(state.max_iterations));
    int cabScroll = 1500;  // hsbProspect(1): 1500 .. 9000, divisor 100
    for (auto _ : state) {
        cabScroll = cabScroll >= 9000 ? 1500 : cabScroll + 10;
        leafParameters.Cab = cabScroll / 100.0;
        const auto start = std::chrono::steady_clock::now();
        refresh::Recompute(leafParameters, canopyInputs, canopyState, {leafChart, canopyChart},
                           plot::ChartBackground{plot::kGridEntry});
        const auto stop = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double fraction) {
        const auto index = static_cast<std::size_t>(fraction * static_cast<double>(micros.size()));
        return micros[std::min(index, micros.size() - 1)];
    };
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
}
BENCHMARK(BM_FullRefresh)->Iterations(2000)->Unit(benchmark::kMicrosecond);

}  // namespace
