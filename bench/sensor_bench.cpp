#include <benchmark/benchmark.h>

#include "canopy/canopy_run.h"
#include "leaf/leaf_spectrum.h"
#include "sensor/band_values.h"
#include "sensor/indices.h"

namespace {

using namespace tulmera;

// The spectra of one refresh at the start leaf and LAI 3, computed once, in memory.
canopy::CanopyState StartRun()
{
    const leaf::LeafSpectrum leafSpectrum = leaf::ComputeLeafSpectrum(leaf::kStartLeafParameters);
    spectral::Spectrum reflPct{}, transPct{};
    for (std::size_t i = 0; i < reflPct.size(); ++i) {
        reflPct[i] = 100.0 * leafSpectrum.refl[i];
        transPct[i] = 100.0 * leafSpectrum.trans[i];
    }
    canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
    inputs.lai = 3;
    return canopy::ComputeCanopySpectrum(inputs, reflPct, transPct, canopy::CanopyState{});
}

// What a refresh adds: the canopy reflectance as fractions, the 17 indices, and for each of
// the nine sensors its canopy band values and broadband NDVI.
void BM_IndicesAndNineSensors(benchmark::State& state)
{
    const canopy::CanopyState run = StartRun();
    for (auto _ : state) {
        const spectral::Spectrum rho = sensor::FractionOfPercent(run.canopyReflPct);
        benchmark::DoNotOptimize(sensor::ComputeIndices(rho));
        for (const sensor::Sensor& s : sensor::kSensors) {
            benchmark::DoNotOptimize(sensor::BandMeans(rho, s));
            benchmark::DoNotOptimize(sensor::BroadbandNdvi(rho, s));
        }
    }
}
BENCHMARK(BM_IndicesAndNineSensors);

// The same with the band values of all four spectra of a band table (leaf reflectance and
// transmittance, canopy and soil reflectance) for each of the nine sensors: an upper bound.
void BM_IndicesAndNineSensorsFourSpectra(benchmark::State& state)
{
    const canopy::CanopyState run = StartRun();
    for (auto _ : state) {
        const spectral::Spectrum rho = sensor::FractionOfPercent(run.canopyReflPct);
        benchmark::DoNotOptimize(sensor::ComputeIndices(rho));
        for (const sensor::Sensor& s : sensor::kSensors) {
            for (const spectral::Spectrum* spectrum :
                 {&run.leafReflPct, &run.leafTransPct, &run.canopyReflPct, &run.soilRefl}) {
                benchmark::DoNotOptimize(sensor::BandMeans(*spectrum, s));
            }
            benchmark::DoNotOptimize(sensor::BroadbandNdvi(rho, s));
        }
    }
}
BENCHMARK(BM_IndicesAndNineSensorsFourSpectra);

}  // namespace
