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

struct Outcome {
    int exitCode;
    std::string output;  // stdout and stderr
};

Outcome RunBatch(const std::string& arguments)
{
    testing::ShellRun run =
        testing::RunShell(std::string(TULMERA_BATCH) + " " + arguments + " 2>&1");
    return {run.exitCode, std::move(run.out)};
}

TEST(BatchProgram, LeafWritesTheReferenceFileIntoTheGivenDirectory)
{
    ScopedWorkDir dir;
    std::filesystem::create_directory("out");
    const Outcome run = RunBatch("leaf --N 4 --Cab 90 --Cw 0.07 --Cm 0.04 -C out");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(testing::MatchesGolden("out/VP.dat", testing::GoldenDir("leaf-thick") / "VP.dat"));
    EXPECT_FALSE(std::filesystem::exists("VP.dat"));
}

TEST(BatchProgram, CanopyWritesBothReferenceFiles)
{
    ScopedWorkDir dir;
    const Outcome run = RunBatch(
        "canopy --N 2.2 --Cab 60 --Cw 0.02 --Cm 0.01 --lai 2 --sun 30 --view 30 --azimuth 0"
        " --hotspot 0.1 --lidf Erectofilo --soil 'S3:44% arena 39% limo 29% arcilla'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const auto golden = testing::GoldenDir("canopy-hotspot");
    EXPECT_TRUE(testing::MatchesGolden("VP.dat", golden / "VP.dat"));
    EXPECT_TRUE(testing::MatchesGolden("VS.dat", golden / "VS.dat"));

    const Outcome badSoil = RunBatch("canopy --soil S3");
    EXPECT_EQ(badSoil.exitCode, 2);
    EXPECT_NE(badSoil.output.find("\"S3:44% arena 39% limo 29% arcilla\""), std::string::npos);
}

TEST(BatchProgram, ExitCodesTellBadArgumentsFromFailedRuns)
{
    ScopedWorkDir dir;
    const Outcome help = RunBatch("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("Usage: tulmera-batch"), std::string::npos);

    const Outcome badValue = RunBatch("leaf --N x");
    EXPECT_EQ(badValue.exitCode, 2);
    EXPECT_NE(badValue.output.find("--N: \"x\" is not a number"), std::string::npos);

    const Outcome badModel = RunBatch("leaf --N 0");
    EXPECT_EQ(badModel.exitCode, 2);
    EXPECT_NE(badModel.output.find("--N 0 is outside 1 to 100."), std::string::npos);

    const Outcome helpAsValue = RunBatch("leaf -C help --N 3");  // a value, not the help
    EXPECT_EQ(helpAsValue.exitCode, 1);
    EXPECT_EQ(helpAsValue.output.find("Usage:"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("VP.dat"));

    const Outcome noDirectory = RunBatch("leaf -C does-not-exist");
    EXPECT_EQ(noDirectory.exitCode, 1);
    EXPECT_NE(noDirectory.output.find("\"does-not-exist\""), std::string::npos);

    // A flag takes no value, so what follows it is read as an option of its own.
    const Outcome helpAfterFlag = RunBatch("fit-leaf --subdomains --help");
    EXPECT_EQ(helpAfterFlag.exitCode, 0);
    EXPECT_NE(helpAfterFlag.output.find("Usage: tulmera-batch"), std::string::npos);
    const Outcome noWaitAfterFlag = RunBatch("fit-leaf --subdomains --no-wait");
    EXPECT_EQ(noWaitAfterFlag.exitCode, 2);
    EXPECT_EQ(noWaitAfterFlag.output.find("Unknown option"), std::string::npos);

    const Outcome version = RunBatch("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("tulmera-batch ", 0), 0u);
}

}  // namespace
}  // namespace tulmera::batch
