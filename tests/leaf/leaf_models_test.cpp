#include "leaf/leaf_models.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "leaf/leaf_spectrum.h"
#include "spectral/leaf_tables.h"
#include "spectral/prospect_dpro_tables.h"
#include "support/golden.h"
#include "support/split.h"
#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::leaf {
namespace {

using spectral::kWavelengthCount;
using spectral::WavelengthNm;
using testing::Split;

std::size_t At(int wavelengthNm) { return static_cast<std::size_t>((wavelengthNm - 400) / 5); }

// A reference spectrum of PROSPECT-D or PRO: its first line names the model and the
// parameters ("# PROSPECT-D n=1.5, cab=40, car=8, ant=0, cbrown=0, cw=0.01, cm=0.009"), the
// second the columns, then one "wavelength,reflectance,transmittance" line per grid point.
struct ReferenceSpectrum {
    LeafParameters p{};
    LeafSpectrum spectrum{};
};

double NumberOf(const std::string& text)
{
    const std::optional<double> value = textio::ParseNumberText(text);
    if (!value) throw Error("\"" + text + "\" is not a number.");
    return *value;
}

ReferenceSpectrum ReadReference(const std::string& file)
{
    std::vector<std::string> lines;
    for (const std::string& line :
         Split(testing::FileBytes(testing::GoldenDir("leaf-models") / file), '\n')) {
        if (!line.empty()) lines.push_back(line);
    }
    ReferenceSpectrum ref;
    const std::string title = lines.at(0);
    const std::size_t blank = title.find(' ', 2);
    const std::string model = title.substr(2, blank - 2);
    ref.p.model = model == "PROSPECT-D" ? LeafModel::ProspectD : LeafModel::ProspectPro;
    EXPECT_TRUE(model == "PROSPECT-D" || model == "PROSPECT-PRO") << title;
    const std::map<std::string, double LeafParameters::*> fields = {
        {"n", &LeafParameters::N},           {"cab", &LeafParameters::Cab},
        {"car", &LeafParameters::Car},       {"ant", &LeafParameters::Anth},
        {"cbrown", &LeafParameters::Cbrown}, {"cw", &LeafParameters::Cw},
        {"cm", &LeafParameters::Cm},         {"prot", &LeafParameters::Prot},
        {"cbc", &LeafParameters::CBC}};
    for (std::string assignment : Split(title.substr(blank + 1), ',')) {
        assignment.erase(0, assignment.find_first_not_of(' '));
        const std::size_t equals = assignment.find('=');
        ref.p.*fields.at(assignment.substr(0, equals)) = NumberOf(assignment.substr(equals + 1));
    }
    EXPECT_EQ(lines.at(1), "wavelength_nm,reflectance,transmittance");
    EXPECT_EQ(lines.size(), 2u + kWavelengthCount) << file;
    for (std::size_t i = 0; i < kWavelengthCount; ++i) {
        const std::vector<std::string> cells = Split(lines.at(i + 2), ',');
        EXPECT_EQ(NumberOf(cells.at(0)), WavelengthNm(static_cast<int>(i))) << file;
        ref.spectrum.refl[i] = NumberOf(cells.at(1));
        ref.spectrum.trans[i] = NumberOf(cells.at(2));
    }
    return ref;
}

// The reference spectra were computed independently with the exact exponential integral; the
// expansion differs from it far below 5e-11.
TEST(LeafModels, ReproduceTheIndependentReferenceSpectra)
{
    constexpr double kTolerance = 5e-11;
    for (const char* file : {"prospect_d_1.csv", "prospect_d_2.csv", "prospect_d_3.csv",
                             "prospect_pro_1.csv", "prospect_pro_2.csv"}) {
        const ReferenceSpectrum ref = ReadReference(file);
        const LeafSpectrum got = ComputeLeafSpectrum(ref.p);
        double largest = 0;
        int largestNm = 0;
        for (std::size_t i = 0; i < kWavelengthCount; ++i) {
            for (const double deviation : {std::abs(got.refl[i] - ref.spectrum.refl[i]),
                                           std::abs(got.trans[i] - ref.spectrum.trans[i])}) {
                if (deviation > largest) {
                    largest = deviation;
                    largestNm = WavelengthNm(static_cast<int>(i));
                }
            }
            ASSERT_NEAR(got.refl[i], ref.spectrum.refl[i], kTolerance)
                << file << " reflectance at " << WavelengthNm(static_cast<int>(i)) << " nm";
            ASSERT_NEAR(got.trans[i], ref.spectrum.trans[i], kTolerance)
                << file << " transmittance at " << WavelengthNm(static_cast<int>(i)) << " nm";
        }
        std::cout << "[ golden   ] " << file << ": largest deviation " << largest << " at "
                  << largestNm << " nm\n";
    }
}

// PROSPECT-D without its new pigments differs from the classic model in three places only:
// its own table, no base absorption and the top surface's 40° cone. Computed here by hand
// with the classic formula's pieces.
TEST(LeafModels, ProspectDWithoutNewPigmentsIsTheClassicPlateWithItsOwnTableAnd40Degrees)
{
    const spectral::ProspectDproTables& d = spectral::LoadProspectDproTables();
    for (const LeafParameters& classic :
         {LeafParameters{1.5, 40, 0.01, 0.005}, LeafParameters{1, 0, 0.0001, 0.002},
          LeafParameters{3.2, 80, 0.05, 0.03}}) {
        LeafParameters p = classic;
        p.model = LeafModel::ProspectD;
        const LeafSpectrum got = ComputeLeafSpectrum(p);
        double coneEffect = 0;
        for (int i = 0; i < kWavelengthCount; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const double n = d.refIndex[at];
            const double k = (p.Cab * d.kCab[at] + p.Cw * d.kCw[at] + p.Cm * d.kCm[at]) / p.N;
            const LeafOptics want = ProspectLeaf(p.N, n, k, {Tav(90, n), Tav(40, n)});
            ASSERT_NEAR(got.refl[at], want.refl, 1e-15) << p.N << " at " << WavelengthNm(i);
            ASSERT_NEAR(got.trans[at], want.trans, 1e-15) << p.N << " at " << WavelengthNm(i);
            const LeafOptics at60 = ProspectLeaf(p.N, n, k, {Tav(90, n), Tav(60, n)});
            coneEffect = std::max(coneEffect, std::abs(at60.refl - want.refl));
        }
        EXPECT_GT(coneEffect, 1e-3) << "the 40° cone must matter";
    }
}

// Each pigment or constituent absorbs in its own band and nowhere else: raising it lowers the
// leaf's reflectance and transmittance in the band and leaves every value outside it bit for
// bit (its coefficient is 0 there). A column read from the wrong table shows here.
TEST(LeafModels, EachConstituentActsInItsOwnBandOnly)
{
    LeafParameters d{1.5, 40, 0.01, 0.005, 8, 1, 0.1, 0, 0, LeafModel::ProspectD};
    LeafParameters pro = d;
    pro.model = LeafModel::ProspectPro;
    pro.Cm = 0;
    pro.Prot = 0.001;
    pro.CBC = 0.005;
    const struct {
        const char* name;
        LeafParameters base;
        double LeafParameters::*value;
        double raised;
        int inBandNm;
        int outsideFromNm, outsideToNm;  // where its coefficient is 0; none when 0, 0
    } cases[] = {
        {"Cab", d, &LeafParameters::Cab, 60, 670, 785, 2500},
        {"Car", d, &LeafParameters::Car, 16, 490, 565, 2500},
        {"Anth", d, &LeafParameters::Anth, 10, 550, 690, 2500},
        {"Cbrown", d, &LeafParameters::Cbrown, 0.8, 600, 1100, 2500},
        {"Cm (D)", d, &LeafParameters::Cm, 0.01, 1700, 0, 0},
        {"Car (PRO)", pro, &LeafParameters::Car, 16, 490, 565, 2500},
        {"Prot", pro, &LeafParameters::Prot, 0.003, 2170, 400, 1430},
        {"CBC", pro, &LeafParameters::CBC, 0.015, 2300, 0, 0},
    };
    for (const auto& c : cases) {
        LeafParameters raised = c.base;
        raised.*c.value = c.raised;
        const LeafSpectrum before = ComputeLeafSpectrum(c.base);
        const LeafSpectrum after = ComputeLeafSpectrum(raised);
        EXPECT_LT(after.refl[At(c.inBandNm)], before.refl[At(c.inBandNm)]) << c.name;
        EXPECT_LT(after.trans[At(c.inBandNm)], before.trans[At(c.inBandNm)]) << c.name;
        for (int nm = c.outsideFromNm; nm != 0 && nm <= c.outsideToNm; nm += 5) {
            ASSERT_EQ(after.refl[At(nm)], before.refl[At(nm)]) << c.name << " at " << nm;
            ASSERT_EQ(after.trans[At(nm)], before.trans[At(nm)]) << c.name << " at " << nm;
        }
    }
}

// The message of the tulmera::Error that checking `p` throws, or "accepted".
std::string CheckOf(const LeafParameters& p)
{
    try {
        CheckLeafParameters(p);
    } catch (const Error& e) {
        return e.what();
    }
    return "accepted";
}

TEST(LeafModels, CheckRefusesWhatAModelCannotTakeNamingTheParameter)
{
    const LeafParameters classic = kStartLeafParameters;
    const LeafParameters d{1.5, 40, 0.01, 0.005, 8, 1, 0.1, 0, 0, LeafModel::ProspectD};
    const LeafParameters pro{1.5, 40, 0.01, 0, 8, 1, 0.1, 0.001, 0.005, LeafModel::ProspectPro};
    const auto with = [](LeafParameters p, double LeafParameters::*value, double x) {
        p.*value = x;
        return p;
    };
    const struct {
        const char* name;
        LeafParameters p;
        const char* expected;
    } cases[] = {
        {"classic start", classic, "accepted"},
        {"D", d, "accepted"},
        {"PRO", pro, "accepted"},
        {"Cbrown at its top", with(d, &LeafParameters::Cbrown, 1), "accepted"},
        {"D without any pigment", with(with(d, &LeafParameters::Car, 0), &LeafParameters::Cab, 0),
         "accepted"},
        {"classic with Car", with(classic, &LeafParameters::Car, 8),
         "The classic leaf model has no parameter Car: it must be 0, not 8."},
        {"classic with Cbrown", with(classic, &LeafParameters::Cbrown, 0.5),
         "The classic leaf model has no parameter Cbrown: it must be 0, not 0.5."},
        {"D with Prot", with(d, &LeafParameters::Prot, 0.001),
         "The prospect-d leaf model has no parameter Prot: it must be 0, not 0.001."},
        {"D with CBC", with(d, &LeafParameters::CBC, 0.01),
         "The prospect-d leaf model has no parameter CBC: it must be 0, not 0.01."},
        {"PRO with Cm", with(pro, &LeafParameters::Cm, 0.005),
         "The prospect-pro leaf model has no parameter Cm: it must be 0, not 0.005."},
        {"negative Car", with(d, &LeafParameters::Car, -1),
         "The leaf parameter Car must be 0 or more, not -1."},
        {"negative Anth", with(pro, &LeafParameters::Anth, -0.5),
         "The leaf parameter Anth must be 0 or more, not -0.5."},
        {"negative Prot", with(pro, &LeafParameters::Prot, -0.001),
         "The leaf parameter Prot must be 0 or more, not -0.001."},
        {"negative classic Cab", with(classic, &LeafParameters::Cab, -15),
         "The leaf parameter Cab must be 0 or more, not -15."},
        {"negative classic Cm", with(classic, &LeafParameters::Cm, -0.002),
         "The leaf parameter Cm must be 0 or more, not -0.002."},
        {"Cbrown above 1", with(d, &LeafParameters::Cbrown, 1.01),
         "The brown pigment content Cbrown must be at most 1, not 1.01."},
        {"Cbrown above 1 in PRO", with(pro, &LeafParameters::Cbrown, 2),
         "The brown pigment content Cbrown must be at most 1, not 2."},
        {"N 0 in D", with(d, &LeafParameters::N, 0),
         "The leaf structure N must be greater than 0, not 0."},
        {"CBC not finite", with(pro, &LeafParameters::CBC, NAN),
         "The leaf parameter CBC is not a finite number."},
        {"foreign and not finite", with(classic, &LeafParameters::Anth, INFINITY),
         "The leaf parameter Anth is not a finite number."},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckOf(c.p), c.expected) << c.name;
}

// A leaf with nothing that absorbs has k = 0 somewhere: an error naming the wavelength and
// the model's own parameters, not a file of NaN.
TEST(LeafModels, ALeafThatAbsorbsNothingIsAnErrorNamingTheModelsParameters)
{
    const LeafParameters pro{1, 0, 0, 0, 0, 0, 0, 0.001, 0, LeafModel::ProspectPro};
    try {
        ComputeLeafSpectrum(pro);
        FAIL() << "accepted";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "Leaf model at 400 nm: the absorption coefficient k is 0, but the model "
                     "needs k > 0 (N = 1, Cab = 0, Car = 0, Anth = 0, Cbrown = 0, Cw = 0, "
                     "Prot = 0.001, CBC = 0).");
    }
}

TEST(LeafModels, NamesReadBackAndNothingElseParses)
{
    for (const LeafModel model : kLeafModels) {
        EXPECT_EQ(ParseLeafModel(LeafModelName(model)), model) << LeafModelName(model);
    }
    EXPECT_EQ(LeafModelName(LeafModel::Classic), "classic");
    EXPECT_EQ(LeafModelName(LeafModel::ProspectD), "prospect-d");
    EXPECT_EQ(LeafModelName(LeafModel::ProspectPro), "prospect-pro");
    for (const char* text : {"", "Classic", "prospect-D", "prospect_d", "prospectd", " classic",
                             "prospect-pro ", "prospect", "PROSPECT-PRO"}) {
        EXPECT_FALSE(ParseLeafModel(text).has_value()) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace tulmera::leaf
