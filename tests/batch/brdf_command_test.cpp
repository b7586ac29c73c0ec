// tulmera-batch brdf: every value that of canopy (or indices) for its direction, the grid it
// covers, and bad input refused before anything is written.
#include "batch/brdf_command.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/run_command.h"
#include "support/work_dir.h"

namespace tulmera::batch {
namespace {

using testing::FileBytes;
using testing::RunCommand;
using testing::ScopedWorkDir;
using testing::Split;
using testing::With;

const std::vector<std::string> kCanopy = {
    "--N", "1.5",   "--Cab", "40",     "--Cw",     "0.01",      "--Cm", "0.005",     "--lai",
    "3",   "--sun", "40",    "--lidf", "Esferico", "--hotspot", "0.2",  "--sky-mix", "physical"};

// The map's rows by "zenith,azimuth" text, its value text.
std::map<std::string, std::string> MapRows(const std::string& file)
{
    std::map<std::string, std::string> rows;
    const std::vector<std::string> lines = Split(FileBytes(file), '\n');
    EXPECT_EQ(lines.front(), "view_zenith,azimuth,value");
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::size_t last = lines[i].rfind(',');
        rows[lines[i].substr(0, last)] = lines[i].substr(last + 1);
    }
    EXPECT_EQ(lines.back(), "");  // LF after the last row
    return rows;
}

// The value text the line `name,value` of an indices run prints.
std::string IndicesValue(const std::string& output, const std::string& name)
{
    for (const std::string& line : Split(output, '\n')) {
        if (line.starts_with(name + ",")) return line.substr(name.size() + 1);
    }
    ADD_FAILURE() << name << " not printed";
    return {};
}

TEST(BrdfCommand, EveryValueIsTheCanopyRunsForItsDirection)
{
    ScopedWorkDir dir;
    const auto brdf = [](std::vector<std::string> quantity, const char* out) {
        const auto [status, output] =
            RunCommand(With(With({"brdf", "--step", "10", "--out", out}, kCanopy), quantity));
        ASSERT_EQ(status, 0) << output;
    };
    brdf({"--wavelength", "670"}, "w.csv");
    brdf({"--band", "Sentinel-2 MSI band B8A"}, "b.csv");
    brdf({"--index", "NDVI"}, "i.csv");
    const auto wavelength = MapRows("w.csv"), band = MapRows("b.csv"), index = MapRows("i.csv");
    EXPECT_EQ(wavelength.size(), 9u * 36u);  // zenith 0 .. 80, azimuth 0 .. 350
    EXPECT_TRUE(wavelength.contains("80,350") && !wavelength.contains("90,0"));
    EXPECT_FALSE(wavelength.contains("0,360"));
    // The hot spot, its opposite, the perpendicular plane, nadir, the grazing end, odd angles.
    const std::vector<std::pair<std::string, std::string>> sampled = {
        {"40", "0"}, {"40", "180"}, {"30", "90"}, {"0", "0"}, {"80", "270"}, {"70", "130"}};
    for (const auto& [zenith, azimuth] : sampled) {
        SCOPED_TRACE(zenith + "," + azimuth);
        const testing::Outcome run = testing::RunBatchProgram(
            With({"indices", "--sensor", "Sentinel-2 MSI", "--view", zenith, "--azimuth", azimuth},
                 kCanopy));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string& output = run.out;
        const std::string key = zenith + "," + azimuth;
        EXPECT_EQ(wavelength.at(key), Split(testing::Lines(FileBytes("VS.dat"))[54], ',')[1]);
        EXPECT_EQ(band.at(key), IndicesValue(output, "Sentinel-2 MSI band B8A"));
        EXPECT_EQ(index.at(key), IndicesValue(output, "NDVI"));
    }
    EXPECT_FALSE(std::filesystem::exists("b.csv.tmp"));
}

TEST(BrdfCommand, RefusesBadInputNamingTheOptionAndWritesNothing)
{
    ScopedWorkDir dir;
    const struct {
        std::vector<std::string> arguments;  // after "brdf --out m.csv"
        const char* message;
    } cases[] = {
        {{"--wavelength", "672"}, "--wavelength: \"672\" is not a wavelength of the grid"},
        {{"--wavelength", "395"}, "--wavelength: \"395\""},
        {{"--wavelength", "2505"}, "--wavelength: \"2505\""},
        {{"--wavelength", "x"}, "--wavelength"},
        {{"--band", "Sentinel-2 band B4"}, "--band: \"Sentinel-2 band B4\" names no sensor"},
        {{"--band", "Landsat-TM band 6"}, "--band: Landsat-TM has no band \"6\""},
        {{"--index", "ndvi"}, "--index: \"ndvi\" is not an index"},
        {{}, "brdf needs exactly one of --wavelength"},
        {{"--wavelength", "670", "--index", "NDVI"}, "brdf needs exactly one of"},
        {{"--wavelength", "670", "--step", "0"}, "--step: 0 does not divide 90"},
        {{"--wavelength", "670", "--step", "-5"}, "--step: -5 does not divide 90"},
        {{"--wavelength", "670", "--step", "7"}, "--step: 7 does not divide 90"},
        {{"--wavelength", "670", "--step", "0.25"}, "--step: 0.25 is below the finest step"},
        {{"--wavelength", "670", "--view", "30"}, "--view"},
        {{"--wavelength", "670", "--lai", "0"}, "--lai"},
        {{"--wavelength", "670", "--sky-mix", "sunny"}, "--sky-mix: \"sunny\""},
        {{"--wavelength", "670", "--png", ""}, "--png needs a file name"},
        {{"--wavelength", "670", "--svg", "m.csv"}, "m.csv"},  // one file, two outputs
    };
    for (const auto& c : cases) {
        const auto [status, output] = RunCommand(With({"brdf", "--out", "m.csv"}, c.arguments));
        EXPECT_EQ(status, 2) << c.message << ": " << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
    const auto [status, output] = RunCommand({"brdf", "--wavelength", "670"});
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("brdf needs --out FILE.csv."), std::string::npos) << output;
    EXPECT_TRUE(std::filesystem::is_empty("."));
}

// The figures come with the CSV, from the same values: a step that does not divide 80 ends
// the map at the last zenith of the grid (78 for 3).
TEST(BrdfCommand, WritesItsFigureBesideTheValues)
{
    ScopedWorkDir dir;
    const auto [status, output] =
        RunCommand(With({"brdf", "--index", "NDVI", "--step", "3", "--out", "m.csv", "--png",
                         "m.png", "--svg", "m.svg"},
                        kCanopy));
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(QImage("m.png").width(), 1600);
    const std::string svg = FileBytes("m.svg");
    EXPECT_NE(svg.find("NDVI of the canopy"), std::string::npos);
    EXPECT_NE(svg.find("Physical sky mix"), std::string::npos);
    EXPECT_NE(svg.find("Sun"), std::string::npos);
    EXPECT_EQ(MapRows("m.csv").size(), 27u * 120u);
}

// Steps that divide 90 give exact multiples, whatever their decimal form.
TEST(BrdfCommand, FineStepsCoverTheGridExactly)
{
    ScopedWorkDir dir;
    const auto [status, output] =
        RunCommand({"brdf", "--wavelength", "865", "--step", "2.5", "--out", "m.csv"});
    ASSERT_EQ(status, 0) << output;
    const auto rows = MapRows("m.csv");
    EXPECT_EQ(rows.size(), 33u * 144u);
    EXPECT_TRUE(rows.contains("77.5,357.5") && rows.contains("80,0") && !rows.contains("82.5,0"));
    for (const auto& [direction, value] : rows) EXPECT_FALSE(value.empty()) << direction;
}

}  // namespace
}  // namespace tulmera::batch
