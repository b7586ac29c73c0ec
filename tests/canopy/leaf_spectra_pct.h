#pragma once
#include "leaf/leaf_spectrum.h"
#include "spectral/grid.h"

// Leaf spectra in percent, as the canopy model reads them, for the canopy tests.
namespace tulmera::canopy {

struct LeafPct {
    spectral::Spectrum refl, trans;
};

// 100 times the leaf model's reflectance and transmittance for `p`.
inline LeafPct LeafSpectraPct(const leaf::LeafParameters& p)
{
    const leaf::LeafSpectrum s = leaf::ComputeLeafSpectrum(p);
    LeafPct pct{};
    for (std::size_t i = 0; i < s.refl.size(); ++i) {
        pct.refl[i] = 100.0 * s.refl[i];
        pct.trans[i] = 100.0 * s.trans[i];
    }
    return pct;
}

}  // namespace tulmera::canopy
