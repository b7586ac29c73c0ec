#include <benchmark/benchmark.h>

#include "bench_work_dir.h"
#include "leaf/leaf_run.h"
#include "plot/chart_geometry.h"
#include "plot/chart_images.h"
#include "plot/main_charts.h"
#include "plot/raster_surface.h"
#include "spectral/soil_library.h"
#include "textio/text_file.h"

namespace {

using namespace tulmera;

// A "VS.dat" of the canopy run's list layout.
void WriteCanopyFile()
{
    std::string text;
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        text +=
            std::to_string(spectral::WavelengthNm(i)) + ",0.0" + std::to_string(100 + i) + "\r\n";
    }
    textio::ReplaceTextFile(kCanopySpectrumFile, text);
}

// The drawing part of one main-window refresh on image surfaces of pixel scale K (argument),
// with the grid (background 1) or the Terra-MODIS bands (7): both charts cleared, background,
// four curves read back from the files.
void BM_RefreshCharts(benchmark::State& state)
{
    BenchWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    WriteCanopyFile();
    spectral::Spectrum soil{};
    spectral::LoadSoil(spectral::kSoilKeys[0], soil);
    const int k = static_cast<int>(state.range(0));
    const plot::ChartBackground background{static_cast<int>(state.range(1))};
    plot::RasterSurface leafChart(plot::kLeafChartScale, k);
    plot::RasterSurface canopyChart(plot::kCanopyChartScale, k);
    for (auto _ : state) {
        plot::PaintBackground({leafChart, canopyChart}, background);
        plot::PaintProspect(leafChart);
        plot::PaintSailh(canopyChart);
        plot::PaintSoil(canopyChart, soil);
        benchmark::DoNotOptimize(canopyChart.image().constBits());
    }
}
BENCHMARK(BM_RefreshCharts)->Args({1, 1})->Args({1, 7})->Args({3, 1})->Args({3, 7});

// Both chart images at scale 3 encoded and written as PNG files.
void BM_SaveChartPngs(benchmark::State& state)
{
    BenchWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    WriteCanopyFile();
    spectral::Spectrum soil{};
    spectral::LoadSoil(spectral::kSoilKeys[0], soil);
    plot::RasterSurface leafChart(plot::kLeafChartScale, 3);
    plot::RasterSurface canopyChart(plot::kCanopyChartScale, 3);
    plot::PaintBackground({leafChart, canopyChart}, {});
    plot::PaintProspect(leafChart);
    plot::PaintSailh(canopyChart);
    plot::PaintSoil(canopyChart, soil);
    for (auto _ : state) {
        plot::SavePng(leafChart.image(), "leaf.png");
        plot::SavePng(canopyChart.image(), "canopy.png");
    }
}
BENCHMARK(BM_SaveChartPngs);

}  // namespace
