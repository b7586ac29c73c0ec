#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "canopy/canopy_fluxes.h"
#include "canopy/canopy_run.h"
#include "canopy/sailh.h"
#include "canopy/sailh_geometry.h"
#include "canopy/sky_ratio.h"
#include "engine/engine.h"
#include "engine/kernels.h"
#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "leaf/prospect.h"
#include "spectral/soil_library.h"

// The engine against the exact path over random parameter sets of the whole accepted domain:
// every value within 1e-12 relative or 1e-15 absolute, every refused set with the exact
// path's message.
namespace tulmera::engine {
namespace {

using spectral::kWavelengthCount;
constexpr std::size_t kGrid = kWavelengthCount;
constexpr double kRelative = 1e-12;
constexpr double kAbsolute = 1e-15;

// A small portable generator (splitmix64): the same sets on every compiler.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    double Uniform(double lo, double hi)  // lo .. hi
    {
        return lo + (hi - lo) * static_cast<double>(Next() >> 11) * 0x1.0p-53;
    }
    double LogUniform(double lo, double hi)
    {
        return std::exp(Uniform(std::log(lo), std::log(hi)));
    }
    std::size_t Index(std::size_t count) { return static_cast<std::size_t>(Next() % count); }
    bool Chance(double p) { return Uniform(0, 1) < p; }

private:
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    std::uint64_t state_;
};

// A leaf of `model`: usually within the ranges leaves have, one in eight anywhere in the
// accepted domain (N up to 100, Cab up to 10,000, Cw and Cm up to 10), where the exact path
// often refuses.
leaf::LeafParameters RandomLeaf(Random& r, leaf::LeafModel model)
{
    const bool wild = r.Chance(0.125);
    leaf::LeafParameters p{wild ? r.LogUniform(1, 100) : r.Uniform(1, 3.5),
                           wild ? r.LogUniform(0.01, 10000) : r.Uniform(0, 120),
                           wild ? r.LogUniform(1e-6, 10) : r.Uniform(0, 0.08),
                           wild ? r.LogUniform(1e-6, 10) : r.Uniform(0.0005, 0.04)};
    p.model = model;
    if (model != leaf::LeafModel::Classic) {
        p.Car = r.Uniform(0, 40);
        p.Anth = r.Uniform(0, 15);
        p.Cbrown = r.Uniform(0, 1);
    }
    if (model == leaf::LeafModel::ProspectPro) {
        p.Prot = r.Uniform(0, 0.004);
        p.CBC = r.Uniform(0, 0.03);
        p.Cm = 0;
    }
    return p;
}

struct Canopy {
    double lai, sun, view, azimuth, hotSpot;
};

Canopy RandomCanopy(Random& r)
{
    const bool wild = r.Chance(0.125);
    return {wild ? r.LogUniform(1e-3, 100) : r.Uniform(0.05, 10),
            r.Chance(0.02) ? 90.0 : r.Uniform(0, 89.9), r.Chance(0.02) ? 0.0 : r.Uniform(-89, 89),
            r.Uniform(0, 360),
            r.Chance(0.1) ? 0.0 : (wild ? r.LogUniform(1e-3, 100) : r.Uniform(0, 1))};
}

// What the exact path gives for one set: the leaf run, then the canopy run from a fresh state.
struct Exact {
    std::string error;
    leaf::LeafSpectrum leaf{};
    canopy::CanopyState canopy{};
};

Exact RunExact(const leaf::LeafParameters& p, const Canopy& c, std::string_view architecture,
               std::string_view soil, canopy::Visibility visibility, canopy::SkyMix mix)
{
    Exact e;
    try {
        e.leaf = leaf::ComputeLeafSpectrum(p);
        spectral::Spectrum reflPct{}, transPct{};
        for (std::size_t i = 0; i < kGrid; ++i) {
            reflPct[i] = 100.0 * e.leaf.refl[i];
            transPct[i] = 100.0 * e.leaf.trans[i];
        }
        const canopy::CanopyInputs inputs{c.lai,
                                          c.sun,
                                          c.view,
                                          c.azimuth,
                                          c.hotSpot,
                                          std::string(architecture),
                                          std::string(soil),
                                          visibility,
                                          mix};
        e.canopy = canopy::ComputeCanopySpectrum(inputs, reflPct, transPct, {});
    } catch (const std::exception& error) {
        e.error = error.what();
    }
    return e;
}

// Counts the values outside the contract and keeps the worst relative difference.
struct Agreement {
    std::size_t values = 0, outside = 0;
    double worstRelative = 0;
    std::string worstWhere;
    std::vector<std::string> firstOutside;

    // `where` names the value; called only for a difference worth naming.
    template <typename Where>
    void Compare(double engine, double exact, const Where& where)
    {
        ++values;
        const double difference = std::abs(engine - exact);
        if (difference <= kAbsolute) return;
        const double relative = difference / std::abs(exact);
        if (relative > worstRelative) {
            worstRelative = relative;
            worstWhere = where();
        }
        if (!(difference <= kRelative * std::abs(exact))) {
            ++outside;
            if (firstOutside.size() < 10) {
                std::ostringstream text;
                text.precision(17);
                text << where() << ": engine " << engine << ", exact " << exact;
                firstOutside.push_back(text.str());
            }
        }
    }
};

RunOptions TwoThreads()
{
    RunOptions options;
    options.threads = 2;
    return options;
}

struct ContractCase {
    const char* name;
    leaf::LeafModel model;
    canopy::SkyMix mix;
    int sets;  // per leaf architecture, soil and visibility
};

// 3 models × 2 mixes × 5 architectures × 4 soils × 2 visibilities × sets ≥ 100,000 sets.
const ContractCase kCases[] = {
    {"classic, classic sky", leaf::LeafModel::Classic, canopy::SkyMix::Classic, 420},
    {"classic, physical sky", leaf::LeafModel::Classic, canopy::SkyMix::Physical, 420},
    {"PROSPECT-D, classic sky", leaf::LeafModel::ProspectD, canopy::SkyMix::Classic, 420},
    {"PROSPECT-D, physical sky", leaf::LeafModel::ProspectD, canopy::SkyMix::Physical, 420},
    {"PROSPECT-PRO, classic sky", leaf::LeafModel::ProspectPro, canopy::SkyMix::Classic, 420},
    {"PROSPECT-PRO, physical sky", leaf::LeafModel::ProspectPro, canopy::SkyMix::Physical, 420},
};

TEST(EngineContract, AgreesWithTheExactPathOverTheWholeDomain)
{
    std::size_t sets = 0, refused = 0;
    Agreement leafRefl, leafTrans, canopyRefl;
    std::uint64_t seed = 20261209;
    for (const ContractCase& row : kCases) {
        for (const std::string_view architecture : canopy::kLeafArchitectureNames) {
            for (const std::string_view soil : spectral::kSoilKeys) {
                for (const canopy::Visibility visibility :
                     {canopy::Visibility::Km15, canopy::Visibility::Km50}) {
                    Random random(++seed);
                    const CanopyScene scene = SceneOf(architecture, soil, visibility, row.mix);
                    CanopyBatch batch;
                    std::vector<Canopy> canopies;
                    for (int s = 0; s < row.sets; ++s) {
                        const leaf::LeafParameters p = RandomLeaf(random, row.model);
                        const Canopy c = RandomCanopy(random);
                        batch.Append(p, c.lai, c.sun, c.view, c.azimuth, c.hotSpot);
                        canopies.push_back(c);
                    }
                    const CanopySpectraBatch got =
                        ComputeCanopySpectra(scene, batch, TwoThreads(), true);
                    for (std::size_t s = 0; s < batch.Count(); ++s) {
                        const Exact exact = RunExact(batch.leaf.At(s), canopies[s], architecture,
                                                     soil, visibility, row.mix);
                        ++sets;
                        ASSERT_EQ(got.error[s], exact.error) << row.name << ", set " << s;
                        if (!exact.error.empty()) {
                            ++refused;
                            continue;
                        }
                        for (std::size_t i = 0; i < kGrid; ++i) {
                            const auto where = [&, i](const char* what) {
                                return [&, i, what] {
                                    return std::string(row.name) + ", " + std::string(architecture)
                                           + ", " + std::string(soil) + ", set " + std::to_string(s)
                                           + ", "
                                           + std::to_string(
                                               spectral::WavelengthNm(static_cast<int>(i)))
                                           + " nm, " + what;
                                };
                            };
                            const std::size_t at = s * kGrid + i;
                            leafRefl.Compare(got.leafRefl[at], exact.leaf.refl[i],
                                             where("leaf refl"));
                            leafTrans.Compare(got.leafTrans[at], exact.leaf.trans[i],
                                              where("leaf trans"));
                            canopyRefl.Compare(got.refl[at], exact.canopy.canopyReflPct[i] / 100.0,
                                               where("canopy"));
                        }
                    }
                }
            }
        }
    }
    EXPECT_GE(sets, 100000u);
    std::cout << sets << " sets, " << refused << " refused by the exact path\n";
    for (const auto& [name, agreement] :
         {std::pair{"leaf reflectance", &leafRefl}, std::pair{"leaf transmittance", &leafTrans},
          std::pair{"canopy reflectance", &canopyRefl}}) {
        for (const std::string& line : agreement->firstOutside) ADD_FAILURE() << line;
        EXPECT_EQ(agreement->outside, 0u) << name;
        std::cout << name << ": " << agreement->values << " values, " << agreement->outside
                  << " outside, worst relative difference " << agreement->worstRelative << " ("
                  << agreement->worstWhere << ")\n";
    }
}

// Where the leaf kernel's layer transmission is the exact path's (the careful points), its
// elementary layer and pile roots must be too, to the bit: the exact leaf the canopy needs
// near its singularity is computed from them.
TEST(EngineContract, KernelLayerIsTheExactPathsWhereItsTransmissionIs)
{
    Random random(20261211);
    std::size_t compared = 0;
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (const leaf::LeafModel model :
         {leaf::LeafModel::Classic, leaf::LeafModel::ProspectD, leaf::LeafModel::ProspectPro}) {
        for (int set = 0; set < 40; ++set) {
            const leaf::LeafParameters p = RandomLeaf(random, model);
            detail::LeafKernelWork w;
            detail::LeafKernel(detail::TablesOf(model), detail::TermCoefficients(p), p.N, w);
            for (int index = 0; index < static_cast<int>(kGrid); ++index) {
                const auto at = static_cast<std::size_t>(index);
                const double k = leaf::ModelAbsorption(p, index);
                if (!same(k, w.k.v[at]) || !detail::TransmissionIsExact(k)) continue;
                const leaf::ElementaryLayer layer = leaf::ElementaryLayerOptics(
                    leaf::ModelRefractiveIndex(model, index), leaf::LayerTransmission(k),
                    leaf::ModelTransmissivities(model, index));
                const leaf::PileRoots roots = leaf::PileRootsOf(layer);
                ASSERT_TRUE(same(layer.r, w.r.v[at]) && same(layer.t, w.t.v[at])
                            && same(layer.ra, w.ra.v[at]) && same(layer.ta, w.ta.v[at])
                            && same(roots.va, w.va.v[at]) && same(roots.vb, w.vb.v[at]))
                    << "set " << set << " at grid point " << index;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 10000u);
}

// The canopy kernel's exact form, which computes the points near the singularity, against the
// exact path's scalar functions: the same bits, reflectance and fluxes, for both sky mixes.
TEST(EngineContract, ExactCanopyKernelIsTheExactPathsToTheBit)
{
    Random random(20261212);
    std::size_t compared = 0;
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    const spectral::Spectrum& soil = spectral::SoilSpectrum(0);
    for (const canopy::SkyMix mix : {canopy::SkyMix::Classic, canopy::SkyMix::Physical}) {
        for (int set = 0; set < 50; ++set) {
            const Canopy c = RandomCanopy(random);
            const canopy::SailhGeometry g =
                canopy::PrepareSailh({c.lai, std::min(c.sun, 89.0), std::abs(c.view), c.azimuth,
                                      c.hotSpot, canopy::kLeafAngleDistributions[random.Index(5)]});
            const detail::CanopyGeometryValues values{g.pi,
                                                      g.lai,
                                                      g.Sc,
                                                      g.S1,
                                                      g.S2,
                                                      g.kL,
                                                      g.KL,
                                                      g.tss,
                                                      g.too,
                                                      g.tsstoo,
                                                      g.hotSpotIntegral};
            const spectral::Spectrum sky = canopy::SkyRatio(c.sun, canopy::Visibility::Km15);
            detail::Padded leafRefl{}, leafTrans{}, soilPct{}, skyPct{}, refl{};
            std::array<detail::Padded, 8> flux{};
            const std::size_t points = 1 + random.Index(kGrid);
            for (std::size_t j = 0; j < detail::kPaddedCount; ++j) {
                const std::size_t at = std::min(j, points - 1);
                const double t = random.Uniform(0, 0.6);
                leafRefl.v[j] = random.Uniform(0, 0.99 - t);
                leafTrans.v[j] = t;
                soilPct.v[j] = soil[at];
                skyPct.v[j] = sky[at];
            }
            const detail::CanopyFluxOutputs outputs{flux[0].data(), flux[1].data(), flux[2].data(),
                                                    flux[3].data(), flux[4].data(), flux[5].data(),
                                                    flux[6].data(), flux[7].data()};
            if (!detail::ExactCanopyKernel(values, leafRefl, leafTrans, soilPct, skyPct,
                                           mix == canopy::SkyMix::Physical, points, refl,
                                           outputs)) {
                continue;  // the engine then asks the scalar functions
            }
            for (std::size_t j = 0; j < points; ++j) {
                const canopy::CanopyOptics o =
                    canopy::SailhCanopy(g, 100.0 * leafRefl.v[j], 100.0 * leafTrans.v[j], 400);
                const double weight = canopy::SkyMixWeight(mix, skyPct.v[j]);
                const canopy::SoilCoupledReflectance r = canopy::CanopyOverSoil(o, soilPct.v[j]);
                const canopy::CanopyPointFluxes f = canopy::CanopyFluxesAt(o, soilPct.v[j], weight);
                const std::array<double, 9> expected = {
                    canopy::MixedReflectancePct(r, weight) / 100.0,
                    r.rsot,
                    r.rdot,
                    f.rsdt,
                    f.rddt,
                    f.As,
                    f.Ad,
                    f.absorptance,
                    f.albedo};
                ASSERT_TRUE(same(expected[0], refl.v[j])) << "set " << set << " point " << j;
                for (std::size_t s = 0; s < flux.size(); ++s) {
                    ASSERT_TRUE(same(expected[s + 1], flux[s].v[j]))
                        << "set " << set << " point " << j << " flux " << s;
                }
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 10000u);
}

}  // namespace
}  // namespace tulmera::engine
