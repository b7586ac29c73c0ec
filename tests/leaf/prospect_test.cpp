#include "leaf/prospect.h"

#include <gtest/gtest.h>

#include <cmath>

#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "spectral/leaf_tables.h"
#include "spectral/prospect_dpro_tables.h"
#include "textio/error.h"

namespace tulmera::leaf {
namespace {

using spectral::kWavelengthCount;
using spectral::WavelengthNm;

struct E1Reference {
    double k;
    double e1;  // E1(k), 20 digits, computed with mpmath 1.3 at 30 digits
};

// The expansion itself is accurate to about 3e-12 relative just above k = 4 and 2.5e-13
// elsewhere; the bounds catch a wrong coefficient and a switch written as k < 4 (the second
// expansion is off by 2e-12 at k = 4).
TEST(ExpIntegral, MatchesIndependentValuesOnBothSidesOfTheSwitch)
{
    const E1Reference below[] = {
        {1e-6, 13.238295893062491244},   {0.01, 4.0379295765381138318},
        {0.5, 0.55977359477616081175},   {1.0, 0.21938393439552027368},
        {2.0, 0.048900510708061119567},  {3.5, 0.0069701398575483929193},
        {4.0, 0.0037793524098489064789},
    };
    for (const E1Reference& r : below) {
        EXPECT_NEAR(ExpIntegral(r.k) / r.e1, 1.0, 2.5e-13) << "k = " << r.k;
    }
    const E1Reference above[] = {
        {4.000001, 0.0037793478309420461127}, {4.1, 0.0033488806360697099074},
        {5.0, 0.0011482955912753257973},      {8.0, 0.000037665622843924901773},
        {12.0, 4.7510818246724939326e-7},     {20.0, 9.8355252906498816904e-11},
        {40.0, 1.0367732614516569722e-19},    {60.0, 1.4358675656812567884e-28},
        {84.9, 1.5648145418106426289e-39},
    };
    for (const E1Reference& r : above) {
        EXPECT_NEAR(ExpIntegral(r.k) / r.e1, 1.0, 3e-12) << "k = " << r.k;
    }
}

TEST(ExpIntegral, IsZeroFrom85On)
{
    EXPECT_GT(ExpIntegral(84.999), 0.0);
    EXPECT_EQ(ExpIntegral(85.0), 0.0);
    EXPECT_EQ(ExpIntegral(1000.0), 0.0);
}

TEST(Tav, NormalIncidenceAndTheOrderOfTheCones)
{
    EXPECT_DOUBLE_EQ(Tav(0.0, 1.5), 0.96);
    for (const double n : {1.05, 1.271, 1.4, 1.512, 2.0}) {
        EXPECT_EQ(Tav(0.0, n), 4.0 * n / ((n + 1.0) * (n + 1.0))) << n;
        EXPECT_LT(Tav(90.0, n), Tav(60.0, n)) << n;
        EXPECT_LT(Tav(60.0, n), Tav(0.0, n)) << n;
        EXPECT_GT(Tav(90.0, n), 0.0) << n;
    }
}

TEST(ProspectLeaf, OneLayerGivesTheTopLayerPair)
{
    // With N = 1 the pile reduces to the top layer: leafRefl = ra, leafTrans = ta.
    const double n = 1.45, k = 0.3;
    const Transmissivities tav = InterfaceTransmissivities(n);
    const double tau = (1.0 - k) * std::exp(-k) + k * k * ExpIntegral(k);
    const double n2 = n * n;
    const double x4 = n2 * n2 - tau * tau * ((n2 - tav.t1) * (n2 - tav.t1));
    const double r = 1.0 - tav.t1 + tav.t1 * tav.t1 * (tau * tau) * (n2 - tav.t1) / x4;
    const double t = tav.t1 * tav.t1 * tau * n2 / x4;
    const double x5 = tav.t2 / tav.t1;
    const LeafOptics optics = ProspectLeaf(1.0, n, k);
    EXPECT_NEAR(optics.refl, x5 * r + (x5 * (tav.t1 - 1.0) + 1.0 - tav.t2), 1e-15);
    EXPECT_NEAR(optics.trans, x5 * t, 1e-15);
}

// The corners of the parameter ranges the windows allow, for every leaf model: PROSPECT-D
// and PRO add Car 0 .. 30, Anth 0 .. 40, Cbrown 0 .. 1, and PRO has Prot 0 .. 0.004 and
// CBC 0 .. 0.02 in place of Cm.
std::vector<LeafParameters> CornerCases()
{
    std::vector<LeafParameters> corners;
    for (const double N : {1.0, 4.0}) {
        for (const double Cab : {15.0, 90.0}) {
            for (const double Cw : {0.0001, 0.07}) {
                for (const double Cm : {0.002, 0.04}) corners.push_back({N, Cab, Cw, Cm});
                for (const double Car : {0.0, 30.0}) {
                    for (const double Anth : {0.0, 40.0}) {
                        for (const double Cbrown : {0.0, 1.0}) {
                            for (const double Cm : {0.002, 0.04}) {
                                corners.push_back({N, Cab, Cw, Cm, Car, Anth, Cbrown, 0, 0,
                                                   LeafModel::ProspectD});
                            }
                            for (const double Prot : {0.0, 0.004}) {
                                for (const double CBC : {0.0, 0.02}) {
                                    corners.push_back({N, Cab, Cw, 0, Car, Anth, Cbrown, Prot, CBC,
                                                       LeafModel::ProspectPro});
                                }
                            }
                        }
                    }
                }
            }
        }
    }
    return corners;
}

std::string Label(const LeafParameters& p)
{
    std::string text(LeafModelName(p.model));
    for (const LeafParameterField& field : ModelParameters(p.model)) {
        text += " " + std::string(field.name) + " " + std::to_string(p.*field.value);
    }
    return text;
}

TEST(LeafSpectrum, StaysPhysicalAtTheCornersOfTheWindowRanges)
{
    for (const LeafParameters& p : CornerCases()) {
        const LeafSpectrum s = ComputeLeafSpectrum(p);
        for (std::size_t i = 0; i < s.refl.size(); ++i) {
            const int nm = WavelengthNm(static_cast<int>(i));
            ASSERT_GT(s.refl[i], 0.0) << Label(p) << " at " << nm;
            ASSERT_GE(s.trans[i], 0.0) << Label(p) << " at " << nm;
            ASSERT_LT(s.refl[i] + s.trans[i], 1.0) << Label(p) << " at " << nm;
        }
    }
}

TEST(LeafSpectrum, StartLeafTransmitsMoreThanItReflectsOnTheNearInfraredPlateau)
{
    const LeafSpectrum s = ComputeLeafSpectrum(kStartLeafParameters);
    const std::size_t red = (675 - 400) / 5, nir = (800 - 400) / 5;
    EXPECT_GT(s.trans[nir], s.refl[nir]);
    EXPECT_GT(s.refl[nir], s.refl[red]);
    EXPECT_GT(s.trans[nir], s.trans[red]);
}

// Every value of a spectrum is the point's own model, with the interface transmissivities
// computed afresh (the spectrum takes them from tables made once), for each leaf model.
TEST(LeafSpectrum, UsesTheModelAtEveryGridPoint)
{
    const spectral::LeafTables& tables = spectral::LoadLeafTables();
    const spectral::ProspectDproTables& dpro = spectral::LoadProspectDproTables();
    const LeafParameters cases[] = {
        {2.2, 60, 0.02, 0.01},
        kStartLeafParameters,
        {4, 90, 0.07, 0.04},
        {1.5, 40, 0.01, 0.005, 8, 1, 0.1, 0, 0, LeafModel::ProspectD},
        {2.5, 20, 0.03, 0, 6, 5, 0.3, 0.002, 0.01, LeafModel::ProspectPro},
    };
    for (const LeafParameters& p : cases) {
        const LeafSpectrum s = ComputeLeafSpectrum(p);
        for (int i = 0; i < kWavelengthCount; ++i) {
            const auto at = static_cast<std::size_t>(i);
            LeafOptics optics{};
            if (p.model == LeafModel::Classic) {
                optics = ProspectLeaf(p.N, tables.refIndex[at], LeafAbsorption(p, tables, i));
            } else {
                const double n = dpro.refIndex[at];
                const double k = p.model == LeafModel::ProspectD
                                     ? ProspectDAbsorption(p, dpro, i)
                                     : ProspectProAbsorption(p, dpro, i);
                optics = ProspectLeaf(p.N, n, k, InterfaceTransmissivities(n, 40.0));
            }
            ASSERT_EQ(s.refl[at], optics.refl) << p.N << " at " << WavelengthNm(i);
            ASSERT_EQ(s.trans[at], optics.trans) << p.N << " at " << WavelengthNm(i);
        }
    }
}

// The message of the tulmera::Error that computing `p` throws.
std::string FailureOf(const LeafParameters& p)
{
    try {
        ComputeLeafSpectrum(p);
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

TEST(LeafSpectrum, RefusesParametersOutsideTheModelsDomain)
{
    const struct {
        LeafParameters p;
        const char* expected;
    } cases[] = {
        {{0.0, 15, 0.0001, 0.002}, "N must be greater than 0, not 0"},
        {{-1.0, 15, 0.0001, 0.002}, "N must be greater than 0, not -1"},
        {{NAN, 15, 0.0001, 0.002}, "parameter N is not a finite number"},
        {{1.0, INFINITY, 0.0001, 0.002}, "parameter Cab is not a finite number"},
        {{1.0, 15, 0.0001, 0.0}, "at 755 nm: the absorption coefficient k is 0"},
        {{1.0, 15, -1.0, 0.002}, "parameter Cw must be 0 or more, not -1"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(FailureOf(c.p).find(c.expected), std::string::npos) << FailureOf(c.p);
    }
}

}  // namespace
}  // namespace tulmera::leaf
