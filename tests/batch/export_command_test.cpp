// The export command of tulmera-batch.
#include "batch/export_command.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "batch/batch_runner.h"
#include "support/golden.h"
#include "support/parsed_arguments.h"
#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/working_files.h"

namespace tulmera::batch {
namespace {

using testing::ScopedWorkDir;
namespace fs = std::filesystem;

exports::MainExportHeader HeaderOf(std::vector<std::string_view> arguments)
{
    return ExportHeaderFrom(testing::ParsedArguments(arguments, ExportCommand().options));
}

TEST(ExportCommand, HeaderValuesAreTheOptionsOrTheStartValues)
{
    const exports::MainExportHeader start = HeaderOf({});
    EXPECT_EQ(start.leaf.N, 1.0);
    EXPECT_EQ(start.leaf.Cm, 0.002);
    EXPECT_EQ(start.lai, 0.1);
    EXPECT_EQ(start.sunZenith, 0.0);
    EXPECT_EQ(start.hotSpot, 0.0);
    EXPECT_EQ(start.architecture, "Planofilo");
    EXPECT_EQ(start.soil, "S1:61% arena 24% limo 15% arcilla");
    EXPECT_EQ(start.viewText, "0");
    EXPECT_EQ(start.azimuthText, "0");

    const exports::MainExportHeader given = HeaderOf(
        {"--Cab", "40", "--lai", "3", "--sun", "30", "--hotspot", "0.05", "--lidf", "Esferico",
         "--soil", "S2:32% arena 39% limo 29% arcilla", "--view", "-20", "--azimuth", "90"});
    EXPECT_EQ(given.leaf.Cab, 40.0);
    EXPECT_EQ(given.lai, 3.0);
    EXPECT_EQ(given.sunZenith, 30.0);
    EXPECT_EQ(given.hotSpot, 0.05);
    EXPECT_EQ(given.architecture, "Esferico");
    EXPECT_EQ(given.soil, "S2:32% arena 39% limo 29% arcilla");
    EXPECT_EQ(given.viewText, "-20");  // the text as typed
    EXPECT_EQ(given.azimuthText, "90");
}

TEST(ExportCommand, WritesTheWorkbookIntoTheWorkingDirectory)
{
    ScopedWorkDir dir;
    fs::create_directory("run");
    for (const char* name : {"VP.dat", "VS.dat"}) {
        fs::copy_file(testing::GoldenDir("canopy-spherical") / name, fs::path("run") / name);
    }
    const auto [status, text] =
        testing::RunCommand({"export", "-C", "run", "--xlsx", "cells.xlsx", "--N", "1.5"});
    EXPECT_EQ(status, 0) << text;
    // The runner changed into "run"; the workbook went there, and only there.
    EXPECT_EQ(testing::FileBytes(dir.path() / "run" / "cells.xlsx").substr(0, 4), "PK\x03\x04");
    EXPECT_FALSE(fs::exists(dir.path() / "cells.xlsx"));
}

TEST(ExportCommand, FailuresSayWhyAndWriteNothing)
{
    ScopedWorkDir dir;
    const std::string longValue(100000, '1');
    const struct {
        std::vector<std::string_view> arguments;
        int status;
        const char* expected;
    } cases[] = {
        {{"export"}, 2, "export needs --xlsx FILE"},
        {{"export", "--xlsx", ""}, 2, "--xlsx needs a file name"},
        {{"export", "--xlsx", "a.xlsx", "--lai", "x"}, 2, "--lai: \"x\" is not a number"},
        {{"export", "--xlsx", "a.xlsx"}, 1, "\"VP.dat\""},
        // The header's values are checked as the canopy run checks them.
        {{"export", "--xlsx", "a.xlsx", "--view", "nan"}, 2, "--view: \"nan\" is not a number"},
        {{"export", "--xlsx", "a.xlsx", "--azimuth", "inf"}, 2, "--azimuth: \"inf\""},
        {{"export", "--xlsx", "a.xlsx", "--lai", "-5"}, 2, "--lai -5 is outside"},
        {{"export", "--xlsx", "a.xlsx", "--sun", "1000"}, 2, "--sun 1000 is outside 0 to 90."},
        {{"export", "--xlsx", "a.xlsx", "--lidf", "Foo"}, 2, "--lidf: \"Foo\" is not a leaf"},
        {{"export", "--xlsx", "a.xlsx", "--view", longValue}, 2, "--view: \"1111"},
    };
    for (const auto& c : cases) {
        const auto [status, text] = testing::RunCommand(c.arguments);
        EXPECT_EQ(status, c.status) << text;
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
        EXPECT_LT(text.size(), 300u) << "a long value is shortened";
    }
    fs::remove(kLockFile);  // the run's lock, left in place for the next run
    EXPECT_TRUE(fs::is_empty("."));
}

}  // namespace
}  // namespace tulmera::batch
