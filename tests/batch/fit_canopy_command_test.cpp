// tulmera-batch fit-canopy: its CSV from the program, and every bad input refused with its
// exit code and an English message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "batch/batch_runner.h"
#include "leaf/leaf_models.h"
#include "lut/lut_fit.h"
#include "lut/table_run.h"
#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

using testing::FileBytes;
using testing::ScopedWorkDir;

constexpr std::uint64_t kRows = 200;

// t.h5: a 200-row table with the fit's ranges; a.csv: its rows 17 and 150 as columns "a" and
// "b", written with 17 digits so that they read back as the very stored values.
lut::Table WriteInputs()
{
    canopy::CanopyInputs canopyInputs = canopy::StartCanopyInputs();
    lut::TableSpec spec =
        lut::WithFitRanges(lut::HeldSpec(leaf::kStartLeafParameters, canopyInputs));
    spec.samples = kRows;
    spec.seed = 4;
    lut::WriteTable("t.h5", spec, {{0, kRows}, 2, nullptr, {}});
    lut::Table table = lut::LoadTable("t.h5");
    std::string text = "wavelength,a,b\n";
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        text += std::to_string(spectral::WavelengthNm(i));
        for (const std::size_t row : {17u, 150u}) {
            text += ',';
            const float value =
                table.rows
                    .reflectance[row * spectral::kWavelengthCount + static_cast<std::size_t>(i)];
            textio::AppendNumberText(text, static_cast<double>(value), 17);
        }
        text += '\n';
    }
    std::ofstream("a.csv") << text;
    return table;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    if (start < text.size()) parts.push_back(text.substr(start));
    return parts;
}

TEST(FitCanopyCommand, FindsEachColumnsOwnRow)
{
    ScopedWorkDir dir;
    const lut::Table table = WriteInputs();
    const testing::Outcome best =
        testing::RunBatchProgram("fit-canopy --lut t.h5 --reflectance a.csv --best 1 --fraction");
    ASSERT_EQ(best.exitCode, 0) << best.err;
    const std::string& out = best.out;
    const std::vector<std::string> lines = Split(out, '\n');
    ASSERT_EQ(lines.size(), 3u) << out;
    EXPECT_EQ(lines[0],
              "column,N_mean,Cab_mean,Cw_mean,Cm_mean,LAI_mean,sun_mean,view_mean,azimuth_mean,"
              "hotspot_mean,N_sd,Cab_sd,Cw_sd,Cm_sd,LAI_sd,sun_sd,view_sd,azimuth_sd,hotspot_sd,"
              "rmse_best");
    const std::size_t rows[] = {17, 150};
    for (std::size_t c = 0; c < 2; ++c) {
        std::string expected = c == 0 ? "a" : "b";
        for (std::size_t p = 0; p < lut::kClassicColumnCount; ++p) {
            expected += ',';
            textio::AppendNumberText(expected,
                                     table.rows.parameters[rows[c] * lut::kParameterCount + p]);
        }
        expected += std::string(lut::kClassicColumnCount, ',') + ",0";  // no SD with one row
        EXPECT_EQ(lines[c + 1], expected);
    }
    // Twenty rows: every field a number, the first still an exact match.
    const testing::Outcome twentyRun = testing::RunBatchProgram(
        "fit-canopy --lut t.h5 --reflectance a.csv --columns b --exclude-water");
    ASSERT_EQ(twentyRun.exitCode, 0) << twentyRun.err;
    const std::string& twenty = twentyRun.out;
    const std::vector<std::string> fields = Split(Split(twenty, '\n').at(1), ',');
    ASSERT_EQ(fields.size(), 2 * lut::kClassicColumnCount + 2) << twenty;
    for (const std::string& field : fields) EXPECT_FALSE(field.empty()) << twenty;
    EXPECT_EQ(fields.back(), "0");

    // Refined from the mean of twenty rows: the columns the refinement adds, its RMSE as low as
    // the best row's (which is row 150 itself: 0, but for the single-precision rounding of the
    // stored spectrum), and row 150's own LAI found closer than the mean finds it.
    const testing::Outcome refinedRun =
        testing::RunBatchProgram("fit-canopy --lut t.h5 --reflectance a.csv --columns b --refine");
    ASSERT_EQ(refinedRun.exitCode, 0) << refinedRun.err;
    const std::string& refined = refinedRun.out;
    const std::vector<std::string> header = Split(Split(refined, '\n').at(0), ',');
    const std::vector<std::string> values = Split(Split(refined, '\n').at(1), ',');
    ASSERT_EQ(header.size(), 3 * lut::kClassicColumnCount + 3) << refined;
    ASSERT_EQ(values.size(), header.size()) << refined;
    EXPECT_EQ(header[2 * lut::kClassicColumnCount + 2], "N_refined");
    EXPECT_EQ(header.back(), "rmse_refined");
    const auto number = [&](std::size_t i) { return *textio::ParseNumberText(values[i]); };
    constexpr auto kLai = static_cast<std::size_t>(lut::Parameter::Lai);
    const double truth = table.rows.parameters[150 * lut::kParameterCount + kLai];
    EXPECT_LE(number(values.size() - 1), number(2 * lut::kClassicColumnCount + 1) + 1e-5);
    EXPECT_LT(std::abs(number(2 * lut::kClassicColumnCount + 2 + kLai) - truth),
              std::abs(number(1 + kLai) - truth));
}

// A PROSPECT-D table: the fit reports its columns, and --refine refines them with the table's
// leaf model, coming back to the row that made the spectrum (the classic model could not: it
// has no carotenoids or anthocyanins). A --leaf-model that contradicts the table is refused.
TEST(FitCanopyCommand, FitsATableOfAnotherLeafModelWithThatModel)
{
    ScopedWorkDir dir;
    leaf::LeafParameters leaf = leaf::StartLeafParameters(leaf::LeafModel::ProspectD);
    leaf.Cw = 0.01;
    leaf.Cm = 0.005;
    lut::TableSpec spec = lut::HeldSpec(leaf, canopy::StartCanopyInputs());
    spec.samples = 60;
    spec.seed = 8;
    spec.ranges[static_cast<std::size_t>(lut::Parameter::Anth)] = {0, 30, true};
    spec.ranges[static_cast<std::size_t>(lut::Parameter::Car)] = {2, 20, true};
    spec.ranges[static_cast<std::size_t>(lut::Parameter::Lai)] = {0.5, 5, true};
    lut::WriteTable("d.csv", spec, {{0, spec.samples}, 2, nullptr, {}});
    const lut::Table table = lut::LoadTable("d.csv");
    constexpr std::size_t kRow = 23;
    std::string text = "wavelength,a\n";
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        text += std::to_string(spectral::WavelengthNm(i)) + ',';
        const float value =
            table.rows.reflectance[kRow * spectral::kWavelengthCount + static_cast<std::size_t>(i)];
        textio::AppendNumberText(text, static_cast<double>(value), 17);
        text += '\n';
    }
    std::ofstream("a.csv") << text;

    const testing::Outcome run = testing::RunBatchProgram(
        "fit-canopy --lut d.csv --reflectance a.csv --best 3 --refine --fraction");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Split(run.out, '\n');
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_TRUE(lines[0].starts_with(
        "column,N_mean,Cab_mean,Car_mean,Anth_mean,Cbrown_mean,Cw_mean,Cm_mean,LAI_mean,"))
        << lines[0];
    const std::vector<std::string> header = Split(lines[0], ',');
    const std::vector<std::string> values = Split(lines[1], ',');
    ASSERT_EQ(header.size(), 3 * 12 + 3u);
    ASSERT_EQ(values.size(), header.size());
    const auto field = [&](const std::string& name) {
        const auto at = std::find(header.begin(), header.end(), name);
        EXPECT_NE(at, header.end()) << name;
        return *textio::ParseNumberText(values[static_cast<std::size_t>(at - header.begin())]);
    };
    EXPECT_LT(field("rmse_refined"), 0.01);  // percent: the row itself, but for its rounding
    for (const lut::Parameter p :
         {lut::Parameter::Anth, lut::Parameter::Car, lut::Parameter::Lai}) {
        const auto at = static_cast<std::size_t>(p);
        const double truth = table.rows.parameters[kRow * lut::kParameterCount + at];
        const std::string name(lut::kParameterNames[at]);
        EXPECT_NEAR(field(name + "_refined"), truth,
                    0.02 * (spec.ranges[at].hi - spec.ranges[at].lo))
            << name;
    }

    const testing::Outcome contradicted =
        testing::RunBatchProgram("fit-canopy --lut d.csv --reflectance a.csv --leaf-model classic");
    EXPECT_EQ(contradicted.exitCode, 2);
    EXPECT_NE(contradicted.err.find("--leaf-model classic contradicts the table \"d.csv\", "
                                    "computed with the prospect-d leaf model"),
              std::string::npos)
        << contradicted.err;
    EXPECT_EQ(testing::RunBatchProgram(
                  "fit-canopy --lut d.csv --reflectance a.csv --leaf-model prospect-d")
                  .exitCode,
              0);
}

TEST(FitCanopyCommand, RefusesBadInputsWithTheirExitCodes)
{
    ScopedWorkDir dir;
    WriteInputs();
    std::ofstream("notours.csv") << "a,b\n1,2\n";
    const std::string whole = FileBytes("t.h5");
    std::ofstream("truncated.h5", std::ios::binary) << whole.substr(0, whole.size() / 2);
    std::ofstream("uv.csv") << "wavelength,a\n300,0.1\n350,0.1\n395,0.1\n";
    std::string water = "wavelength,a\n";
    for (int nm = 1800; nm <= 1960; nm += 5) water += std::to_string(nm) + ",0.2\n";
    std::ofstream("water.csv") << water;
    struct Case {
        std::vector<std::string> arguments;  // after "fit-canopy"
        int exitCode;
        const char* message;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {{"--reflectance", "a.csv"}, 2, "fit-canopy needs --lut FILE."},
        {{"--lut", "t.h5"}, 2, "fit-canopy needs --reflectance FILE."},
        {{"--lut", "t.txt", "--reflectance", "a.csv"}, 2, "a table is read from FILE.h5 (HDF5) or FILE.csv"},
        {{"--lut", "t.h5", "--reflectance", "a.csv", "--best", "0"}, 2, "--best must be a whole number"},
        {{"--lut", "t.h5", "--reflectance", "a.csv", "--best", "-3"}, 2, "--best must be a whole number"},
        {{"--lut", "t.h5", "--reflectance", "a.csv", "--best", "2.5"}, 2, "--best must be a whole number"},
        {{"--lut", "t.h5", "--reflectance", "a.csv", "--best", "x"}, 2, "--best: \"x\" is not a number"},
        {{"--lut", "t.h5", "--reflectance", "a.csv", "--percent", "--fraction"}, 2, "exclude each other"},
        {{"--lut", "t.h5", "--reflectance", "a.csv", "--columns", "a,,b"}, 2, "has an empty entry"},
        {{"--lut", "t.h5", "--reflectance", "a.csv", "--threads", "2"}, 2, "Unknown option \"--threads\""},
        {{"--lut", "t.h5", "--reflectance", "a.csv", "--best", "201"}, 1,
         "--best 201 asks for more rows than the table \"t.h5\" holds (200)."},
        {{"--lut", "notours.csv", "--reflectance", "a.csv"}, 1, "\"notours.csv\" is not a look-up table of ours"},
        {{"--lut", "truncated.h5", "--reflectance", "a.csv"}, 1, "\"truncated.h5\" is not a look-up table of ours or is damaged"},
        {{"--lut", "none.h5", "--reflectance", "a.csv"}, 1, "The table \"none.h5\" does not exist."},
        {{"--lut", "t.h5", "--reflectance", "none.csv"}, 1, "none.csv"},
        {{"--lut", "t.h5", "--reflectance", "uv.csv"}, 1, "has every wavelength outside 400 .. 2500 nm"},
        {{"--lut", "t.h5", "--reflectance", "water.csv", "--exclude-water"}, 1,
         "Fitting column \"a\" of \"water.csv\" against \"t.h5\": The spectrum shares 0 wavelengths"},
        {{"--lut", "t.h5", "--reflectance", "a.csv", "--columns", "c"}, 1, "has no column \"c\""},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<std::string_view> arguments = {"fit-canopy"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        std::ostringstream out, err;
        SCOPED_TRACE(c.message);
        EXPECT_EQ(RunBatch(arguments, out, err), c.exitCode) << err.str();
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
}

}  // namespace
}  // namespace tulmera::batch
