#include "canopy/canopy_fluxes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "canopy/leaf_spectra_pct.h"
#include "leaf/leaf_spectrum.h"
#include "spectral/soil_library.h"
#include "textio/error.h"

namespace tulmera::canopy {
namespace {

using spectral::kWavelengthCount;
using spectral::Spectrum;

LeafPct UniformLeafPct(double reflPct, double transPct)
{
    LeafPct pct{};
    pct.refl.fill(reflPct);
    pct.trans.fill(transPct);
    return pct;
}

CanopyInputs Inputs(double lai, double sun, double view, double azimuth, double hotSpot,
                    int distribution, int soil, SkyMix mix)
{
    CanopyInputs in{lai,
                    sun,
                    view,
                    azimuth,
                    hotSpot,
                    std::string(kLeafArchitectureNames[static_cast<std::size_t>(distribution)]),
                    std::string(spectral::kSoilKeys[static_cast<std::size_t>(soil)]),
                    Visibility::Km15};
    in.skyMix = mix;
    return in;
}

CanopyWithFluxes RunWithFluxes(const CanopyInputs& in, const LeafPct& leaf)
{
    return ComputeCanopySpectrumAndFluxes(in, leaf.refl, leaf.trans, CanopyState{});
}

// The light reaching the soil, summed bounce by bounce: `firstPass` arrives, the soil
// reflects rs of it, the layer sends rdd of that back down, and so on.
double DownwardAtSoil(double firstPass, double rs, double rdd)
{
    double total = 0, pass = firstPass;
    for (int bounce = 0; bounce < 200 && pass > 1e-300; ++bounce) {
        total += pass;
        pass *= rs * rdd;
    }
    return total;
}

// What the canopy absorbs, what the soil absorbs and what leaves the top make up all the
// light, for direct and for diffuse illumination and their mix, at every wavelength. The
// flux at the soil is summed over the soil-canopy bounces, independently of the closed form.
TEST(CanopyFluxes, EnergyBalanceAtEveryWavelength)
{
    const LeafPct green = LeafSpectraPct({1.5, 40, 0.01, 0.005});
    const LeafPct thick = LeafSpectraPct({3, 80, 0.05, 0.03});
    const struct {
        const char* name;
        CanopyInputs in;
        const LeafPct* leaf;
    } cases[] = {
        {"sparse, sun at zenith", Inputs(0.3, 0, 0, 0, 0, 0, 0, SkyMix::Classic), &green},
        {"spherical, hot spot", Inputs(3, 40, 40, 0, 0.2, 4, 1, SkyMix::Physical), &green},
        {"erectophile, oblique", Inputs(2, 60, -30, 135, 0.05, 1, 3, SkyMix::Classic), &thick},
        {"dense, low sun", Inputs(7, 80, 10, 90, 0.5, 3, 2, SkyMix::Physical), &thick},
    };
    for (const auto& c : cases) {
        const CanopyWithFluxes run = RunWithFluxes(c.in, *c.leaf);
        const SailhGeometry g = PrepareSailh({c.in.lai, c.in.sunZenith, std::abs(c.in.viewAngle),
                                              c.in.relAzimuth, c.in.hotSpot, run.state.lidf});
        const CanopyFluxes& f = run.fluxes;
        for (std::size_t i = 0; i < kWavelengthCount; ++i) {
            const CanopyOptics o = SailhCanopy(g, c.leaf->refl[i], c.leaf->trans[i], 0);
            const double rs = run.state.soilRefl[i] * 0.01;
            const double downDirect = DownwardAtSoil(o.tss + o.tsd, rs, o.rdd);
            const double downDiffuse = DownwardAtSoil(o.tdd, rs, o.rdd);
            const double w = SkyMixWeight(c.in.skyMix, run.state.skyRatioPct[i]);
            const double downMixed = (downDirect + w * downDiffuse) / (1 + w);
            const std::string where = std::string(c.name) + " at "
                                      + std::to_string(spectral::WavelengthNm(static_cast<int>(i)))
                                      + " nm";
            ASSERT_NEAR(f.As[i] + (1 - rs) * downDirect + f.rsdt[i], 1.0, 1e-12) << where;
            ASSERT_NEAR(f.Ad[i] + (1 - rs) * downDiffuse + f.rddt[i], 1.0, 1e-12) << where;
            ASSERT_NEAR(f.absorptance[i] + (1 - rs) * downMixed + f.albedo[i], 1.0, 1e-12) << where;
            // The albedos from the same bounces: the layer's own reflection plus what the soil
            // sends up through it.
            ASSERT_NEAR(f.rsdt[i], o.rsd + o.tdd * rs * downDirect, 1e-13) << where;
            ASSERT_NEAR(f.rddt[i], o.rdd + o.tdd * rs * downDiffuse, 1e-13) << where;
            ASSERT_TRUE(f.absorptance[i] > 0 && f.absorptance[i] < 1) << where;
            ASSERT_TRUE(f.albedo[i] > 0 && f.albedo[i] < 1) << where;
        }
        EXPECT_TRUE(f.fAPAR > 0 && f.fAPAR < 1) << c.name;
    }
}

TEST(CanopyFluxes, LimitsOfTheCanopy)
{
    const LeafPct green = LeafSpectraPct({1.5, 40, 0.01, 0.005});
    for (const SkyMix mix : {SkyMix::Classic, SkyMix::Physical}) {
        // Almost no leaves: nothing absorbed, no cover, the albedo is the soil's.
        const CanopyWithFluxes bare =
            RunWithFluxes(Inputs(1e-7, 30, 20, 90, 0.05, 4, 2, mix), green);
        EXPECT_LT(bare.fluxes.fCover, 1e-6);
        EXPECT_LT(bare.fluxes.fAPAR, 1e-6);
        for (std::size_t i = 0; i < kWavelengthCount; ++i) {
            ASSERT_NEAR(bare.fluxes.absorptance[i], 0.0, 1e-6) << i;
            ASSERT_NEAR(bare.fluxes.albedo[i], bare.state.soilRefl[i] * 0.01, 1e-6) << i;
        }
        EXPECT_NEAR(bare.fluxes.albedoShortwave, GridMean(bare.state.soilRefl, 400, 2500) * 0.01,
                    1e-6);

        // A black soil sends nothing back: the albedos are the layer's own.
        CanopyState black = RunWithFluxes(Inputs(2, 30, 20, 90, 0.05, 4, 0, mix), green).state;
        black.soilRefl.fill(0);
        const CanopyFluxes f = ComputeCanopyFluxes(black, mix);
        const SailhGeometry g = PrepareSailh({2, 30, 20, 90, 0.05, black.lidf});
        for (std::size_t i = 0; i < kWavelengthCount; ++i) {
            const CanopyOptics o = SailhCanopy(g, green.refl[i], green.trans[i], 0);
            ASSERT_EQ(f.rsdt[i], o.rsd) << i;
            ASSERT_EQ(f.rddt[i], o.rdd) << i;
            ASSERT_NEAR(f.As[i], 1 - o.rsd - o.tss - o.tsd, 1e-15) << i;
        }

        // Leaves that absorb nothing (R + T → 1): the canopy absorbs nothing either. A leaf
        // with R + T exactly 1 leaves the layer's solution singular (m = 0).
        double previous = 1;
        for (const double missingPct : {1e-2, 1e-4, 1e-6}) {
            const LeafPct white = UniformLeafPct(60, 40 - missingPct);
            const CanopyFluxes w =
                RunWithFluxes(Inputs(3, 40, 30, 60, 0.1, 4, 1, mix), white).fluxes;
            double largest = 0;
            for (std::size_t i = 0; i < kWavelengthCount; ++i) {
                largest = std::max({largest, std::abs(w.As[i]), std::abs(w.Ad[i])});
            }
            EXPECT_LT(largest, 50 * missingPct / 100) << missingPct;
            EXPECT_LT(largest, previous / 50) << missingPct;
            previous = largest;
        }
    }
}

// One wavelength by hand: tss 0.3, tsd 0.25, rsd 0.04, rdd 0.05, tdd 0.35 over a soil of 20 %
// with a sky weight of 0.25, in exact fractions.
TEST(CanopyFluxes, OneWavelengthByHand)
{
    const CanopyOptics o{0.3, 0.4, 0.15, 0.05, 0.35, 0.04, 0.25, 0.045, 0.3, 0.06};
    const CanopyPointFluxes f = CanopyFluxesAt(o, 20, 0.25);
    EXPECT_NEAR(f.rsdt, 71.0 / 900, 1e-16);
    EXPECT_NEAR(f.rddt, 37.0 / 495, 1e-16);
    EXPECT_NEAR(f.As, 143.0 / 300, 1e-15);
    EXPECT_NEAR(f.Ad, 106.0 / 165, 1e-15);
    EXPECT_NEAR(f.absorptance, 701.0 / 1375, 1e-15);
    EXPECT_NEAR(f.albedo, 322.0 / 4125, 1e-16);
}

// fCover is the cover seen from straight above, whatever the run's view: 1 - exp(-KL) at
// view 0, where every class keeps β = π and KL = 0.01·L·Σ cos θl·f.
TEST(CanopyFluxes, CoverIsSeenFromNadirWhateverTheView)
{
    const LeafPct green = LeafSpectraPct({1.5, 40, 0.01, 0.005});
    for (int lidf = 0; lidf < 5; ++lidf) {
        const double L = 2.5;
        double sumCF = 0;
        for (std::size_t j = 0; j < kLeafAngleClassesDeg.size(); ++j) {
            sumCF += std::cos(kLeafAngleClassesDeg[j] * (4 * std::atan(1.0)) / 180)
                     * kLeafAngleDistributions[static_cast<std::size_t>(lidf)][j];
        }
        const double want = 1 - std::exp(-0.01 * L * sumCF);
        const double atNadir =
            RunWithFluxes(Inputs(L, 35, 0, 0, 0.1, lidf, 1, SkyMix::Classic), green).fluxes.fCover;
        EXPECT_NEAR(atNadir, want, 1e-14) << kLeafArchitectureNames[lidf];
        for (const double view : {-60.0, 20.0, 75.0}) {
            EXPECT_EQ(RunWithFluxes(Inputs(L, 35, view, 120, 0.1, lidf, 1, SkyMix::Physical), green)
                          .fluxes.fCover,
                      atNadir)
                << view;
        }
    }
}

TEST(CanopyFluxes, BroadbandMeansTakeEveryGridPointOfTheirRange)
{
    Spectrum wavelength{};
    for (int i = 0; i < kWavelengthCount; ++i) {
        wavelength[static_cast<std::size_t>(i)] = spectral::WavelengthNm(i);
    }
    EXPECT_EQ(GridMean(wavelength, kParFirstNm, kParLastNm), 550);
    EXPECT_EQ(GridMean(wavelength, kNirFirstNm, kNirLastNm), 1000);
    EXPECT_EQ(GridMean(wavelength, kShortwaveFirstNm, kShortwaveLastNm), 1450);
    EXPECT_EQ(GridMean(wavelength, 2500, 2500), 2500);
}

// The fluxes come beside the run and change nothing of it; their direct and diffuse
// reflectances mix into exactly the kept reflectance.
TEST(CanopyFluxes, LeaveTheRunAsItIs)
{
    const LeafPct green = LeafSpectraPct({1.5, 40, 0.01, 0.005});
    for (const SkyMix mix : {SkyMix::Classic, SkyMix::Physical}) {
        const CanopyInputs in = Inputs(3, 30, -20, 90, 0.05, 4, 1, mix);
        const CanopyState alone = ComputeCanopySpectrum(in, green.refl, green.trans, {});
        const CanopyWithFluxes both = RunWithFluxes(in, green);
        EXPECT_TRUE(both.state == alone);
        for (std::size_t i = 0; i < kWavelengthCount; ++i) {
            const double w = SkyMixWeight(mix, alone.skyRatioPct[i]);
            ASSERT_EQ(MixedReflectancePct({both.fluxes.rsot[i], both.fluxes.rdot[i]}, w),
                      alone.canopyReflPct[i])
                << i;
        }
    }
}

TEST(CanopyFluxes, AStateNoRunFilledIsAnError)
{
    EXPECT_THROW(ComputeCanopyFluxes(CanopyState{}, SkyMix::Classic), Error);
}

}  // namespace
}  // namespace tulmera::canopy
