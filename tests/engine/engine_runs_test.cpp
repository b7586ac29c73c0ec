#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <span>
#include <stdexcept>
#include <vector>

#include "canopy/canopy_run.h"
#include "engine/engine.h"
#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "lut/sampling.h"
#include "lut/table_run.h"
#include "parallel/parallel_for.h"
#include "spectral/soil_library.h"

// The engine's runs against themselves (threads, batch sizes, shards), a table row against the
// exact path in single precision, the hemispherical view, and the parallel loop's contract.
namespace tulmera::engine {
namespace {

using spectral::kWavelengthCount;

lut::TableSpec Spec(std::uint64_t samples)
{
    canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
    inputs.sunZenith = 35;
    inputs.viewAngle = -20;
    inputs.relAzimuth = 120;
    inputs.hotSpot = 0.1;
    lut::TableSpec spec = lut::HeldSpec(leaf::kStartLeafParameters, inputs);
    spec.samples = samples;
    spec.seed = 7;
    spec.ranges[0] = {1, 3, true};
    spec.ranges[1] = {0, 100, true};
    spec.ranges[2] = {0.0001, 0.06, true};
    spec.ranges[3] = {0.001, 0.03, true};
    spec.ranges[4] = {0.1, 9, true};
    spec.ranges[5] = {0, 80, true};
    spec.ranges[6] = {-70, 70, true};
    spec.ranges[7] = {0, 360, true};
    spec.ranges[8] = {0, 1, true};
    return spec;
}

CanopyBatch Batch(const lut::TableSpec& spec, std::uint64_t first, std::uint64_t end)
{
    CanopyBatch batch;
    for (std::uint64_t row = first; row < end; ++row) {
        const lut::ParameterValues v = lut::SampleValues(spec, row);
        batch.Append(lut::LeafOf(leaf::LeafModel::Classic, v), v[4], v[5], v[6], v[7], v[8]);
    }
    return batch;
}

RunOptions Threads(int threads)
{
    RunOptions options;
    options.threads = threads;
    return options;
}

bool SameBits(std::span<const double> a, std::span<const double> b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Set i of a batch's values.
std::span<const double> SetOf(const Values& values, std::size_t i)
{
    return std::span<const double>(values).subspan(i * kWavelengthCount, kWavelengthCount);
}

TEST(EngineRuns, GiveTheSameBitsForAnyThreadCountBatchSizeAndShard)
{
    const lut::TableSpec spec = Spec(500);
    const CanopyScene scene =
        SceneOf(spec.leafArchitecture, spec.soil, spec.visibility, canopy::SkyMix::Physical);
    const CanopySpectraBatch whole = ComputeCanopySpectra(scene, Batch(spec, 0, 500), Threads(1));
    for (const int threads : {2, 7}) {
        const CanopySpectraBatch again =
            ComputeCanopySpectra(scene, Batch(spec, 0, 500), Threads(threads));
        EXPECT_TRUE(SameBits(again.refl, whole.refl)) << threads << " threads";
    }
    // The flux run's reflectances, which its callers take instead of a second run.
    EXPECT_TRUE(SameBits(ComputeCanopyFluxesBatch(scene, Batch(spec, 0, 500), Threads(2)).refl,
                         whole.refl));
    // Shards of uneven sizes, each its own batch: the rows of the whole, bit for bit.
    for (const std::uint64_t shards : {3u, 7u, 500u}) {
        for (std::uint64_t s = 0; s < shards; ++s) {
            const lut::RowRange rows = lut::ShardRows(500, s, shards);
            const CanopySpectraBatch part =
                ComputeCanopySpectra(scene, Batch(spec, rows.first, rows.end), Threads(2));
            const auto from =
                whole.refl.begin() + static_cast<std::ptrdiff_t>(rows.first * kWavelengthCount);
            ASSERT_TRUE(
                std::equal(part.refl.begin(), part.refl.end(), from,
                           [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }))
                << "shard " << s << " of " << shards;
        }
    }
}

// Sets that share their leaf with the set before them reuse it: every set, canopy and leaf
// values, as when it is computed alone, wherever the runs of equal leaves meet a worker's chunk.
TEST(EngineRuns, ReuseALeafWithTheBitsOfItsOwnComputation)
{
    const lut::TableSpec spec = Spec(40);
    const CanopyScene scene = SceneOf(spec.leafArchitecture, spec.soil, spec.visibility);
    const CanopyBatch sampled = Batch(spec, 0, 40);
    CanopyBatch runs;  // leaf 0 under canopies 0, 1, 2; leaf 1 under canopies 1, 2, 3; ...
    for (std::size_t leaf = 0; leaf + 3 < sampled.Count(); ++leaf) {
        for (std::size_t canopy = leaf; canopy < leaf + 3; ++canopy) {
            runs.Append(sampled.leaf.At(leaf), sampled.lai[canopy], sampled.sunZenith[canopy],
                        sampled.viewAngle[canopy], sampled.relAzimuth[canopy],
                        sampled.hotSpot[canopy]);
        }
    }
    const CanopySpectraBatch together = ComputeCanopySpectra(scene, runs, Threads(2), true);
    for (std::size_t i = 0; i < runs.Count(); ++i) {
        CanopyBatch one;
        one.Append(runs.leaf.At(i), runs.lai[i], runs.sunZenith[i], runs.viewAngle[i],
                   runs.relAzimuth[i], runs.hotSpot[i]);
        const CanopySpectraBatch alone = ComputeCanopySpectra(scene, one, Threads(1), true);
        ASSERT_TRUE(together.error[i].empty()) << together.error[i];
        EXPECT_TRUE(SameBits(SetOf(together.refl, i), alone.refl)) << "set " << i;
        EXPECT_TRUE(SameBits(SetOf(together.leafRefl, i), alone.leafRefl)) << "set " << i;
        EXPECT_TRUE(SameBits(SetOf(together.leafTrans, i), alone.leafTrans)) << "set " << i;
    }
}

// A leaf computed over part of the grid (a fit's subdomain) has there the bits of the whole
// grid's computation, for ranges starting and ending inside a vector and at the grid's ends.
TEST(EngineRuns, LeafOverPartOfTheGridIsTheWholeGridsThere)
{
    leaf::LeafParameters p = leaf::StartLeafParameters(leaf::LeafModel::ProspectD);
    p.Anth = 5;
    LeafEvaluator whole, part;
    ASSERT_TRUE(whole.Compute(p));
    const struct {
        std::size_t first, last;
    } ranges[] = {{0, 0}, {5, 12}, {260, 400}, {416, 420}, {0, 420}};
    for (const auto& range : ranges) {
        ASSERT_TRUE(part.Compute(p, range.first, range.last));
        for (std::size_t i = range.first; i <= range.last; ++i) {
            EXPECT_EQ(std::memcmp(part.Reflectance() + i, whole.Reflectance() + i, sizeof(double)),
                      0)
                << i;
            EXPECT_EQ(
                std::memcmp(part.Transmittance() + i, whole.Transmittance() + i, sizeof(double)), 0)
                << i;
        }
    }
}

// The table stores the engine's value in single precision; it equals the exact path's value
// rounded to float except where the two doubles straddle a float rounding boundary.
TEST(EngineRuns, TableRowsAreTheExactPathInSinglePrecisionButForStraddles)
{
    const lut::TableSpec spec = Spec(2000);
    class Keep : public lut::TableWriter {
    public:
        void Append(const lut::TableRows& rows) override { all = rows; }
        void Commit() override {}
        lut::TableRows all;
    } keep;
    lut::ComputeRows(spec, {{0, 2000}, 2, nullptr, {}}, keep);
    std::size_t values = 0, straddles = 0;
    for (std::uint64_t row = 0; row < 2000; ++row) {
        const lut::ParameterValues v = lut::SampleValues(spec, row);
        const leaf::LeafSpectrum leafSpectrum =
            leaf::ComputeLeafSpectrum(lut::LeafOf(leaf::LeafModel::Classic, v));
        spectral::Spectrum reflPct{}, transPct{};
        for (std::size_t i = 0; i < reflPct.size(); ++i) {
            reflPct[i] = 100.0 * leafSpectrum.refl[i];
            transPct[i] = 100.0 * leafSpectrum.trans[i];
        }
        const canopy::CanopyState exact =
            canopy::ComputeCanopySpectrum(lut::CanopyOf(spec, v), reflPct, transPct, {});
        for (std::size_t i = 0; i < kWavelengthCount; ++i) {
            ++values;
            const double exactValue = exact.canopyReflPct[i] / 100.0;
            const float stored = keep.all.reflectance[row * kWavelengthCount + i];
            if (stored == static_cast<float>(exactValue)) continue;
            ++straddles;
            // A straddle: the float neighbours of the exact value hold the stored one, and the
            // exact value lies within the contract of a float rounding boundary.
            ASSERT_EQ(std::abs(std::nextafter(static_cast<float>(exactValue), stored) - stored),
                      0.0f)
                << "row " << row << " at " << spectral::WavelengthNm(static_cast<int>(i));
            const double boundary =
                (static_cast<double>(stored) + static_cast<double>(static_cast<float>(exactValue)))
                / 2.0;
            ASSERT_LE(std::abs(exactValue - boundary), 1e-12 * std::abs(exactValue) + 1e-15);
        }
    }
    std::cout << straddles << " of " << values << " stored values straddle a float boundary\n";
    EXPECT_LT(straddles, values / 10000 + 1);
}

TEST(EngineRuns, HemisphereIsTheCanopyRunOfEachDirection)
{
    const lut::TableSpec spec = Spec(1);
    const CanopyBatch one = Batch(spec, 0, 1);
    const CanopyScene scene = SceneOf(spec.leafArchitecture, spec.soil, spec.visibility);
    const std::vector<ViewDirection> views = HemisphereGrid(15, 45);
    ASSERT_EQ(views.size(), 6u * 8u);
    const int at = 93;  // 865 nm
    const HemisphereView view = ViewHemisphere(scene, one, views, at, Threads(2));
    const leaf::LeafSpectrum leafSpectrum = leaf::ComputeLeafSpectrum(one.leaf.At(0));
    spectral::Spectrum reflPct{}, transPct{};
    for (std::size_t i = 0; i < reflPct.size(); ++i) {
        reflPct[i] = 100.0 * leafSpectrum.refl[i];
        transPct[i] = 100.0 * leafSpectrum.trans[i];
    }
    for (std::size_t d = 0; d < views.size(); ++d) {
        canopy::CanopyInputs inputs = lut::CanopyOf(spec, lut::SampleValues(spec, 0));
        inputs.viewAngle = views[d].viewZenith;
        inputs.relAzimuth = views[d].relAzimuth;
        const canopy::CanopyState exact =
            canopy::ComputeCanopySpectrum(inputs, reflPct, transPct, {});
        ASSERT_TRUE(view.error[d].empty()) << view.error[d];
        EXPECT_EQ(view.refl[d], exact.canopyReflPct[static_cast<std::size_t>(at)] / 100.0)
            << "view " << views[d].viewZenith << "°, azimuth " << views[d].relAzimuth << "°";
    }
}

TEST(EngineRuns, RefusedSetsCarryTheExactPathsMessageAndTheOthersTheirValues)
{
    const CanopyScene scene = SceneOf("Esferico", spectral::kSoilKeys[1], canopy::Visibility::Km50);
    CanopyBatch batch;
    batch.Append(leaf::kStartLeafParameters, 3, 30, 0, 0, 0.1);
    leaf::LeafParameters noStructure = leaf::kStartLeafParameters;
    noStructure.N = 0;
    batch.Append(noStructure, 3, 30, 0, 0, 0.1);
    batch.Append(leaf::kStartLeafParameters, 0, 30, 0, 0, 0.1);  // no leaves
    const CanopySpectraBatch got = ComputeCanopySpectra(scene, batch, Threads(2));
    EXPECT_EQ(got.error[0], "");
    EXPECT_EQ(got.error[1], "The leaf structure N must be greater than 0, not 0.");
    EXPECT_EQ(got.error[2], "The leaf area index (LAI) must be greater than 0, not 0.");
    EXPECT_EQ(FirstFailure(got.error), 1u);
    EXPECT_GT(got.refl[0], 0.0);
    // The results start unset: a refused set's values must be written as zeros.
    const auto zeros = [](std::span<const double> values) {
        return std::all_of(values.begin(), values.end(), [](double v) { return v == 0.0; });
    };
    const CanopySpectraBatch withLeaf = ComputeCanopySpectra(scene, batch, Threads(2), true);
    const CanopyFluxesBatch fluxes = ComputeCanopyFluxesBatch(scene, batch, Threads(2));
    const LeafSpectraBatch leaves = ComputeLeafSpectra(batch.leaf, Threads(2));
    for (const std::size_t refused : {1u, 2u}) {
        EXPECT_TRUE(zeros(SetOf(got.refl, refused))) << refused;
        EXPECT_TRUE(zeros(SetOf(fluxes.refl, refused))) << refused;
        EXPECT_EQ(fluxes.scalars[refused].fAPAR, 0.0) << refused;
    }
    EXPECT_TRUE(zeros(SetOf(withLeaf.leafRefl, 1)) && zeros(SetOf(withLeaf.leafTrans, 1)));
    EXPECT_TRUE(zeros(SetOf(leaves.refl, 1)) && zeros(SetOf(leaves.trans, 1)));
}

TEST(ParallelFor, RunsEveryChunkOnceAndRethrowsTheLowestFailure)
{
    for (const int threads : {1, 2, 7}) {
        std::vector<int> seen(1000, 0);
        parallel::LoopOptions loop;
        loop.threads = threads;
        loop.grain = 13;
        EXPECT_TRUE(parallel::ParallelFor(seen.size(), loop, [&](std::size_t b, std::size_t e) {
            for (std::size_t i = b; i < e; ++i) ++seen[i];
        }));
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 1000) << threads << " threads";
    }
    parallel::LoopOptions loop;
    loop.threads = 1;
    loop.grain = 10;
    EXPECT_THROW(parallel::ParallelFor(100, loop,
                                       [](std::size_t b, std::size_t) {
                                           if (b >= 30)
                                               throw std::runtime_error("at " + std::to_string(b));
                                       }),
                 std::runtime_error);
    try {
        parallel::ParallelFor(100, loop, [](std::size_t b, std::size_t) {
            if (b >= 30) throw std::runtime_error("at " + std::to_string(b));
        });
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "at 30");
    }
}

TEST(ParallelFor, StopsWhenCancelledAndSaysSo)
{
    std::atomic<bool> cancel{false};
    std::atomic<std::size_t> ran{0};
    parallel::LoopOptions loop;
    loop.threads = 2;
    loop.cancel = &cancel;
    loop.progress = [&](std::size_t done) {
        if (done >= 10) cancel = true;
    };
    EXPECT_FALSE(parallel::ParallelFor(1000, loop, [&](std::size_t, std::size_t) { ++ran; }));
    EXPECT_LT(ran.load(), 1000u);
    // The engine turns it into Cancelled.
    const lut::TableSpec spec = Spec(200);
    RunOptions options;
    options.threads = 2;
    options.cancel = &cancel;
    EXPECT_THROW(ComputeCanopySpectra(SceneOf(spec.leafArchitecture, spec.soil, spec.visibility),
                                      Batch(spec, 0, 200), options),
                 Cancelled);
}

}  // namespace
}  // namespace tulmera::engine
