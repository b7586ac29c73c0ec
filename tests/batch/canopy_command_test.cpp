#include "batch/canopy_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "batch/batch_runner.h"
#include "spectral/soil_library.h"
#include "support/parsed_arguments.h"
#include "support/run_command.h"
#include "support/work_dir.h"

namespace tulmera::batch {
namespace {

BatchArguments ParseCanopy(std::vector<std::string_view> arguments)
{
    return testing::ParsedArguments(arguments, CanopyOptions());
}

TEST(CanopyCommand, TakesTheStartValuesUnlessGiven)
{
    const canopy::CanopyInputs defaults = CanopyInputsFrom(ParseCanopy({}));
    const canopy::CanopyInputs start = canopy::StartCanopyInputs();
    EXPECT_EQ(defaults.lai, 0.1);
    EXPECT_TRUE(defaults.lai == start.lai && defaults.sunZenith == 0 && defaults.viewAngle == 0
                && defaults.relAzimuth == 0 && defaults.hotSpot == 0);
    EXPECT_EQ(defaults.leafArchitecture, "Planofilo");
    EXPECT_EQ(defaults.soil, spectral::kSoilKeys[0]);
    EXPECT_EQ(defaults.visibility, canopy::Visibility::Km15);

    const canopy::CanopyInputs given =
        CanopyInputsFrom(ParseCanopy({"--lai", "3", "--sun", "30", "--view", "-20", "--azimuth",
                                      "90", "--hotspot", "0.05", "--lidf", "Esferico", "--soil",
                                      "S4:61% arena 26% limo 13% arcilla", "--visibility", "50"}));
    EXPECT_EQ(given.lai, 3);
    EXPECT_EQ(given.sunZenith, 30);
    EXPECT_EQ(given.viewAngle, -20);
    EXPECT_EQ(given.relAzimuth, 90);
    EXPECT_EQ(given.hotSpot, 0.05);
    EXPECT_EQ(given.leafArchitecture, "Esferico");
    EXPECT_EQ(given.soil, spectral::kSoilKeys[3]);
    EXPECT_EQ(given.visibility, canopy::Visibility::Km50);
}

// Without a previous run to fall back on, an unmatched list text is refused with the list.
TEST(CanopyCommand, UnknownListTextsAreUsageErrorsListingTheValidOnes)
{
    const struct {
        std::vector<std::string_view> arguments;
        const char* expected;
    } cases[] = {
        {{"--lidf", "planofilo"}, "\"Planofilo\", \"Erectofilo\", \"Plagiofilo\", \"Extremofilo\""},
        {{"--soil", "S1"}, "\"S1:61% arena 24% limo 15% arcilla\", \"S2:32%"},
        {{"--soil", "s4:61% arena 26% limo 13% arcilla"}, "S4:61% arena 26% limo 13% arcilla\"."},
        {{"--visibility", "20"}, "use 15 or 50"},
        {{"--visibility", "15 Km"}, "use 15 or 50"},
    };
    for (const auto& c : cases) {
        try {
            CanopyInputsFrom(ParseCanopy(c.arguments));
            ADD_FAILURE() << c.arguments[1] << " was accepted";
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

TEST(CanopyCommand, BadCanopyValuesWriteNoFile)
{
    testing::ScopedWorkDir dir;
    const auto [badLai, laiText] = testing::RunCommand({"canopy", "--lai", "0"});
    EXPECT_EQ(badLai, 2);
    EXPECT_NE(laiText.find("--lai 0 is outside 0 (excluded) to 100"), std::string::npos) << laiText;
    const auto [badName, nameText] = testing::RunCommand({"canopy", "--lidf", "Esferica"});
    EXPECT_EQ(badName, 2);
    EXPECT_FALSE(std::filesystem::exists("VP.dat"));
    EXPECT_FALSE(std::filesystem::exists("VS.dat"));
}

}  // namespace
}  // namespace tulmera::batch
