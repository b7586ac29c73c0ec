#include "canopy/sailh.h"

#include <gtest/gtest.h>

#include <cmath>

#include "canopy/canopy_run.h"
#include "canopy/leaf_spectra_pct.h"
#include "canopy/sailh_reference.h"
#include "canopy/sky_ratio.h"
#include "leaf/leaf_spectrum.h"
#include "spectral/soil_library.h"
#include "textio/error.h"

namespace tulmera::canopy {
namespace {

using spectral::kWavelengthCount;
using spectral::Spectrum;

constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t k800nm = (800 - 400) / 5;

const LeafPct& GreenLeaf()
{
    static const LeafPct leaf = LeafSpectraPct({1.5, 40, 0.01, 0.005});
    return leaf;
}

SailhInputs Inputs(double lai, double sun, double view, double azimuth, double hotSpot,
                   int distribution = 4)
{
    return {lai,     sun,     view,
            azimuth, hotSpot, kLeafAngleDistributions[static_cast<std::size_t>(distribution)]};
}

CanopyInputs RunInputs(double lai, double sun, double view, double azimuth, double hotSpot,
                       int distribution = 4, int soil = 1, Visibility visibility = Visibility::Km15)
{
    return {lai,
            sun,
            view,
            azimuth,
            hotSpot,
            std::string(kLeafArchitectureNames[static_cast<std::size_t>(distribution)]),
            std::string(spectral::kSoilKeys[static_cast<std::size_t>(soil)]),
            visibility};
}

CanopyState Canopy(const CanopyInputs& in, const LeafPct& leaf = GreenLeaf())
{
    return ComputeCanopySpectrum(in, leaf.refl, leaf.trans, CanopyState{});
}

// The model computed once per run equals, bit for bit, the formulas evaluated point by point
// with everything recomputed, at every grid point, over angles that take every branch.
TEST(Sailh, GeometryOncePerRunEqualsThePerPointEvaluation)
{
    const LeafPct thick = LeafSpectraPct({4, 90, 0.07, 0.04});
    int compared = 0;
    for (const LeafPct* leaf : {&GreenLeaf(), &thick}) {
        for (const double lai : {0.1, 3.0, 7.0}) {
            for (const auto& [sun, view, azimuth] : {std::array<double, 3>{0, 0, 0},
                                                     {30, 30, 0},
                                                     {30, 20, 90},
                                                     {45, 75, 180},
                                                     {90, 40, 60},
                                                     {60, 10, 135}}) {
                for (const double hotSpot : {0.0, 0.05, 1.0}) {
                    for (int lidf = 0; lidf < 5; ++lidf) {
                        const CanopyInputs in =
                            RunInputs(lai, sun, view, azimuth, hotSpot, lidf, lidf % 4,
                                      lidf % 2 ? Visibility::Km50 : Visibility::Km15);
                        const CanopyState run = Canopy(in, *leaf);
                        const SailhGeometry g =
                            PrepareSailh(Inputs(lai, sun, view, azimuth, hotSpot, lidf));
                        for (std::size_t i = 0; i < kWavelengthCount; ++i) {
                            const reference::PointResult want = reference::EvaluatePoint(
                                Inputs(lai, sun, view, azimuth, hotSpot, lidf), leaf->refl[i],
                                leaf->trans[i], run.soilRefl[i], run.skyRatioPct[i]);
                            const CanopyOptics got =
                                SailhCanopy(g, leaf->refl[i], leaf->trans[i], 0);
                            const CanopyOptics& w = want.optics;
                            ASSERT_TRUE(got.tss == w.tss && got.too == w.too
                                        && got.tsstoo == w.tsstoo && got.rdd == w.rdd
                                        && got.tdd == w.tdd && got.rsd == w.rsd && got.tsd == w.tsd
                                        && got.rdo == w.rdo && got.tdo == w.tdo && got.rso == w.rso)
                                << "LAI " << lai << " sun " << sun << " view " << view
                                << " azimuth " << azimuth << " q " << hotSpot << " lidf " << lidf
                                << " at " << spectral::WavelengthNm(static_cast<int>(i));
                            ASSERT_EQ(run.canopyReflPct[i], want.canopyReflPct)
                                << "LAI " << lai << " sun " << sun << " view " << view;
                            ++compared;
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(compared, 2 * 3 * 6 * 3 * 5 * kWavelengthCount);
}

// The bidirectional sum S2 of a single leaf angle class (frequency 100 %) for each branch:
// both β kept at π (b2 = 0: no term), one β at π (T = c2 / (cos βs · cos βo)), both from the
// arccos (T = 2h), and each ordering of (ψr, Δ1, Δ2). Expected values from acos and a sort.
TEST(Sailh, SingleClassSumsTakeTheirBranch)
{
    const struct {
        const char* name;
        std::size_t leafClass;
        double sun, view, azimuth;
        double S1, S2;
    } cases[] = {
        {"both at pi", 4, 30, 30, 90, 50.000000000000014, 0.0},
        {"sun at pi, psi above delta2", 4, 30, 60, 90, 50.000000000000014, 22.944847212429252},
        {"sun at pi, psi = 0 <= delta1", 4, 30, 60, 0, 75.0, 10.847044779092341},
        {"arccos, psi <= delta1", 7, 30, 60, 10, 52.640636934894324, 0.90105174378318498},
        {"arccos, delta1 < psi <= delta2", 7, 30, 60, 90, 6.6987298107780688, 47.292844598279395},
        {"arccos, psi above delta2", 7, 30, 60, 180, -39.951905283832886, 129.28292178069955},
        {"arccos, hot spot: b2 = delta1 = 0", 7, 30, 30, 0, 22.248941508981719, 0.0},
    };
    for (const auto& c : cases) {
        SailhInputs in = Inputs(1, c.sun, c.view, c.azimuth, 0);
        in.lidf = {};
        in.lidf[c.leafClass] = 100;
        const SailhGeometry g = PrepareSailh(in);
        EXPECT_NEAR(g.S1, c.S1, 1e-12 * std::abs(c.S1) + 1e-12) << c.name;
        EXPECT_NEAR(g.S2, c.S2, 1e-12 * std::abs(c.S2) + 1e-12) << c.name;
    }
}

TEST(Sailh, SunAtTheZenithKeepsEveryClassAtPi)
{
    for (int lidf = 0; lidf < 5; ++lidf) {
        const SailhGeometry g = PrepareSailh(Inputs(2, 0, 40, 90, 0.1, lidf));
        double sumCF = 0;  // Σ c·f
        for (std::size_t j = 0; j < kLeafAngleClassesDeg.size(); ++j) {
            sumCF += std::cos(kLeafAngleClassesDeg[j] * kPi / 180)
                     * kLeafAngleDistributions[static_cast<std::size_t>(lidf)][j];
        }
        EXPECT_NEAR(g.Ss, kPi / 2 * sumCF, 1e-12 * g.Ss) << kLeafArchitectureNames[lidf];
        EXPECT_NEAR(g.kL, g.Ss * 0.02 * 2 / kPi, 1e-15);
    }
}

// At the hot spot (view direction = sun direction) a positive q makes α = 0: the joint gap
// probability is the sun's alone. With q = 0 the two gaps are nearly independent.
TEST(Sailh, HotSpotJointGapProbability)
{
    for (const auto& [sun, view, azimuth] :
         {std::array<double, 3>{30, 30, 0}, {0, 0, 0}, {0, 0, 120}, {60, 60, 0}}) {
        const SailhGeometry hot = PrepareSailh(Inputs(2, sun, view, azimuth, 0.1));
        EXPECT_EQ(hot.tsstoo, hot.tss) << sun;
        EXPECT_EQ(hot.hotSpotIntegral, (1 - hot.tss) / hot.kL) << sun;

        const SailhGeometry off = PrepareSailh(Inputs(2, sun, view, azimuth, 0));
        EXPECT_NEAR(off.tsstoo, off.tss * off.too, 1e-5 * off.tss * off.too) << sun;
        EXPECT_LT(off.tsstoo, hot.tsstoo) << sun;
    }
}

// At the hot spot the reflectance with q > 0 forms a peak: it rises above the straight line
// through its neighbouring view directions, and above the same view turned aside in azimuth.
// With q = 0 the same geometry lies on a smooth curve: no peak.
TEST(Sailh, HotSpotPeakOnlyWithAPositiveParameter)
{
    const auto at = [](double view, double azimuth, double q) {
        return Canopy(RunInputs(2, 30, view, azimuth, q, 1, 2)).canopyReflPct;
    };
    const Spectrum peak = at(30, 0, 0.1), before = at(29, 0, 0.1), after = at(31, 0, 0.1);
    const Spectrum aside = at(30, 3, 0.1);
    const Spectrum flat = at(30, 0, 0), flatBefore = at(29, 0, 0), flatAfter = at(31, 0, 0);
    for (std::size_t i = 0; i < kWavelengthCount; ++i) {
        const double height = peak[i] - (before[i] + after[i]) / 2;
        const double bend = flat[i] - (flatBefore[i] + flatAfter[i]) / 2;
        ASSERT_GT(peak[i], flat[i]) << i;
        ASSERT_GT(peak[i], aside[i]) << i;
        ASSERT_GT(height, 0.0) << i;
        ASSERT_GT(height, 10 * std::abs(bend)) << i;  // a cusp, not the curve's own bend
    }
}

// Every combination of the ends and middles of the window's ranges, for every distribution,
// soil and visibility, a thin and a thick leaf: the kept reflectance is a fraction 0 .. 1.
TEST(Sailh, CanopyReflectanceStaysPhysicalOverTheWindowRanges)
{
    const LeafPct thick = LeafSpectraPct({4, 90, 0.07, 0.04});
    const LeafPct thin = LeafSpectraPct({1, 0, 0.0001, 0.0001});
    int runs = 0;
    for (const LeafPct* leaf : {&thin, &thick}) {
        for (const double lai : {0.1, 2.5, 7.0}) {
            for (const double sun : {0.0, 45.0, 90.0}) {
                for (const double view : {-75.0, 0.0, 30.0, 75.0}) {
                    for (const double azimuth : {0.0, 90.0, 180.0}) {
                        for (const double hotSpot : {0.0, 0.05, 1.0}) {
                            for (int lidf = 0; lidf < 5; ++lidf) {
                                const CanopyState run = Canopy(
                                    RunInputs(lai, sun, view, azimuth, hotSpot, lidf,
                                              (lidf + runs) % 4,
                                              runs % 2 ? Visibility::Km50 : Visibility::Km15),
                                    *leaf);
                                for (const double pct : run.canopyReflPct) {
                                    ASSERT_TRUE(pct >= 0 && pct <= 100)
                                        << pct << " % at LAI " << lai << " sun " << sun << " view "
                                        << view << " azimuth " << azimuth << " q " << hotSpot
                                        << " lidf " << lidf;
                                }
                                ++runs;
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(runs, 2 * 3 * 3 * 4 * 3 * 3 * 5);
}

// The sun at the horizon: tan(90°) is huge but finite, no direct light gets through.
TEST(Sailh, SunAtTheHorizonWorks)
{
    for (const double q : {0.0, 0.5}) {
        const SailhGeometry g = PrepareSailh(Inputs(3, 90, 30, 45, q));
        EXPECT_GT(g.kL, 1e15);
        EXPECT_EQ(g.tss, 0.0);
        EXPECT_EQ(g.tsstoo, 0.0);
        const CanopyState run = Canopy(RunInputs(3, 90, 30, 45, q));
        for (const double pct : run.canopyReflPct) ASSERT_TRUE(pct > 0 && pct < 100) << pct;
    }
}

// A layer with almost no leaves shows the soil.
TEST(Sailh, CanopyReflectanceTendsToTheSoilAsTheLeafAreaVanishes)
{
    for (int soil = 0; soil < 4; ++soil) {
        const CanopyState run = Canopy(RunInputs(1e-7, 30, 20, 90, 0.05, 4, soil));
        for (std::size_t i = 0; i < kWavelengthCount; ++i) {
            ASSERT_NEAR(run.canopyReflPct[i], run.soilRefl[i], 1e-4) << i;
        }
    }
}

// The physical mix weights the diffuse case with the sky ratio as a fraction, s = S / 100;
// the classic one with S as stored. Both by hand from the independent point evaluation's rsot
// and rdot, at a blue, a red and a near-infrared wavelength.
TEST(Sailh, SkyMixesAgainstAHandComputation)
{
    CanopyInputs in = RunInputs(3, 30, -20, 90, 0.05, 4, 1, Visibility::Km50);
    const CanopyState classic = Canopy(in);
    in.skyMix = SkyMix::Physical;
    const CanopyState physical = Canopy(in);
    for (const int nm : {450, 670, 860}) {
        const auto i = static_cast<std::size_t>((nm - 400) / 5);
        const reference::PointResult point = reference::EvaluatePoint(
            Inputs(3, 30, 20, 90, 0.05), GreenLeaf().refl[i], GreenLeaf().trans[i],
            classic.soilRefl[i], classic.skyRatioPct[i]);
        const double S = classic.skyRatioPct[i];
        const double s = S / 100;
        EXPECT_EQ(physical.canopyReflPct[i], 100 * (point.rdot * s + point.rsot) / (s + 1)) << nm;
        EXPECT_EQ(classic.canopyReflPct[i], 100 * (point.rdot * S + point.rsot) / (S + 1)) << nm;
        EXPECT_EQ(physical.skyRatioPct[i], S) << "the stored ratio stays as it is";
        EXPECT_NE(physical.canopyReflPct[i], classic.canopyReflPct[i]) << nm;
    }
}

// The classic mix is nearly all diffuse sky, which hides the hot spot; the physical one shows
// it: at sun 40°, view 40°, the reflectance towards the sun (azimuth 0) against away from it
// (180) at 670 nm.
TEST(Sailh, PhysicalSkyMixShowsTheHotSpot)
{
    const leaf::LeafParameters leafParameters{1.5, 40, 0.01, 0.005};
    const LeafPct leaf = LeafSpectraPct(leafParameters);
    const auto reflectanceAt670 = [&](double azimuth, SkyMix mix) {
        CanopyInputs in = StartCanopyInputs();
        in.lai = 3;
        in.sunZenith = 40;
        in.viewAngle = 40;
        in.relAzimuth = azimuth;
        in.hotSpot = 0.2;
        in.leafArchitecture = "Esferico";
        in.skyMix = mix;
        return Canopy(in, leaf).canopyReflPct[(670 - 400) / 5];
    };
    const double physical =
        reflectanceAt670(0, SkyMix::Physical) / reflectanceAt670(180, SkyMix::Physical);
    const double classic =
        reflectanceAt670(0, SkyMix::Classic) / reflectanceAt670(180, SkyMix::Classic);
    std::cout << "[ hot spot ] 670 nm, azimuth 0 / 180: physical " << physical << ", classic "
              << classic << '\n';
    EXPECT_GT(physical, 2.5);
    EXPECT_LT(classic, 1.2);
}

// Relative azimuths ψ and 360° - ψ are one geometry mirrored in the principal plane: the same
// reflectance to the bit, whatever side the view lies on.
TEST(Sailh, AzimuthsMirroredInThePrincipalPlaneGiveTheSameReflectance)
{
    for (const double azimuth : {10.0, 45.0, 90.0, 135.0, 179.0}) {
        const Spectrum near = Canopy(RunInputs(3, 40, 30, azimuth, 0.2, 4, 2)).canopyReflPct;
        const Spectrum far = Canopy(RunInputs(3, 40, 30, 360 - azimuth, 0.2, 4, 2)).canopyReflPct;
        EXPECT_EQ(near, far) << azimuth;
    }
}

}  // namespace
}  // namespace tulmera::canopy
