// The sweep command: its options, their defaults and its refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "batch/batch_runner.h"
#include "batch/sweep_command.h"
#include "leaf/leaf_models.h"
#include "spectral/grid.h"
#include "support/golden.h"
#include "support/parsed_arguments.h"
#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

using testing::ScopedWorkDir;

multi::SweepRequest RequestOf(std::vector<std::string_view> arguments)
{
    return SweepRequestFrom(testing::ParsedArguments(arguments, SweepCommand().options));
}

TEST(BatchSweep, DefaultsAreTheWindowsSetUp)
{
    const struct {
        const char* param;
        double lower, upper, interval;
    } cases[] = {
        {"N", 1, 4, 0.1},
        {"Cab", 15, 90, 1},
        {"Cw", 0.0001, 0.07, 0.001},
        {"Cm", 0.002, 0.04, 0.0005},
    };
    for (const auto& c : cases) {
        const multi::SweepRequest request = RequestOf({"--param", c.param});
        EXPECT_EQ(multi::ParameterName(request.swept), c.param);
        EXPECT_EQ(request.lower, c.lower) << c.param;
        EXPECT_EQ(request.upper, c.upper) << c.param;
        EXPECT_EQ(request.interval, c.interval) << c.param;
        EXPECT_EQ(request.fixed.N, 1.0);
        EXPECT_EQ(request.fixed.Cab, 15.0);
    }
    const multi::SweepRequest given =
        RequestOf({"--param", "Cab", "--from", "20", "--to", "30", "--step", "2", "--N", "2"});
    EXPECT_EQ(given.lower, 20.0);
    EXPECT_EQ(given.upper, 30.0);
    EXPECT_EQ(given.interval, 2.0);
    EXPECT_EQ(given.fixed.N, 2.0);
    EXPECT_EQ(multi::ParameterName(RequestOf({}).swept), "N");
}

TEST(BatchSweep, NewerModelParametersHaveDefaultLimitsToo)
{
    const struct {
        const char* model;
        const char* param;
        double lower, upper, interval;
    } cases[] = {
        {"prospect-d", "Car", 0, 30, 2},
        {"prospect-d", "Anth", 0, 40, 5},
        {"prospect-pro", "Cbrown", 0, 1, 0.1},
        {"prospect-pro", "Prot", 0, 0.004, 0.0005},
        {"prospect-pro", "CBC", 0.002, 0.02, 0.002},
    };
    for (const auto& c : cases) {
        const multi::SweepRequest request =
            RequestOf({"--leaf-model", c.model, "--param", c.param});
        EXPECT_EQ(multi::ParameterName(request.swept), c.param);
        EXPECT_EQ(request.lower, c.lower) << c.param;
        EXPECT_EQ(request.upper, c.upper) << c.param;
        EXPECT_EQ(request.interval, c.interval) << c.param;
        EXPECT_EQ(leaf::LeafModelName(request.fixed.model), c.model);
    }
}

TEST(BatchSweep, SweepsThatCannotRunAreUsageErrorsAndWriteNothing)
{
    const struct {
        std::vector<std::string_view> arguments;
        const char* expected;
    } cases[] = {
        {{"sweep", "--param", "n"}, "\"n\" is not one of N, Cab, Cw, Cm"},
        {{"sweep", "--step", "0"}, "greater than 0, not 0"},
        {{"sweep", "--from", "4", "--to", "1"}, "lower limit 4 lies above the upper limit 1"},
        {{"sweep", "--param", "Cab", "--step", "1e-6"}, "more than 1000 values"},
        {{"sweep", "--param", "Cab", "--N", "0"}, "--N 0 is outside 1 to 100"},
        {{"sweep", "--param", "Cab", "--from", "-5", "--to", "5", "--step", "5"},
         "value 1 of 3, Cab = -5, is outside 0 to 10000"},
        {{"sweep", "--from", "1e17", "--to", "1e17", "--step", "1"}, "too small to advance"},
        {{"sweep", "--from", "x"}, "--from: \"x\" is not a number"},
        {{"sweep", "--param", "Anth"},
         "--param Anth: the classic leaf model has no parameter Anth"},
        {{"sweep", "--leaf-model", "prospect-pro", "--param", "Cm"},
         "--param Cm: the prospect-pro leaf model has no parameter Cm"},
        {{"sweep", "--leaf-model", "prospect-d", "--param", "CBC"},
         "the prospect-d leaf model has no parameter CBC"},
        {{"sweep", "--leaf-model", "prospect-d", "--param", "Cbrown", "--to", "2"},
         "value 12 of 21, Cbrown = 1.1, is outside 0 to 1"},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        std::ostringstream out, err;
        EXPECT_EQ(RunBatch(c.arguments, out, err), 2) << c.expected;
        EXPECT_NE(err.str().find(c.expected), std::string::npos) << err.str();
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << c.expected;
    }
}

TEST(BatchSweep, WritesTheReferenceFiles)
{
    ScopedWorkDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(
        RunBatch({"sweep", "--param", "Cw", "--from", "0.0001", "--to", "0.07", "--step", "0.01"},
                 out, err),
        0)
        << err.str();
    EXPECT_TRUE(testing::MatchesGolden("MVP.dat", testing::GoldenDir("sweep-Cw") / "MVP.dat"));
    EXPECT_TRUE(
        testing::MatchesGolden("MVPaint.dat", testing::GoldenDir("sweep-Cw") / "MVPaint.dat"));
}

std::vector<std::string> FileLines(const std::string& file)
{
    const std::string text = testing::FileBytes(file);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> tokens;
    std::size_t start = line.find_first_not_of(' ');
    while (start != std::string::npos) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        tokens.push_back(line.substr(start, end - start));
        start = line.find_first_not_of(' ', end);
    }
    return tokens;
}

// Anthocyanins swept in PROSPECT-D: "MVP.dat" keeps its layout (blocks headed by the classic
// four, then the 421 grid lines), and each block's leaf absorbs more green light than the last.
TEST(BatchSweep, SweepsAnthocyaninsInTheClassicLayout)
{
    ScopedWorkDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(RunBatch({"sweep", "--param", "Cab", "--from", "15", "--to", "19", "--step", "1"},
                       out, err),
              0)
        << err.str();
    const std::vector<std::string> classic = FileLines("MVP.dat");
    ASSERT_EQ(RunBatch({"sweep", "--leaf-model", "prospect-d", "--param", "Anth", "--from", "0",
                        "--to", "40", "--step", "10"},
                       out, err),
              0)
        << err.str();
    const std::vector<std::string> anth = FileLines("MVP.dat");
    ASSERT_EQ(anth.size(), classic.size());
    constexpr std::size_t kBlock = 5 + spectral::kWavelengthCount;
    ASSERT_EQ(anth.size(), 5 * kBlock);
    const std::size_t green = 5 + (550 - 400) / 5;  // the line of 550 nm in a block
    double previous = 1.0;
    for (std::size_t block = 0; block < 5; ++block) {
        const std::size_t first = block * kBlock;
        EXPECT_TRUE(anth[first].starts_with("N = ")) << anth[first];
        EXPECT_TRUE(anth[first + 1].starts_with("Ca+b = ")) << anth[first + 1];
        EXPECT_TRUE(anth[first + 2].starts_with("Cw = ")) << anth[first + 2];
        EXPECT_TRUE(anth[first + 3].starts_with("Cm = ")) << anth[first + 3];
        EXPECT_EQ(anth[first + 4], classic[first + 4]);
        for (std::size_t i = 5; i < kBlock; ++i) {
            // Same columns: the wavelength, then the two numbers, spaced alike.
            const std::string& line = anth[first + i];
            ASSERT_EQ(line.substr(0, 7), classic[first + i].substr(0, 7));
            ASSERT_EQ(Tokens(line).size(), 3u) << line;
            ASSERT_EQ(line.back(), classic[first + i].back()) << line;
        }
        const double reflectance = *textio::ParseNumberText(Tokens(anth[first + green])[1]);
        EXPECT_LT(reflectance, previous) << "Anth = " << 10 * block;
        previous = reflectance;
    }
}

TEST(BatchSweep, AFailedStepIsARunFailureNamingTheValue)
{
    ScopedWorkDir dir;
    // A leaf so thick that the pile of a little more than one layer cannot be computed: the
    // range checks accept each value, the model refuses the second.
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch({"sweep", "--N", "1.01", "--param", "Cab", "--from", "100", "--to", "1500",
                        "--step", "700"},
                       out, err),
              1);
    EXPECT_NE(err.str().find("value 2 of 3, Cab = 800: Leaf model at 400 nm"), std::string::npos)
        << err.str();
    EXPECT_FALSE(std::filesystem::exists("MVP.dat"));
    EXPECT_FALSE(std::filesystem::exists("MVPaint.dat"));
}

}  // namespace
}  // namespace tulmera::batch
