#include <cmath>
#include <exception>

#include "canopy/sailh.h"
#include "engine/engine.h"
#include "leaf/leaf_spectrum.h"
#include "parallel/parallel_for.h"
#include "textio/error.h"
#include "textio/number_text.h"

// The hemispherical view: one leaf and canopy seen from many directions at one wavelength.
// The leaf and the sky are computed once; each direction needs its own geometry (leaf-angle
// sums and hot spot) and one grid point of the layer, both through the exact path's scalar
// functions, so each value is the canopy run's own.
namespace tulmera::engine {
namespace {

constexpr std::size_t kDirectionsPerChunk = 36;

// The canopy run's rule for a reflectance (canopy_run.cpp): within 1e-12 of 0 .. 1 put on the
// bound, beyond it a fault.
double KeptFraction(double pct, int wavelengthNm)
{
    constexpr double kRounding = 1e-12;
    const double fraction = pct / 100.0;
    if (fraction >= 0.0 && fraction <= 1.0) return fraction;
    if (fraction < 0.0 && fraction > -kRounding) return 0.0;
    if (fraction > 1.0 && fraction < 1.0 + kRounding) return 1.0;
    throw Error("Canopy model at " + std::to_string(wavelengthNm) + " nm: the reflectance "
                + textio::NumberText(fraction) + " lies outside 0 to 1.");
}

}  // namespace

HemisphereView ViewHemisphere(const CanopyScene& scene, const CanopyBatch& oneSet,
                              std::span<const ViewDirection> views, int wavelengthIndex,
                              const RunOptions& options)
{
    const leaf::LeafSpectrum leafSpectrum = leaf::ComputeLeafSpectrum(oneSet.leaf.At(0));
    const auto at = static_cast<std::size_t>(wavelengthIndex);
    const int wavelengthNm = spectral::WavelengthNm(wavelengthIndex);
    const double leafReflPct = 100.0 * leafSpectrum.refl[at];
    const double leafTransPct = 100.0 * leafSpectrum.trans[at];
    const double lai = oneSet.lai[0], sun = oneSet.sunZenith[0], hotSpot = oneSet.hotSpot[0];
    const double weight =
        canopy::SkyMixWeight(scene.skyMix, canopy::SkyRatio(sun, scene.visibility)[at]);
    const double soilReflPct = scene.soilReflPct[at];

    HemisphereView out;
    out.refl.assign(views.size(), 0.0);
    out.error.assign(views.size(), {});
    parallel::LoopOptions loop;
    loop.threads = options.threads;
    loop.grain = kDirectionsPerChunk;
    loop.cancel = options.cancel;
    loop.progress = options.progress;
    const bool complete =
        parallel::ParallelFor(views.size(), loop, [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                try {
                    const canopy::SailhGeometry g = canopy::PrepareSailh(
                        {lai, sun, views[i].viewZenith, views[i].relAzimuth, hotSpot, scene.lidf});
                    const canopy::CanopyOptics o =
                        canopy::SailhCanopy(g, leafReflPct, leafTransPct, wavelengthNm);
                    const double pct =
                        canopy::MixedReflectancePct(canopy::CanopyOverSoil(o, soilReflPct), weight);
                    if (!std::isfinite(pct)) {
                        throw Error("Canopy model at " + std::to_string(wavelengthNm)
                                    + " nm: the canopy reflectance over the soil is not finite.");
                    }
                    out.refl[i] = KeptFraction(pct, wavelengthNm);
                } catch (const std::exception& e) {
                    out.error[i] = e.what();
                }
            }
        });
    if (!complete) throw Cancelled{};
    return out;
}

}  // namespace tulmera::engine
