#include <benchmark/benchmark.h>

#include "bench_work_dir.h"
#include "canopy/canopy_run.h"
#include "leaf/leaf_run.h"
#include "leaf/leaf_spectrum.h"
#include "spectral/soil_library.h"

namespace {

using namespace tulmera;

// A canopy that takes every branch of the model: sun and view off the zenith, a hot spot.
const leaf::LeafParameters kLeaf{1.5, 40, 0.01, 0.005};
const canopy::CanopyInputs kCanopy{3,
                                   30,
                                   -20,
                                   90,
                                   0.05,
                                   "Esferico",
                                   std::string(spectral::kSoilKeys[1]),
                                   canopy::Visibility::Km50};

// One canopy spectrum (421 grid points) in memory, from leaf spectra already in memory: the
// leaf angles, soil and sky ratio selected, the model over the grid.
void BM_CanopySpectrumInMemory(benchmark::State& state)
{
    const leaf::LeafSpectrum leafSpectrum = leaf::ComputeLeafSpectrum(kLeaf);
    spectral::Spectrum reflPct{}, transPct{};
    for (std::size_t i = 0; i < reflPct.size(); ++i) {
        reflPct[i] = 100.0 * leafSpectrum.refl[i];
        transPct[i] = 100.0 * leafSpectrum.trans[i];
    }
    const canopy::CanopyState previous;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            canopy::ComputeCanopySpectrum(kCanopy, reflPct, transPct, previous));
    }
}
BENCHMARK(BM_CanopySpectrumInMemory);

// The whole chain of one refresh: leaf run writing "VP.dat", canopy run reading it back and
// replacing "VS.dat".
void BM_LeafAndCanopyRunsWithFiles(benchmark::State& state)
{
    BenchWorkDir dir;
    canopy::CanopyState canopyState;
    for (auto _ : state) {
        leaf::RunProspect(kLeaf);
        canopy::RunSailh(kCanopy, canopyState);
    }
}
BENCHMARK(BM_LeafAndCanopyRunsWithFiles);

}  // namespace
