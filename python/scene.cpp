#include "scene.h"

#include "textio/printed_value.h"

namespace tulmera::python {

leaf::LeafSpectrum SimulateLeaf(const leaf::LeafParameters& p)
{
    return leaf::ComputeLeafSpectrum(p);
}

SceneResult SimulateScene(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& inputs,
                          bool withFluxes)
{
    const leaf::LeafSpectrum leafSpectrum = SimulateLeaf(leaf);
    spectral::Spectrum leafReflPct{}, leafTransPct{};
    for (std::size_t i = 0; i < leafReflPct.size(); ++i) {
        // As the canopy run reads "VP.dat": 100 times the value of the printed text.
        leafReflPct[i] = 100.0 * textio::PrintedValue(leafSpectrum.refl[i]);
        leafTransPct[i] = 100.0 * textio::PrintedValue(leafSpectrum.trans[i]);
    }
    const canopy::CanopyState none;  // as a batch run starts: no previous run to keep
    const canopy::CanopyState state =
        canopy::ComputeCanopySpectrum(inputs, leafReflPct, leafTransPct, none);
    SceneResult result{};
    for (std::size_t i = 0; i < result.reflectance.size(); ++i) {
        result.reflectance[i] = state.canopyReflPct[i] / 100.0;  // as "VS.dat" writes it
    }
    if (withFluxes) result.fluxes = canopy::ComputeCanopyFluxes(state, inputs.skyMix);
    return result;
}

}  // namespace tulmera::python
