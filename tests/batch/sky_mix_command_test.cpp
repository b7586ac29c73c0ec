// The sky mix on the command line: the classic mix stays every file's default, the physical
// one mixes as its formula says and shows the hot spot, tables carry their mix to lut-merge and
// fit-canopy, and the canopy's fluxes reach indices, canopy --csv, lut and fit-canopy.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "canopy/sky_ratio.h"
#include "lut/table.h"
#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

using testing::FileBytes;
using testing::RunCommand;
using testing::ScopedWorkDir;
using testing::Split;
using testing::With;

// The hot-spot lesson's canopy: sun 40°, LAI 3, spherical leaves, hot spot 0.2.
const std::vector<std::string> kLesson = {"--N",    "1.5",      "--Cab",     "40", "--Cw",  "0.01",
                                          "--Cm",   "0.005",    "--lai",     "3",  "--sun", "40",
                                          "--lidf", "Esferico", "--hotspot", "0.2"};

double Number(const std::string& text)
{
    const std::optional<double> value = textio::ParseNumberText(text);
    EXPECT_TRUE(value) << '"' << text << '"';
    return value.value_or(std::nan(""));
}

// The canopy reflectance "VS.dat" holds at `nm`.
double CanopyFileValue(int nm)
{
    for (const std::string& line : testing::Lines(FileBytes("VS.dat"))) {
        if (line.starts_with(std::to_string(nm) + ",")) return Number(Split(line, ',')[1]);
    }
    ADD_FAILURE() << nm << " nm not in VS.dat";
    return 0;
}

// The rows of a CSV file after its comment lines, each split at its commas; the header first.
std::vector<std::vector<std::string>> CsvRows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Split(text, '\n')) {
        if (!line.empty() && !line.starts_with('#')) rows.push_back(Split(line, ','));
    }
    return rows;
}

TEST(SkyMixCommand, ClassicIsTheDefaultAndLeavesEveryFileAsItWas)
{
    ScopedWorkDir dir;
    const std::vector<std::string> lut = {"lut",       "--samples", "6",    "--range",
                                          "LAI=0.5:4", "--quiet",   "--out"};
    ASSERT_EQ(RunCommand(With({"canopy", "--csv", "plain.csv"}, kLesson)).first, 0);
    const std::string vs = FileBytes("VS.dat"), csv = FileBytes("plain.csv");
    ASSERT_EQ(RunCommand(With(lut, {"plain.csv.h5"})).first, 0);
    ASSERT_EQ(RunCommand(With(lut, {"plain.lut.csv"})).first, 0);
    ASSERT_EQ(
        RunCommand(With({"canopy", "--csv", "classic.csv", "--sky-mix", "classic"}, kLesson)).first,
        0);
    EXPECT_EQ(FileBytes("VS.dat"), vs);
    EXPECT_EQ(FileBytes("classic.csv"), csv);
    EXPECT_EQ(csv.find("sky_mix"), std::string::npos);
    ASSERT_EQ(RunCommand(With(lut, {"classic.h5", "--sky-mix", "classic"})).first, 0);
    ASSERT_EQ(RunCommand(With(lut, {"classic.csv", "--sky-mix", "classic"})).first, 0);
    EXPECT_EQ(FileBytes("classic.h5"), FileBytes("plain.csv.h5"));
    EXPECT_EQ(FileBytes("classic.csv"), FileBytes("plain.lut.csv"));
    EXPECT_EQ(FileBytes("classic.csv").find("sky_mix"), std::string::npos);
}

// The physical mix by hand from the run's own direct and diffuse reflectances (canopy --csv)
// and the sky ratio: 100·(rdot·s + rsot)/(s + 1) with s = ratio / 100, in percent; the
// classic mix by the same formula with s = ratio in percent.
TEST(SkyMixCommand, MixesAsItsFormulaSaysAtThreeWavelengths)
{
    ScopedWorkDir dir;
    const std::vector<std::string> geometry = {"--view", "40", "--azimuth", "0"};
    const spectral::Spectrum ratioPct = canopy::SkyRatio(40, canopy::Visibility::Km15);
    for (const char* mix : {"physical", "classic"}) {
        SCOPED_TRACE(mix);
        const bool physical = std::string(mix) == "physical";
        ASSERT_EQ(RunCommand(
                      With(With({"canopy", "--csv", "s.csv", "--sky-mix", mix}, kLesson), geometry))
                      .first,
                  0);
        const std::vector<std::vector<std::string>> rows = CsvRows(FileBytes("s.csv"));
        ASSERT_EQ(rows.front(),
                  Split("wavelength_nm,leaf_reflectance,leaf_transmittance,canopy_reflectance,"
                        "soil_reflectance,rsot,rdot,rsdt,rddt,absorptance",
                        ','));
        for (const int nm : {450, 670, 865}) {
            const auto at = static_cast<std::size_t>((nm - 400) / 5);
            const std::vector<std::string>& row = rows[1 + at];
            ASSERT_EQ(row[0], std::to_string(nm));
            const double s = physical ? ratioPct[at] / 100.0 : ratioPct[at];
            const double rsot = Number(row[5]), rdot = Number(row[6]);
            const double expected = 100.0 * (rdot * s + rsot) / (s + 1) / 100.0;
            EXPECT_NEAR(CanopyFileValue(nm), expected, 1e-13) << nm << " nm";
            EXPECT_NEAR(Number(row[3]), expected, 1e-15) << nm << " nm";
        }
    }
}

// The hot spot (azimuth 0, view = sun) against the opposite side: hidden by the classic mix,
// which keeps mostly the diffuse reflectance, shown by the physical one.
TEST(SkyMixCommand, ThePhysicalMixShowsTheHotSpot)
{
    ScopedWorkDir dir;
    const auto reflectance670 = [](const char* mix, const char* azimuth) {
        const auto [status, output] = RunCommand(
            With({"canopy", "--sky-mix", mix, "--view", "40", "--azimuth", azimuth}, kLesson));
        EXPECT_EQ(status, 0) << output;
        return CanopyFileValue(670);
    };
    const double physical = reflectance670("physical", "0") / reflectance670("physical", "180");
    const double classic = reflectance670("classic", "0") / reflectance670("classic", "180");
    EXPECT_GT(physical, 2.5);
    EXPECT_LT(classic, 1.2);
}

TEST(SkyMixCommand, EveryCanopyCommandRefusesAnUnknownMixWritingNothing)
{
    ScopedWorkDir dir;
    const std::vector<std::vector<std::string>> lines = {
        {"canopy"},
        {"indices"},
        {"sweep-canopy", "--param", "LAI"},
        {"lut", "--samples", "4", "--out", "t.h5"},
        {"gsa", "--samples", "8", "--range", "N=1:2", "--range", "LAI=1:3", "--out", "g.csv"},
        {"brdf", "--wavelength", "670", "--out", "b.csv"},
        {"fit-canopy", "--lut", "t.h5", "--reflectance", "a.csv"},
    };
    for (const std::vector<std::string>& line : lines) {
        for (const char* bad : {"Physical", "overcast", ""}) {
            const auto [status, output] = RunCommand(With(line, {"--sky-mix", bad}));
            EXPECT_EQ(status, 2) << line.front() << ": " << output;
            EXPECT_NE(output.find("--sky-mix"), std::string::npos) << output;
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(".")) << "a refused run wrote a file";
}

// indices ends with the fluxes; canopy --csv's absorptance gives fAPAR; both with the mix given.
TEST(SkyMixCommand, IndicesEndWithTheFluxesOfTheRunsMix)
{
    ScopedWorkDir dir;
    for (const char* mix : {"classic", "physical"}) {
        SCOPED_TRACE(mix);
        const testing::Outcome run = testing::RunBatchProgram(
            With({"indices", "--sky-mix", mix, "--csv", "s.csv"}, kLesson));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        std::vector<std::string> lines = Split(run.out, '\n');
        lines.pop_back();  // after the last LF
        ASSERT_GE(lines.size(), 6u);
        const std::vector<std::string> names = {"fAPAR", "fCover", "albedo PAR", "albedo NIR",
                                                "albedo shortwave"};
        std::vector<double> values;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::vector<std::string> row = Split(lines[lines.size() - 5 + i], ',');
            ASSERT_EQ(row.front(), names[i]);
            values.push_back(Number(row.back()));
            EXPECT_GT(values.back(), 0.0);
            EXPECT_LT(values.back(), 1.0);
        }
        const std::vector<std::vector<std::string>> rows = CsvRows(FileBytes("s.csv"));
        double sum = 0;  // fAPAR: the absorptance's mean over the 61 points of 400 .. 700 nm
        for (std::size_t r = 1; r <= 61; ++r) sum += Number(rows[r][9]);
        EXPECT_NEAR(values[0], sum / 61, 1e-14);
    }
}

}  // namespace
}  // namespace tulmera::batch
