#include "canopy/canopy_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "canopy/sky_ratio.h"
#include "leaf/leaf_run.h"
#include "spectral/soil_library.h"
#include "support/golden.h"
#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::canopy {
namespace {

using testing::FileBytes;
using testing::GoldenDir;
using testing::Lines;
using testing::MatchesGolden;
using testing::ScopedWorkDir;

struct GoldenCase {
    const char* folder;
    leaf::LeafParameters leaf;
    CanopyInputs canopy;
};

std::vector<GoldenCase> GoldenCases()
{
    return {
        {"start", leaf::kStartLeafParameters, StartCanopyInputs()},
        {"canopy-spherical",
         {1.5, 40, 0.01, 0.005},
         {3, 30, -20, 90, 0.05, "Esferico", std::string(spectral::kSoilKeys[1]), Visibility::Km50}},
        {"canopy-hotspot",
         {2.2, 60, 0.02, 0.01},
         {2, 30, 30, 0, 0.1, "Erectofilo", std::string(spectral::kSoilKeys[2]), Visibility::Km15}},
    };
}

TEST(CanopyRun, ReproducesTheReferenceFiles)
{
    for (const GoldenCase& c : GoldenCases()) {
        SCOPED_TRACE(c.folder);
        ScopedWorkDir dir;
        CanopyState state;
        leaf::RunProspect(c.leaf);
        RunSailh(c.canopy, state);
        EXPECT_TRUE(MatchesGolden("VP.dat", GoldenDir(c.folder) / "VP.dat"));
        EXPECT_TRUE(MatchesGolden("VS.dat", GoldenDir(c.folder) / "VS.dat"));
    }
}

// The canopy run alone, from the reference leaf spectra.
TEST(CanopyRun, ReproducesTheReferenceCanopyFromTheReferenceLeafFile)
{
    for (const GoldenCase& c : GoldenCases()) {
        SCOPED_TRACE(c.folder);
        ScopedWorkDir dir;
        std::filesystem::copy_file(GoldenDir(c.folder) / "VP.dat", "VP.dat");
        CanopyState state;
        RunSailh(c.canopy, state);
        EXPECT_TRUE(MatchesGolden("VS.dat", GoldenDir(c.folder) / "VS.dat"));
    }
}

// A leaf spectrum file whose every line holds `refl` and `trans`, in the leaf run's layout.
std::string UniformLeafFile(const std::string& refl, const std::string& trans)
{
    std::string text;
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        text +=
            " " + std::to_string(spectral::WavelengthNm(i)) + "  " + refl + "  " + trans + " \r\n";
    }
    return text;
}

void WriteFile(const std::string& name, const std::string& content)
{
    std::ofstream(name, std::ios::binary) << content;
}

TEST(CanopyRun, WritesOneLineOfWavelengthCommaReflectancePerGridPoint)
{
    ScopedWorkDir dir;
    leaf::RunProspect({1.5, 40, 0.01, 0.005});
    CanopyState state;
    RunSailh(
        {3, 30, -20, 90, 0.05, "Esferico", std::string(spectral::kSoilKeys[1]), Visibility::Km50},
        state);
    const std::vector<std::string> lines = Lines(FileBytes("VS.dat"));
    ASSERT_EQ(lines.size(), 421u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string wavelength = std::to_string(400 + 5 * i);
        ASSERT_EQ(lines[i], wavelength + "," + textio::NumberText(state.canopyReflPct[i] / 100))
            << "line " << i + 1;
        ASSERT_EQ(lines[i].find_first_of(" \t\r\n"), std::string::npos) << lines[i];
    }
    EXPECT_EQ(lines.front().substr(0, 4), "400,");
    EXPECT_EQ(lines.back().substr(0, 5), "2500,");
}

TEST(CanopyRun, KeepsItsValuesForTheChartsAndTheExport)
{
    ScopedWorkDir dir;
    WriteFile("VP.dat", UniformLeafFile("0.45", "4.5E-01"));
    CanopyState state;
    RunSailh({2, 35, -30, 120, 0.25, "Extremofilo", std::string(spectral::kSoilKeys[3]),
              Visibility::Km50},
             state);
    EXPECT_EQ(state.lai, 2);
    EXPECT_EQ(state.sunZenith, 35);
    EXPECT_EQ(state.viewZenith, 30);
    EXPECT_EQ(state.relAzimuth, 120);
    EXPECT_EQ(state.hotSpot, 0.25);
    EXPECT_EQ(state.visibilityKm, 50);
    EXPECT_EQ(state.lidf, kLeafAngleDistributions[3]);
    EXPECT_EQ(state.soilRefl, spectral::SoilSpectrum(3));
    EXPECT_EQ(state.skyRatioPct, SkyRatio(35, Visibility::Km50));
    for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
        ASSERT_EQ(state.leafReflPct[i], 45.0);  // 0.45 held as 45, not 45.000000000000007
        ASSERT_EQ(state.leafTransPct[i], 45.0);
    }
}

TEST(CanopyRun, NegativeViewAngleWritesTheSameFileAsPositive)
{
    ScopedWorkDir dir;
    leaf::RunProspect({2.2, 60, 0.02, 0.01});
    CanopyInputs in = StartCanopyInputs();
    in.lai = 4;
    in.sunZenith = 40;
    in.relAzimuth = 45;
    in.hotSpot = 0.2;
    CanopyState state;
    in.viewAngle = 30;
    RunSailh(in, state);
    const std::string positive = FileBytes("VS.dat");
    in.viewAngle = -30;
    RunSailh(in, state);
    EXPECT_EQ(FileBytes("VS.dat"), positive);
    EXPECT_EQ(state.viewZenith, 30);
}

TEST(CanopyRun, VisibilityChangesEveryReflectanceButNoWavelength)
{
    ScopedWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    CanopyInputs in = StartCanopyInputs();
    in.lai = 3;
    in.sunZenith = 30;
    CanopyState state;
    RunSailh(in, state);
    const std::vector<std::string> hazy = Lines(FileBytes("VS.dat"));
    in.visibility = Visibility::Km50;
    RunSailh(in, state);
    const std::vector<std::string> clear = Lines(FileBytes("VS.dat"));
    ASSERT_EQ(hazy.size(), clear.size());
    for (std::size_t i = 0; i < hazy.size(); ++i) {
        const std::size_t comma = hazy[i].find(',');
        ASSERT_EQ(hazy[i].substr(0, comma + 1), clear[i].substr(0, comma + 1));
        ASSERT_NE(hazy[i].substr(comma), clear[i].substr(comma)) << hazy[i];
    }
}

// A list text that matches nothing keeps the distribution or soil of the previous run.
TEST(CanopyRun, UnmatchedListTextsKeepThePreviousChoice)
{
    ScopedWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    CanopyInputs in = StartCanopyInputs();
    in.leafArchitecture = "Erectofilo";
    in.soil = spectral::kSoilKeys[2];
    CanopyState state;
    RunSailh(in, state);
    const std::string chosen = FileBytes("VS.dat");
    in.leafArchitecture = "erectofilo";
    in.soil = std::string(spectral::kSoilKeys[0]) + " ";
    RunSailh(in, state);
    EXPECT_EQ(state.lidf, kLeafAngleDistributions[1]);
    EXPECT_EQ(state.soilRefl, spectral::SoilSpectrum(2));
    EXPECT_EQ(FileBytes("VS.dat"), chosen);
}

// Every failed run throws, names what failed, and leaves the state and the previous file
// complete.
TEST(CanopyRun, FailuresLeaveStateAndFileAsTheyWere)
{
    const std::string goodLeaf = UniformLeafFile("0.05", "0.04");
    std::string shortLeaf = goodLeaf.substr(0, goodLeaf.rfind(" 2500"));
    std::string badLine = goodLeaf;
    badLine.replace(badLine.find("0.05", badLine.find(" 430 ")), 4, "0.o5");
    // A leaf that neither reflects nor transmits at one wavelength leaves no backscatter σ.
    const auto darkAt = [&](const std::string& nm) {
        std::string text = goodLeaf;
        return text.replace(text.find("0.05  0.04", text.find(" " + nm + " ")), 10, "0  0");
    };
    const std::string dark1000 = darkAt("1000"), dark1005 = darkAt("1005"),
                      dark2500 = darkAt("2500");
    const CanopyInputs start = StartCanopyInputs();
    CanopyInputs lai0 = start, laiNegative = start, laiNaN = start, sunInfinite = start;
    lai0.lai = 0;
    laiNegative.lai = -1;
    laiNaN.lai = std::nan("");
    sunInfinite.sunZenith = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        const char* leafFile;  // nullptr: no "VP.dat"
        CanopyInputs inputs;
        const char* expected;
    } cases[] = {
        {"missing VP.dat", nullptr, start, "\"VP.dat\""},
        {"short VP.dat", shortLeaf.c_str(), start, "\"VP.dat\", line 421, field 1"},
        {"malformed VP.dat", badLine.c_str(), start, "\"VP.dat\", line 7, field 2"},
        {"dark leaf at 1000 nm", dark1000.c_str(), start, "at 1000 nm: the backscatter σ is 0"},
        {"dark leaf at 1005 nm", dark1005.c_str(), start, "at 1005 nm: the backscatter σ is 0"},
        {"dark leaf at 2500 nm", dark2500.c_str(), start, "at 2500 nm: the backscatter σ is 0"},
        {"LAI 0", goodLeaf.c_str(), lai0, "LAI) must be greater than 0"},
        {"LAI negative", goodLeaf.c_str(), laiNegative, "LAI) must be greater than 0, not -1"},
        {"LAI not a number", goodLeaf.c_str(), laiNaN, "LAI is not a finite number"},
        {"sun infinite", goodLeaf.c_str(), sunInfinite, "sun zenith angle is not a finite"},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        WriteFile("VP.dat", goodLeaf);
        CanopyState state;
        RunSailh(start, state);
        const CanopyState before = state;
        const std::string previous = FileBytes("VS.dat");
        std::filesystem::remove("VP.dat");
        if (c.leafFile) WriteFile("VP.dat", c.leafFile);
        try {
            RunSailh(c.inputs, state);
            ADD_FAILURE() << c.name << ": the run succeeded";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos)
                << c.name << ": " << e.what();
        }
        EXPECT_EQ(FileBytes("VS.dat"), previous) << c.name;
        EXPECT_TRUE(state == before) << c.name;
    }
}

// Leaf angles never selected (all zeros) leave no leaves to intercept light: an error, not
// a file of NaN.
TEST(CanopyRun, NoDistributionEverSelectedIsAnError)
{
    ScopedWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    CanopyInputs in = StartCanopyInputs();
    in.leafArchitecture = "Planofilo ";
    CanopyState state;
    try {
        RunSailh(in, state);
        ADD_FAILURE() << "the run succeeded";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("\"Planofilo \""), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists("VS.dat"));
}

TEST(CanopyRun, AFileThatCannotBeWrittenIsAnError)
{
    ScopedWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    CanopyState state;
    RunSailh(StartCanopyInputs(), state);
    const std::string previous = FileBytes("VS.dat");
    CanopyInputs in = StartCanopyInputs();
    in.lai = 5;
    {
        testing::ScopedFileSizeLimit fullDisk(4096);
        try {
            RunSailh(in, state);
            ADD_FAILURE() << "the run succeeded";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("\"VS.dat\""), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(FileBytes("VS.dat"), previous);
    EXPECT_EQ(state.lai, 0.1);
}

}  // namespace
}  // namespace tulmera::canopy
