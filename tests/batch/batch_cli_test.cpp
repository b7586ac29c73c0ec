// Runs the tulmera-batch program itself: exit codes, messages and the files it leaves.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/golden.h"
#include "support/run_command.h"
#include "support/work_dir.h"

namespace tulmera::batch {
namespace {

using testing::FileBytes;
using testing::ScopedWorkDir;

using testing::Outcome;
using testing::RunBatchProgram;

// All the program said, standard output then standard error.
std::string Output(const Outcome& run) { return run.out + run.err; }

TEST(BatchProgram, LeafWritesTheReferenceFileIntoTheGivenDirectory)
{
    ScopedWorkDir dir;
    std::filesystem::create_directory("out");
    const Outcome run = RunBatchProgram("leaf --N 4 --Cab 90 --Cw 0.07 --Cm 0.04 -C out");
    EXPECT_EQ(run.exitCode, 0) << Output(run);
    EXPECT_TRUE(testing::MatchesGolden("out/VP.dat", testing::GoldenDir("leaf-thick") / "VP.dat"));
    EXPECT_FALSE(std::filesystem::exists("VP.dat"));
}

TEST(BatchProgram, CanopyWritesBothReferenceFiles)
{
    ScopedWorkDir dir;
    const Outcome run = RunBatchProgram(
        "canopy --N 2.2 --Cab 60 --Cw 0.02 --Cm 0.01 --lai 2 --sun 30 --view 30 --azimuth 0"
        " --hotspot 0.1 --lidf Erectofilo --soil 'S3:44% arena 39% limo 29% arcilla'");
    EXPECT_EQ(run.exitCode, 0) << Output(run);
    const auto golden = testing::GoldenDir("canopy-hotspot");
    EXPECT_TRUE(testing::MatchesGolden("VP.dat", golden / "VP.dat"));
    EXPECT_TRUE(testing::MatchesGolden("VS.dat", golden / "VS.dat"));

    const Outcome badSoil = RunBatchProgram("canopy --soil S3:");
    EXPECT_EQ(badSoil.exitCode, 2);
    EXPECT_NE(Output(badSoil).find("\"S3:44% arena 39% limo 29% arcilla\""), std::string::npos);
}

TEST(BatchProgram, ExitCodesTellBadArgumentsFromFailedRuns)
{
    ScopedWorkDir dir;
    const Outcome help = RunBatchProgram("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(Output(help).find("Usage: tulmera-batch"), std::string::npos);

    const Outcome badValue = RunBatchProgram("leaf --N x");
    EXPECT_EQ(badValue.exitCode, 2);
    EXPECT_NE(Output(badValue).find("--N: \"x\" is not a number"), std::string::npos);

    const Outcome badModel = RunBatchProgram("leaf --N 0");
    EXPECT_EQ(badModel.exitCode, 2);
    EXPECT_NE(Output(badModel).find("--N 0 is outside 1 to 100."), std::string::npos);

    const Outcome helpAsValue = RunBatchProgram("leaf -C help --N 3");  // a value, not the help
    EXPECT_EQ(helpAsValue.exitCode, 1);
    EXPECT_EQ(Output(helpAsValue).find("Usage:"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("VP.dat"));

    const Outcome noDirectory = RunBatchProgram("leaf -C does-not-exist");
    EXPECT_EQ(noDirectory.exitCode, 1);
    EXPECT_NE(Output(noDirectory).find("\"does-not-exist\""), std::string::npos);

    // A flag takes no value, so what follows it is read as an option of its own.
    const Outcome helpAfterFlag = RunBatchProgram("fit-leaf --subdomains --help");
    EXPECT_EQ(helpAfterFlag.exitCode, 0);
    EXPECT_NE(Output(helpAfterFlag).find("Usage: tulmera-batch"), std::string::npos);
    const Outcome noWaitAfterFlag = RunBatchProgram("fit-leaf --subdomains --no-wait");
    EXPECT_EQ(noWaitAfterFlag.exitCode, 2);
    EXPECT_EQ(Output(noWaitAfterFlag).find("Unknown option"), std::string::npos);

    const Outcome version = RunBatchProgram("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(Output(version).rfind("tulmera-batch ", 0), 0u);
}

}  // namespace
}  // namespace tulmera::batch
