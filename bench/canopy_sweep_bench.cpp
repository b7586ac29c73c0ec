#include <benchmark/benchmark.h>

#include "bench_work_dir.h"
#include "multi/canopy_sweep.h"
#include "multi/canopy_sweep_charts.h"
#include "multi/sweep_quantity.h"
#include "plot/chart_geometry.h"
#include "plot/quantity_chart.h"
#include "plot/raster_surface.h"
#include "textio/staged_files.h"

namespace {

using tulmera::multi::CanopySweptParameter;

// The principal plane from -80 to 80 by 1 at sun 30 and LAI 3, 161 values: the sweep in memory,
// "MVS.dat" published, the curves with their legend and the NDVI chart drawn on raster
// surfaces of the window's size.
void BM_CanopySweepPrincipalPlane(benchmark::State& state)
{
    BenchWorkDir dir;
    tulmera::multi::CanopySweepRequest request;
    request.swept = CanopySweptParameter::Plane;
    request.canopy.lai = 3.0;
    request.canopy.sunZenith = 30.0;
    request.canopy.hotSpot = 0.1;
    request.limits = {-80.0, 80.0, 1.0};
    const tulmera::multi::SweepQuantity ndvi = *tulmera::multi::ParseSweepQuantity("NDVI");
    for (auto _ : state) {
        const tulmera::multi::CanopySweepResult result =
            tulmera::multi::ComputeCanopySweep(request);
        tulmera::textio::StagedFiles staged;
        tulmera::multi::StageCanopySweepFile(result, staged);
        staged.Publish();
        tulmera::plot::RasterSurface curves(tulmera::plot::kSweepChartScale);
        tulmera::plot::RasterSurface legend(tulmera::plot::kLegendStripScale);
        tulmera::plot::RasterSurface quantity(tulmera::plot::kQuantityChartScale);
        tulmera::multi::PaintCanopySweepCurves({curves, legend}, result);
        benchmark::DoNotOptimize(tulmera::multi::PaintSweepQuantity(quantity, result, ndvi));
    }
}
BENCHMARK(BM_CanopySweepPrincipalPlane)->Unit(benchmark::kMillisecond);

}  // namespace
