// The sweep command: its options, their defaults and its refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "batch/batch_runner.h"
#include "batch/sweep_command.h"
#include "support/golden.h"
#include "support/parsed_arguments.h"
#include "support/work_dir.h"

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
