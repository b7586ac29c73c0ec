#include "engine/engine.h"

#include <cmath>
#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <span>

#include "canopy/canopy_run.h"
#include "canopy/sailh.h"
#include "engine/kernels.h"
#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "leaf/prospect.h"
#include "parallel/parallel_for.h"

namespace tulmera::engine {
namespace {

using detail::Padded;
using spectral::kWavelengthCount;
constexpr std::size_t kGrid = kWavelengthCount;
constexpr std::size_t kSetsPerChunk = 16;  // sets a worker takes at a time

// One worker's scratch for one leaf: the kernel's intermediate and final spectra.
using LeafWork = detail::LeafKernelWork;

// The leaf of `p` into w.refl and w.trans (fractions); returns the refusal's message, or
// nothing. The kernel's values when all are physical, else the exact path's (its values put
// on the bound within rounding, or its message).
std::string LeafSet(const leaf::LeafParameters& p, LeafWork& w)
{
    try {
        leaf::CheckLeafParameters(p);
        if (detail::LeafKernel(detail::TablesOf(p.model), detail::TermCoefficients(p), p.N, w)) {
            return {};
        }
        const leaf::LeafSpectrum exact = leaf::ComputeLeafSpectrum(p);
        detail::Pad(exact.refl, w.refl);
        detail::Pad(exact.trans, w.trans);
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}

}  // namespace

LeafEvaluator::LeafEvaluator() : work_(std::make_unique<detail::LeafKernelWork>()) {}
LeafEvaluator::~LeafEvaluator() = default;

bool LeafEvaluator::Compute(const leaf::LeafParameters& p)
{
    return detail::LeafKernel(detail::TablesOf(p.model), detail::TermCoefficients(p), p.N, *work_);
}

bool LeafEvaluator::Compute(const leaf::LeafParameters& p, std::size_t first, std::size_t last)
{
    return detail::LeafKernel(detail::TablesOf(p.model), detail::TermCoefficients(p), p.N, *work_,
                              detail::PaddedRangeAround(first, last));
}

const double* LeafEvaluator::Reflectance() const { return work_->refl.data(); }
const double* LeafEvaluator::Transmittance() const { return work_->trans.data(); }

namespace {

// The exact leaf at a grid point the canopy kernel left to the exact path: what the set's leaf
// spectra hold there, while the worker's kernel leaf stays as the kernel computed it.
struct ExactLeafPoint {
    std::size_t index;
    double refl, trans;
};

// The grid points of one set near the canopy's singularity, gathered: the exact leaf there,
// soil and sky, and what the kernel's exact form computes from them.
struct NearSingularPoints {
    Padded leafRefl, leafTrans, soilReflPct, skyRatioPct, refl;
    std::array<Padded, 8> flux;
};

// A worker's scratch for one canopy. The sky ratio is kept while the sun stays the same, and
// the leaf while the leaf parameters do: `leafOf` names the parameters whose kernel leaf (or,
// where the kernel handed the leaf back, exact leaf) `leaf` holds, unchanged by the canopy.
struct CanopyWork {
    LeafWork leaf;
    std::optional<leaf::LeafParameters> leafOf;
    std::vector<ExactLeafPoint> exactLeafPoints;  // of the current set
    NearSingularPoints near;
    Padded soilReflPct, skyRatioPct, refl, nearSingular;
    double skySunZenith = std::numeric_limits<double>::quiet_NaN();
    bool soilReady = false;
    std::array<Padded, 8> flux;
};

// The canopy kernel's flux outputs into `flux`, or none when the fluxes are not wanted.
detail::CanopyFluxOutputs FluxOutputs(std::array<Padded, 8>& flux, bool wanted)
{
    if (!wanted) return {};
    return {flux[0].data(), flux[1].data(), flux[2].data(), flux[3].data(),
            flux[4].data(), flux[5].data(), flux[6].data(), flux[7].data()};
}

canopy::CanopyInputs InputsOf(const CanopyScene& scene, const CanopyBatch& batch, std::size_t i)
{
    // No list texts: the scene's leaf angles and soil come in through the previous state.
    return {batch.lai[i],
            batch.sunZenith[i],
            batch.viewAngle[i],
            batch.relAzimuth[i],
            batch.hotSpot[i],
            "",
            "",
            scene.visibility,
            scene.skyMix};
}

// The exact path's leaf and canopy runs of set i, for a set the kernels could not vouch for:
// the values the runs keep, or the message of the one that refused (as an exception). The leaf
// is the exact one too, so that a message quoting a value quotes the exact path's digits.
canopy::CanopyState ExactCanopy(const CanopyScene& scene, const CanopyBatch& batch, std::size_t i,
                                CanopyWork& w)
{
    const leaf::LeafSpectrum exactLeaf = leaf::ComputeLeafSpectrum(batch.leaf.At(i));
    detail::Pad(exactLeaf.refl, w.leaf.refl);
    detail::Pad(exactLeaf.trans, w.leaf.trans);
    spectral::Spectrum leafReflPct{}, leafTransPct{};
    for (std::size_t j = 0; j < kGrid; ++j) {
        leafReflPct[j] = 100.0 * exactLeaf.refl[j];
        leafTransPct[j] = 100.0 * exactLeaf.trans[j];
    }
    canopy::CanopyState previous;
    previous.lidf = scene.lidf;
    previous.soilRefl = scene.soilReflPct;
    return canopy::ComputeCanopySpectrum(InputsOf(scene, batch, i), leafReflPct, leafTransPct,
                                         previous);
}

// A leaf value as leaf::ComputeLeafSpectrum keeps it (within 1e-12 of 0 .. 1 on the bound),
// or nothing for one it refuses.
std::optional<double> KeptLeafFraction(double value)
{
    if (value >= 0.0 && value <= 1.0) return value;
    if (value < 0.0 && value > -leaf::kFractionRounding) return 0.0;
    if (value > 1.0 && value < 1.0 + leaf::kFractionRounding) return 1.0;
    return std::nullopt;
}

// leaf::ModelLeafOptics(p, index). Where the kernel's layer transmission is the exact path's
// to the bit (the same k, in the careful range), so are its elementary layer and pile roots,
// and only the pile's powers remain; elsewhere the whole exact computation.
leaf::LeafOptics ExactLeafAt(const leaf::LeafParameters& p, int index, const LeafWork& w)
{
    const double k = leaf::ModelAbsorption(p, index);
    const std::size_t at = static_cast<std::size_t>(index);
    if (k == w.k.v[at] && detail::TransmissionIsExact(k)) {
        const leaf::ElementaryLayer layer{w.r.v[at], w.t.v[at], w.ra.v[at], w.ta.v[at]};
        return leaf::PileOpticsOfRoots(p.N, layer, {w.va.v[at], w.vb.v[at]});
    }
    return leaf::StackOptics(p.N, leaf::ModelRefractiveIndex(p.model, index),
                             leaf::LayerTransmission(k),
                             leaf::ModelTransmissivities(p.model, index));
}

// The canopy at one grid point the kernel marked near the singularity, with the exact path's
// scalar functions from the exact leaf there: false when a value is not one the kernel may
// keep (the caller then runs the exact path). Throws as canopy::SailhCanopy does.
bool ExactCanopyAt(const CanopyScene& scene, const canopy::SailhGeometry& g, std::size_t j,
                   double leafRefl, double leafTrans, CanopyWork& w, bool fluxes)
{
    const canopy::CanopyOptics o = canopy::SailhCanopy(g, 100.0 * leafRefl, 100.0 * leafTrans,
                                                       spectral::WavelengthNm(static_cast<int>(j)));
    const double weight = canopy::SkyMixWeight(scene.skyMix, w.skyRatioPct.v[j]);
    const canopy::SoilCoupledReflectance r = canopy::CanopyOverSoil(o, w.soilReflPct.v[j]);
    const double fraction = canopy::MixedReflectancePct(r, weight) / 100.0;
    if (!(fraction >= 0.0 && fraction <= 1.0)) return false;
    w.refl.v[j] = fraction;
    if (fluxes) {
        const canopy::CanopyPointFluxes f = canopy::CanopyFluxesAt(o, w.soilReflPct.v[j], weight);
        const std::array<double, 8> values = {r.rsot, r.rdot, f.rsdt,        f.rddt,
                                              f.As,   f.Ad,   f.absorptance, f.albedo};
        for (std::size_t s = 0; s < values.size(); ++s) {
            if (!std::isfinite(values[s])) return false;
            w.flux[s].v[j] = values[s];
        }
    }
    return true;
}

// The grid points the canopy kernel marked near the singularity, recomputed from the exact
// leaf at each with the exact path's operations: the exact path's values. The points are
// gathered into vectors for the kernel's exact form; should it find a value it may not keep,
// the scalar functions decide point by point. Returns false when a point is not one the kernel
// may keep (the caller then runs the exact path).
bool RecomputeNearSingular(const CanopyScene& scene, const leaf::LeafParameters& p,
                           const canopy::SailhGeometry& g,
                           const detail::CanopyGeometryValues& values, CanopyWork& w, bool fluxes)
{
    NearSingularPoints& near = w.near;
    std::size_t count = 0;
    for (std::size_t j = 0; j < kGrid; ++j) {
        if (w.nearSingular.v[j] == 0.0) continue;
        const leaf::LeafOptics exactLeaf = ExactLeafAt(p, static_cast<int>(j), w.leaf);
        const std::optional<double> refl = KeptLeafFraction(exactLeaf.refl);
        const std::optional<double> trans = KeptLeafFraction(exactLeaf.trans);
        if (!refl || !trans || !std::isfinite(exactLeaf.refl) || !std::isfinite(exactLeaf.trans)) {
            return false;
        }
        w.exactLeafPoints.push_back({j, *refl, *trans});
        near.leafRefl.v[count] = *refl;
        near.leafTrans.v[count] = *trans;
        near.soilReflPct.v[count] = w.soilReflPct.v[j];
        near.skyRatioPct.v[count] = w.skyRatioPct.v[j];
        ++count;
    }
    if (count == 0) return true;
    // The rest of the last vector repeats the last point.
    for (std::size_t c = count; c % 8 != 0; ++c) {
        for (Padded* column :
             {&near.leafRefl, &near.leafTrans, &near.soilReflPct, &near.skyRatioPct})
            column->v[c] = column->v[count - 1];
    }
    const detail::CanopyFluxOutputs outputs = FluxOutputs(near.flux, fluxes);
    if (!detail::ExactCanopyKernel(values, near.leafRefl, near.leafTrans, near.soilReflPct,
                                   near.skyRatioPct, scene.skyMix == canopy::SkyMix::Physical,
                                   count, near.refl, outputs)) {
        for (const ExactLeafPoint& point : w.exactLeafPoints) {
            if (!ExactCanopyAt(scene, g, point.index, point.refl, point.trans, w, fluxes))
                return false;
        }
        return true;
    }
    for (std::size_t c = 0; c < count; ++c) {
        const std::size_t j = w.exactLeafPoints[c].index;
        w.refl.v[j] = near.refl.v[c];
        if (!fluxes) continue;
        for (std::size_t s = 0; s < near.flux.size(); ++s) w.flux[s].v[j] = near.flux[s].v[c];
    }
    return true;
}

// Leaf and canopy of set i into w (w.leaf, w.refl and, with fluxes, w.flux); returns the
// message of the model that refused the set, or nothing.
std::string CanopySet(const CanopyScene& scene, const CanopyBatch& batch, std::size_t i,
                      CanopyWork& w, bool fluxes)
{
    const leaf::LeafParameters p = batch.leaf.At(i);
    w.exactLeafPoints.clear();
    if (w.leafOf != p) {
        w.leafOf.reset();
        if (std::string error = LeafSet(p, w.leaf); !error.empty()) return error;
        w.leafOf = p;
    }
    if (!w.soilReady) {
        detail::Pad(scene.soilReflPct, w.soilReflPct);
        w.soilReady = true;
    }
    try {
        const double sun = batch.sunZenith[i];
        const canopy::SailhGeometry g =
            canopy::PrepareSailh({batch.lai[i], sun, std::abs(batch.viewAngle[i]),
                                  batch.relAzimuth[i], batch.hotSpot[i], scene.lidf});
        if (!(sun == w.skySunZenith)) {
            detail::Pad(canopy::SkyRatio(sun, scene.visibility), w.skyRatioPct);
            w.skySunZenith = sun;
        }
        const detail::CanopyGeometryValues values{
            g.pi, g.lai, g.Sc, g.S1, g.S2, g.kL, g.KL, g.tss, g.too, g.tsstoo, g.hotSpotIntegral};
        const detail::CanopyFluxOutputs outputs = FluxOutputs(w.flux, fluxes);
        if (detail::CanopyKernel(values, w.leaf.refl, w.leaf.trans, w.soilReflPct, w.skyRatioPct,
                                 scene.skyMix == canopy::SkyMix::Physical, w.refl, w.nearSingular,
                                 outputs)
            && RecomputeNearSingular(scene, p, g, values, w, fluxes)) {
            return {};
        }
        w.leafOf.reset();  // the exact leaf replaces the kernel's
        w.exactLeafPoints.clear();
        const canopy::CanopyState exact = ExactCanopy(scene, batch, i, w);
        for (std::size_t j = 0; j < kGrid; ++j) w.refl.v[j] = exact.canopyReflPct[j] / 100.0;
        if (fluxes) {
            const canopy::CanopyFluxes f = canopy::ComputeCanopyFluxes(exact, scene.skyMix);
            const std::array<const spectral::Spectrum*, 8> from = {
                &f.rsot, &f.rdot, &f.rsdt, &f.rddt, &f.As, &f.Ad, &f.absorptance, &f.albedo};
            for (std::size_t s = 0; s < from.size(); ++s) detail::Pad(*from[s], w.flux[s]);
        }
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}

void CopyGrid(const Padded& from, Values& to, std::size_t set)
{
    std::copy(from.v.begin(), from.v.begin() + kGrid,
              to.begin() + static_cast<std::ptrdiff_t>(set * kGrid));
}

// Zeros for a set that failed (Values leaves them unset).
void ZeroGrid(Values& to, std::size_t set)
{
    std::fill_n(to.begin() + static_cast<std::ptrdiff_t>(set * kGrid), kGrid, 0.0);
}

// The set's leaf spectra: the kernel's, with the exact leaf where the canopy needed it.
void CopyLeaf(const CanopyWork& w, Values& refl, Values& trans, std::size_t set)
{
    CopyGrid(w.leaf.refl, refl, set);
    CopyGrid(w.leaf.trans, trans, set);
    for (const ExactLeafPoint& point : w.exactLeafPoints) {
        refl[set * kGrid + point.index] = point.refl;
        trans[set * kGrid + point.index] = point.trans;
    }
}

// Runs body(i, scratch) for every set on the options' threads, one scratch per chunk.
template <typename Work, typename Body>
void ForEachSet(std::size_t count, const RunOptions& options, const Body& body)
{
    parallel::LoopOptions loop;
    loop.threads = options.threads;
    loop.grain = kSetsPerChunk;
    loop.cancel = options.cancel;
    loop.progress = options.progress;
    loop.meanwhile = options.meanwhile;
    const bool complete =
        parallel::ParallelFor(count, loop, [&](std::size_t begin, std::size_t end) {
            const std::unique_ptr<Work> work(new Work);  // default-initialised: no 50 kB to zero
            for (std::size_t i = begin; i < end; ++i) body(i, *work);
        });
    if (!complete) throw Cancelled{};
}

}  // namespace

LeafSpectraBatch ComputeLeafSpectra(const LeafBatch& batch, const RunOptions& options)
{
    const std::size_t count = batch.Count();
    LeafSpectraBatch out;
    out.refl.resize(count * kGrid);
    out.trans.resize(count * kGrid);
    out.error.assign(count, {});
    ForEachSet<LeafWork>(count, options, [&](std::size_t i, LeafWork& w) {
        out.error[i] = LeafSet(batch.At(i), w);
        if (!out.error[i].empty()) {
            ZeroGrid(out.refl, i);
            ZeroGrid(out.trans, i);
            return;
        }
        CopyGrid(w.refl, out.refl, i);
        CopyGrid(w.trans, out.trans, i);
    });
    return out;
}

CanopySpectraBatch ComputeCanopySpectra(const CanopyScene& scene, const CanopyBatch& batch,
                                        const RunOptions& options, bool keepLeaf)
{
    const std::size_t count = batch.Count();
    CanopySpectraBatch out;
    out.refl.resize(count * kGrid);
    if (keepLeaf) {
        out.leafRefl.resize(count * kGrid);
        out.leafTrans.resize(count * kGrid);
    }
    out.error.assign(count, {});
    ForEachSet<CanopyWork>(count, options, [&](std::size_t i, CanopyWork& w) {
        out.error[i] = CanopySet(scene, batch, i, w, false);
        const bool failed = !out.error[i].empty();
        if (failed) {
            ZeroGrid(out.refl, i);
        } else {
            CopyGrid(w.refl, out.refl, i);
        }
        if (!keepLeaf) return;
        if (failed) {
            ZeroGrid(out.leafRefl, i);
            ZeroGrid(out.leafTrans, i);
        } else {
            CopyLeaf(w, out.leafRefl, out.leafTrans, i);
        }
    });
    return out;
}

CanopyFluxesBatch ComputeCanopyFluxesBatch(const CanopyScene& scene, const CanopyBatch& batch,
                                           const RunOptions& options, FluxSpectra spectra)
{
    const std::size_t count = batch.Count();
    const bool keepSpectra = spectra == FluxSpectra::Kept;
    CanopyFluxesBatch out;
    out.scalars.assign(count, {});
    if (keepSpectra) out.fluxes.assign(count, {});
    out.refl.resize(count * kGrid);
    out.error.assign(count, {});
    ForEachSet<CanopyWork>(count, options, [&](std::size_t i, CanopyWork& w) {
        out.error[i] = CanopySet(scene, batch, i, w, true);
        if (!out.error[i].empty()) {
            ZeroGrid(out.refl, i);
            return;
        }
        FluxScalars& f = out.scalars[i];
        using canopy::GridMean;
        const std::span<const double> absorptance = w.flux[6].v, albedo = w.flux[7].v;
        f.fAPAR = GridMean(absorptance, canopy::kParFirstNm, canopy::kParLastNm);
        f.albedoPar = GridMean(albedo, canopy::kParFirstNm, canopy::kParLastNm);
        f.albedoNir = GridMean(albedo, canopy::kNirFirstNm, canopy::kNirLastNm);
        f.albedoShortwave = GridMean(albedo, canopy::kShortwaveFirstNm, canopy::kShortwaveLastNm);
        try {
            const double nadirGap =
                canopy::PrepareSailh({batch.lai[i], batch.sunZenith[i], 0.0, batch.relAzimuth[i],
                                      batch.hotSpot[i], scene.lidf})
                    .too;
            f.fCover = 1.0 - nadirGap;
        } catch (const std::exception& e) {
            out.error[i] = e.what();
            f = {};
            ZeroGrid(out.refl, i);
            return;
        }
        CopyGrid(w.refl, out.refl, i);
        if (!keepSpectra) return;
        canopy::CanopyFluxes& kept = out.fluxes[i];
        const std::array<spectral::Spectrum*, 8> to = {&kept.rsot,        &kept.rdot,  &kept.rsdt,
                                                       &kept.rddt,        &kept.As,    &kept.Ad,
                                                       &kept.absorptance, &kept.albedo};
        for (std::size_t s = 0; s < to.size(); ++s) {
            std::copy(w.flux[s].v.begin(), w.flux[s].v.begin() + kGrid, to[s]->begin());
        }
        kept.fAPAR = f.fAPAR;
        kept.fCover = f.fCover;
        kept.albedoPar = f.albedoPar;
        kept.albedoNir = f.albedoNir;
        kept.albedoShortwave = f.albedoShortwave;
    });
    return out;
}

}  // namespace tulmera::engine
