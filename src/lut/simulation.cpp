#include "lut/simulation.h"

#include "canopy/canopy_run.h"
#include "leaf/leaf_spectrum.h"
#include "lut/printed_value.h"

namespace tulmera::lut {

spectral::Spectrum SimulateReflectance(const TableSpec& spec, const ParameterValues& values)
{
    const leaf::LeafSpectrum leafSpectrum = leaf::ComputeLeafSpectrum(LeafOf(values));
    spectral::Spectrum leafReflPct{}, leafTransPct{};
    for (std::size_t i = 0; i < leafReflPct.size(); ++i) {
        // As the canopy run reads "VP.dat": 100 times the value of the printed text.
        leafReflPct[i] = 100.0 * PrintedValue(leafSpectrum.refl[i]);
        leafTransPct[i] = 100.0 * PrintedValue(leafSpectrum.trans[i]);
    }
    const canopy::CanopyState state = canopy::ComputeCanopySpectrum(
        CanopyOf(spec, values), leafReflPct, leafTransPct, canopy::CanopyState{});
    spectral::Spectrum reflectance{};
    for (std::size_t i = 0; i < reflectance.size(); ++i) {
        reflectance[i] = state.canopyReflPct[i] / 100.0;  // as "VS.dat" writes it
    }
    return reflectance;
}

}  // namespace tulmera::lut
