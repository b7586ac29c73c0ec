#include "batch/session_option.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "session/session.h"
#include "spectral/soil_library.h"
#include "support/run_command.h"
#include "support/work_dir.h"

namespace tulmera::batch {
namespace {

void WriteFile(const std::string& name, const std::string& content)
{
    std::ofstream(name, std::ios::binary) << content;
}

// A session of the PROSPECT-D model: its leaf, lists and geometry differ from every default.
session::Session LessonSession()
{
    session::Session s;
    s.leaf = {2.5, 40, 0.012, 0.0035, 9, 1.5, 0.2, 0, 0, leaf::LeafModel::ProspectD};
    s.canopy.lai = 3.5;
    s.canopy.sunZenith = 35;
    s.canopy.viewAngle = -20;
    s.canopy.relAzimuth = 90;
    s.canopy.hotSpot = 0.5;
    s.canopy.leafArchitecture = "Erectofilo";
    s.canopy.soil = std::string(spectral::kSoilKeys[2]);
    s.canopy.visibility = canopy::Visibility::Km50;
    return s;
}

// The session's values are used where the line gives none, and a value the line gives wins:
// the run equals the one whose line gives them all.
TEST(SessionOption, SuppliesWhatTheLineDoesNotGiveAndTheLineWins)
{
    const testing::ScopedWorkDir dir;
    WriteFile("lesson.tulmera", session::SessionText(LessonSession()));
    const auto [status, output] =
        testing::RunCommand({"canopy", "--session", "lesson.tulmera", "--lai", "2", "--Cab", "60"});
    ASSERT_EQ(status, 0) << output;
    const std::string fromSession = testing::FileBytes("VS.dat");
    const std::string leafFromSession = testing::FileBytes("VP.dat");
    const auto [explicitStatus, explicitOutput] =
        testing::RunCommand({"canopy",
                             "--leaf-model",
                             "prospect-d",
                             "--N",
                             "2.5",
                             "--Cab",
                             "60",
                             "--Cw",
                             "0.012",
                             "--Cm",
                             "0.0035",
                             "--Car",
                             "9",
                             "--Anth",
                             "1.5",
                             "--Cbrown",
                             "0.2",
                             "--lai",
                             "2",
                             "--sun",
                             "35",
                             "--view",
                             "-20",
                             "--azimuth",
                             "90",
                             "--hotspot",
                             "0.5",
                             "--lidf",
                             "Erectofilo",
                             "--soil",
                             std::string(spectral::kSoilKeys[2]),
                             "--visibility",
                             "50"});
    ASSERT_EQ(explicitStatus, 0) << explicitOutput;
    EXPECT_EQ(testing::FileBytes("VP.dat"), leafFromSession);
    EXPECT_EQ(testing::FileBytes("VS.dat"), fromSession);

    // A line choosing another leaf model takes no parameter of the session's model it lacks.
    const auto [classic, classicOutput] =
        testing::RunCommand({"leaf", "--session", "lesson.tulmera", "--leaf-model", "classic"});
    EXPECT_EQ(classic, 0) << classicOutput;
}

TEST(SessionOption, AMissingDamagedOrNewerSessionIsAUsageErrorNamingIt)
{
    const testing::ScopedWorkDir dir;
    std::string newer = session::SessionText(LessonSession());
    newer.replace(newer.find("\"version\": 1"), 12, "\"version\": 7");
    WriteFile("newer.tulmera", newer);
    WriteFile("broken.tulmera", "{\"format\": \"tulmera-session\", ");
    for (const std::string file : {"absent.tulmera", "newer.tulmera", "broken.tulmera"}) {
        const auto [status, output] = testing::RunCommand({"leaf", "--session", file});
        EXPECT_EQ(status, 2) << file;
        EXPECT_NE(output.find("--session"), std::string::npos) << output;
        EXPECT_NE(output.find(file), std::string::npos) << output;
    }
    EXPECT_FALSE(std::filesystem::exists("VP.dat"));  // nothing ran
}

}  // namespace
}  // namespace tulmera::batch
