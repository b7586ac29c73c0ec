// The analysis of the leaf + canopy model with the lesson's ranges: the estimators' invariants,
// the textbook facts of where each parameter speaks, and the indices file read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <map>

#include "gsa/gsa_files.h"
#include "gsa/gsa_run.h"
#include "gsa/quantities.h"
#include "leaf/leaf_models.h"
#include "support/work_dir.h"

namespace tulmera::gsa {
namespace {

GsaSpec LessonSpec(std::uint64_t samples)
{
    GsaSpec spec = HeldAnalysis(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
    SetLessonRanges(spec);
    spec.samples = samples;
    spec.bootstrap = 100;
    spec.quantities = {QuantitySet::Spectrum, QuantitySet::Indices, QuantitySet::Fluxes};
    return spec;
}

// One analysis shared by the tests below (its simulations take a second or two).
struct Analysis {
    GsaSpec spec;
    std::vector<std::string> names;
    std::vector<QuantityIndices> indices;

    explicit Analysis(std::uint64_t samples)
        : spec(LessonSpec(samples)),
          names(QuantityNames(spec)),
          indices(RunAnalysis(spec, {2, nullptr, {}}))
    {
    }
    const std::vector<ParameterIndices>& Of(const std::string& quantity) const
    {
        const auto at = std::ranges::find(names, quantity) - names.begin();
        return indices.at(static_cast<std::size_t>(at)).value();
    }
};

const Analysis& Lesson()
{
    static const Analysis analysis(512);
    return analysis;
}

// Positions of the varied parameters (Parameter order): N, Cab, Cw, Cm, LAI.
enum Varied { kN, kCab, kCw, kCm, kLai };

// The parameters by decreasing total-order index at `quantity`.
std::vector<int> Ranked(const std::string& quantity)
{
    const std::vector<ParameterIndices>& p = Lesson().Of(quantity);
    std::vector<int> order = {kN, kCab, kCw, kCm, kLai};
    std::ranges::sort(order, [&p](int a, int b) {
        return p[static_cast<std::size_t>(a)].ST.value > p[static_cast<std::size_t>(b)].ST.value;
    });
    return order;
}

TEST(ModelSensitivity, ShowsWhereEachParameterSpeaks)
{
    struct Fact {
        const char* quantity;
        std::vector<int> leaders;  // the parameters with the largest ST, in any order
    };
    // With these ranges the dry matter (up to 0.02 g/cm²) joins LAI and N on the NIR plateau,
    // ahead of N; pigments and water are silent there.
    const std::vector<Fact> facts = {
        {"1450", {kCw}},          {"1940", {kCw}},            // water absorption bands
        {"710", {kCab}},          {"720", {kCab, kLai}},      // red edge
        {"850", {kLai, kCm, kN}}, {"1000", {kLai, kCm, kN}},  // NIR plateau
    };
    for (const Fact& fact : facts) {
        std::vector<int> top = Ranked(fact.quantity);
        top.resize(fact.leaders.size());
        std::ranges::sort(top);
        std::vector<int> leaders = fact.leaders;
        std::ranges::sort(leaders);
        EXPECT_EQ(top, leaders) << "at " << fact.quantity;
    }
}

// Over every quantity: a parameter's total effect is never below its own (within the
// intervals), and the first-order shares leave room for interactions.
TEST(ModelSensitivity, KeepsTheIndicesInvariants)
{
    const Analysis& a = Lesson();
    for (std::size_t q = 0; q < a.names.size(); ++q) {
        if (!a.indices[q]) continue;  // an undefined index (none is expected on this design)
        double sumLow = 0;
        for (const ParameterIndices& p : *a.indices[q]) {
            EXPECT_GE(p.ST.high, p.S1.low) << a.names[q];
            EXPECT_GE(p.ST.value, -0.01) << a.names[q];
            sumLow += p.S1.low;
        }
        EXPECT_LE(sumLow, 1.0) << a.names[q];
    }
    EXPECT_TRUE(a.Of("fCover")[kLai].ST.value > 0.99);  // the cover sees only the LAI
}

// Four times the samples, about half the interval: the bootstrap measures the estimate's spread.
TEST(ModelSensitivity, NarrowsItsIntervalsAsTheSamplesGrow)
{
    const Analysis small(64);
    const auto meanWidth = [](const Analysis& a) {
        double width = 0;
        int count = 0;
        for (const QuantityIndices& q : a.indices) {
            if (!q) continue;
            for (const ParameterIndices& p : *q) {
                width += (p.ST.high - p.ST.low) + (p.S1.high - p.S1.low);
                count += 2;
            }
        }
        return width / count;
    };
    EXPECT_LT(meanWidth(Lesson()), 0.75 * meanWidth(small));
}

// The pigments and constituents of PROSPECT-D and PROSPECT-PRO reach the leaf model where they
// absorb and nowhere else: carotenoids in the blue-green, not in the near infrared; proteins
// only beyond 1100 nm, so that below it their total effect is exactly 0.
TEST(ModelSensitivity, VariesTheNewerLeafModelsParameters)
{
    struct Case {
        leaf::LeafModel model;
        const char* parameter;
        double lo, hi;
        const char* speaks;  // a wavelength where its ST exceeds 0.05
        const char* silent;  // one where its ST stays below 1e-3
    };
    const std::vector<Case> cases = {
        {leaf::LeafModel::ProspectD, "Car", 2, 20, "500", "900"},
        {leaf::LeafModel::ProspectPro, "Prot", 0.0005, 0.003, "2180", "800"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameter);
        GsaSpec spec =
            HeldAnalysis(leaf::StartLeafParameters(c.model), canopy::StartCanopyInputs());
        InputRange(spec, *InputNamed("Cab")) = {10, 80, true};
        InputRange(spec, *InputNamed("LAI")) = {0.5, 6, true};
        InputRange(spec, *InputNamed(c.parameter)) = {c.lo, c.hi, true};
        spec.samples = 64;
        spec.bootstrap = 20;
        const std::vector<std::string> names = QuantityNames(spec);
        const std::vector<QuantityIndices> indices = RunAnalysis(spec, {2, nullptr, {}});
        const auto st = [&](const char* quantity) {
            const auto at =
                static_cast<std::size_t>(std::ranges::find(names, quantity) - names.begin());
            return indices.at(at).value().at(2).ST.value;  // Cab, LAI, then the parameter
        };
        EXPECT_GT(st(c.speaks), 0.05);
        EXPECT_LT(std::abs(st(c.silent)), 1e-3);
        EXPECT_NE(SettingsText(spec).find(std::string("; ") + c.parameter + "="),
                  std::string::npos);
    }
}

// The windows adopt the user's locale; the ctest variant gsa_test_es_ES runs this with
// LANG=es_ES.UTF-8, where printf would write decimal commas.
TEST(ModelSensitivity, IndicesFileReadsBackUnderAnyLocale)
{
    std::setlocale(LC_ALL, "");
    testing::ScopedWorkDir dir;
    const Analysis& a = Lesson();
    const std::vector<std::string> parameters = {"N", "Cab", "Cw", "Cm", "LAI"};
    WriteIndicesCsv("indices.csv", SettingsText(a.spec), a.names, parameters, a.indices);
    const IndicesFile file = ReadIndicesCsv("indices.csv");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(file.settings, SettingsText(a.spec));
    ASSERT_EQ(file.lines.size(), a.names.size() * parameters.size());
    const IndicesLine& line = file.lines[parameters.size() * 210 + kCw];  // 1450 nm, Cw
    EXPECT_EQ(line.quantity, "1450");
    EXPECT_EQ(line.parameter, "Cw");
    ASSERT_TRUE(line.ST.has_value());
    EXPECT_NEAR(*line.ST, a.Of("1450")[kCw].ST.value, 1e-14);
    EXPECT_NEAR(*line.S1_low, a.Of("1450")[kCw].S1.low, 1e-14);
}

}  // namespace
}  // namespace tulmera::gsa
