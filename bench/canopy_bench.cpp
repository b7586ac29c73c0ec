#include <benchmark/benchmark.h>

#include "bench_work_dir.h"
#include "canopy/canopy_fluxes.h"
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
struct LeafPct {
    spectral::Spectrum refl{}, trans{};
};

LeafPct LeafSpectraPct()
{
    const leaf::LeafSpectrum leafSpectrum = leaf::ComputeLeafSpectrum(kLeaf);
    LeafPct pct;
    for (std::size_t i = 0; i < pct.refl.size(); ++i) {
        pct.refl[i] = 100.0 * leafSpectrum.refl[i];
        pct.trans[i] = 100.0 * leafSpectrum.trans[i];
    }
    return pct;
}

void BM_CanopySpectrumInMemory(benchmark::State& state)
{
    const LeafPct leaf = LeafSpectraPct();
    const canopy::CanopyState previous;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            canopy::ComputeCanopySpectrum(kCanopy, leaf.refl, leaf.trans, previous));
    }
}
BENCHMARK(BM_CanopySpectrumInMemory);

// The canopy's fluxes (albedos, absorptance, fAPAR, fCover) of the run above, computed on
// request beside it.
void BM_CanopyFluxesInMemory(benchmark::State& state)
{
    const LeafPct leaf = LeafSpectraPct();
    const canopy::CanopyState run =
        canopy::ComputeCanopySpectrum(kCanopy, leaf.refl, leaf.trans, canopy::CanopyState{});
    for (auto _ : state) {
        benchmark::DoNotOptimize(canopy::ComputeCanopyFluxes(run, canopy::SkyMix::Classic));
    }
}
BENCHMARK(BM_CanopyFluxesInMemory);

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
