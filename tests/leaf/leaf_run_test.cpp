#include "leaf/leaf_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "leaf/leaf_spectrum.h"
#include "leaf/prospect.h"
#include "support/golden.h"
#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::leaf {
namespace {

using testing::FileBytes;
using testing::GoldenDir;
using testing::Lines;
using testing::MatchesGolden;
using testing::ScopedWorkDir;

TEST(LeafRun, ReproducesTheReferenceFiles)
{
    ScopedWorkDir dir;
    RunProspect(kStartLeafParameters);
    EXPECT_TRUE(MatchesGolden("VP.dat", GoldenDir("start") / "VP.dat"));
    RunProspect({4, 90, 0.07, 0.04});
    EXPECT_TRUE(MatchesGolden("VP.dat", GoldenDir("leaf-thick") / "VP.dat"));
}

TEST(LeafRun, WritesOneLineOfThreePrintedNumbersPerGridPoint)
{
    ScopedWorkDir dir;
    RunProspect(kStartLeafParameters);
    const std::vector<std::string> lines = Lines(FileBytes("VP.dat"));
    ASSERT_EQ(lines.size(), 421u);
    EXPECT_EQ(lines.front().substr(0, 6), " 400  ");
    EXPECT_EQ(lines.back().substr(0, 7), " 2500  ");
    for (const std::string& line : lines) {
        // " λ  R  T ": a leading and a trailing space, two between non-negative numbers.
        ASSERT_EQ(line.front(), ' ') << line;
        ASSERT_EQ(line.back(), ' ') << line;
        ASSERT_EQ(std::count(line.begin(), line.end(), ' '), 6) << line;
        ASSERT_NE(line.find("  "), std::string::npos) << line;
    }

    // The line of 800 nm holds the model's pair for that grid point, as number text.
    const spectral::LeafTables& tables = spectral::LoadLeafTables();
    const int i800 = (800 - 400) / 5;
    const LeafOptics optics = ProspectLeaf(1.0, tables.refIndex[i800],
                                           LeafAbsorption(kStartLeafParameters, tables, i800));
    EXPECT_EQ(lines[i800], " 800  " + textio::NumberText(optics.refl) + "  "
                               + textio::NumberText(optics.trans) + " ");
}

TEST(LeafRun, TinyTransmittancesOfAThickLeafAreOneNumberEach)
{
    ScopedWorkDir dir;
    RunProspect({4, 90, 0.07, 0.04});
    const std::vector<std::string> lines = Lines(FileBytes("VP.dat"));
    EXPECT_NE(lines[0].find("E-07 "), std::string::npos) << lines[0];
    EXPECT_NE(lines[(1930 - 400) / 5].find("E-0"), std::string::npos);
    for (const std::string& line : lines) ASSERT_EQ(std::count(line.begin(), line.end(), ' '), 6);
}

TEST(LeafRun, SameParametersWriteIdenticalFiles)
{
    ScopedWorkDir dir;
    RunProspect({1.5, 40, 0.01, 0.005});
    const std::string first = FileBytes("VP.dat");
    RunProspect({2.5, 20, 0.03, 0.02});
    RunProspect({1.5, 40, 0.01, 0.005});
    EXPECT_EQ(FileBytes("VP.dat"), first);
}

TEST(LeafRun, CallsTheSeamOnlyAfterTheFileIsComplete)
{
    ScopedWorkDir dir;
    std::size_t sizeSeen = 0;
    RunProspect(kStartLeafParameters, [&] { sizeSeen = std::filesystem::file_size("VP.dat"); });
    EXPECT_EQ(sizeSeen, FileBytes("VP.dat").size());
}

TEST(LeafRun, AFailedRunLeavesThePreviousFileAndSkipsTheSeam)
{
    ScopedWorkDir dir;
    RunProspect(kStartLeafParameters);
    const std::string good = FileBytes("VP.dat");
    bool seamCalled = false;
    EXPECT_THROW(RunProspect({0, 15, 0.0001, 0.002}, [&] { seamCalled = true; }), Error);
    EXPECT_THROW(RunProspect({1, 15, 0.0001, 0}, [&] { seamCalled = true; }), Error);
    {
        testing::ScopedFileSizeLimit fullDisk(4096);
        EXPECT_THROW(RunProspect({2, 15, 0.0001, 0.002}, [&] { seamCalled = true; }), Error);
    }
    EXPECT_FALSE(seamCalled);
    EXPECT_EQ(FileBytes("VP.dat"), good);
}

TEST(LeafRun, AnUnwritableDirectoryIsAnError)
{
    ScopedWorkDir dir;
    dir.MakeUnwritable();
    try {
        RunProspect(kStartLeafParameters);
        FAIL() << "the run succeeded";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("\"VP.dat\""), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace tulmera::leaf
