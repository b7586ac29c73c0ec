// The sweep-canopy command: its refusals before anything runs, and what a run writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "batch/batch_runner.h"
#include "export/canopy_sweep_export.h"
#include "support/work_dir.h"
#include "textio/staged_files.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::batch {
namespace {

using testing::ScopedWorkDir;

TEST(BatchSweepCanopy, RefusalsAreUsageErrorsThatChangeNothing)
{
    const struct {
        std::vector<std::string_view> arguments;
        const char* expected;
    } cases[] = {
        {{"sweep-canopy", "--param", "LAI", "--from", "0", "--to", "2", "--step", "0.5"},
         "Value 1 of 5, LAI = 0, gives lai = 0, outside 0 (excluded) to 100."},
        {{"sweep-canopy", "--param", "plane", "--from", "-100", "--to", "0", "--step", "10"},
         "plane = -100, gives view = 100, outside -90 to 90."},
        {{"sweep-canopy", "--param", "sun", "--from", "80", "--to", "10", "--step", "10"},
         "lies above the upper limit"},
        {{"sweep-canopy", "--param", "hotspot", "--step", "-0.1"}, "greater than 0"},
        {{"sweep-canopy", "--param", "azimuth", "--to", "360", "--step", "0.01"},
         "more than 1000 values"},
        {{"sweep-canopy", "--param", "leaf"}, "--param: \"leaf\" is not one of"},
        {{"sweep-canopy", "--quantity", "Landsat-TM band 9"}, "--quantity:"},
        {{"sweep-canopy", "--quantity", "1652"}, "a wavelength of 400 to 2500 nm by 5"},
        {{"sweep-canopy", "--param", "N", "--lai", "0"}, "N = 1, gives lai = 0"},
        {{"sweep-canopy", "--xlsx", "MVS.dat"}, "working file \"MVS.dat\""},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        {
            textio::StagedFiles previous;
            previous.Stage(kCanopySweepFile, "previous sweep");
            previous.Publish();
        }
        std::ostringstream out, err;
        EXPECT_EQ(RunBatch(c.arguments, out, err), 2) << c.expected;
        EXPECT_NE(err.str().find(c.expected), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(textio::ReadTextFile(kCanopySweepFile), "previous sweep") << c.expected;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
            << c.expected;
    }
}

TEST(BatchSweepCanopy, WritesTheFileTheTableTheImagesAndBothSheets)
{
    ScopedWorkDir dir;
    std::filesystem::create_directory("png");
    std::ostringstream out, err;
    // The table goes to the process's standard output.
    std::streambuf* const standardOutput = std::cout.rdbuf(out.rdbuf());
    const int exitCode = RunBatch({"sweep-canopy", "--param", "plane", "--from", "-10", "--to",
                                   "10", "--step", "10", "--sun", "10", "--lai", "2", "--quantity",
                                   "Landsat-TM band 4", "--png", "png", "--xlsx", "plane.xlsx"},
                                  out, err);
    std::cout.rdbuf(standardOutput);
    ASSERT_EQ(exitCode, 0) << err.str();
    const std::string csv = out.str();
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), "plane,Landsat-TM band 4\n");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
    EXPECT_NE(csv.find("\n-10,0."), std::string::npos) << csv;
    EXPECT_NE(csv.find("\n10,0."), std::string::npos) << csv;
    const std::string file = textio::ReadTextFile(kCanopySweepFile, kMaxSweepFileBytes);
    EXPECT_EQ(file.substr(0, 13), "plane =-10 \r\n");
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 3 * 422);
    for (const char* image : {"png/sweep.png", "png/legend.png", "png/quantity.png"}) {
        EXPECT_GT(std::filesystem::file_size(image), 0u) << image;
    }
    EXPECT_GT(std::filesystem::file_size("plane.xlsx"), 0u);

    // The workbook's cells: three blocks on sheet 1, the table on sheet 2.
    const exports::QuantityTable table{"plane", "NDVI", {-10, 0, 10}, {0.5, std::nullopt, 0.7}};
    const exports::Workbook workbook = exports::CanopySweepWorkbook(table);
    ASSERT_EQ(workbook.sheets.size(), 2u);
    EXPECT_EQ(workbook.sheets[1].cells.size(), 2u + 3 + 2);  // header, values, defined quantities
    EXPECT_EQ(workbook.sheets[0].cells.size(), 3u * (1 + 2 * 421));
    EXPECT_EQ(std::get<std::string>(workbook.sheets[0].cells.front().value), "plane =-10");
}

// The fluxes are quantities of a sweep as well: fAPAR and fCover rise with LAI towards 1, each
// row the value `indices` gives for that canopy.
TEST(BatchSweepCanopy, SweepsTheCanopysFluxes)
{
    ScopedWorkDir dir;
    const auto printed = [](const std::vector<std::string_view>& arguments) {
        std::ostringstream out, err;
        std::streambuf* const standardOutput = std::cout.rdbuf(out.rdbuf());
        const int exitCode = RunBatch(arguments, out, err);
        std::cout.rdbuf(standardOutput);
        EXPECT_EQ(exitCode, 0) << err.str();
        return out.str();
    };
    for (const std::string_view flux : {"fAPAR", "fCover"}) {
        const std::string csv = printed({"sweep-canopy", "--param", "LAI", "--from", "1", "--to",
                                         "7", "--step", "3", "--sun", "30", "--quantity", flux});
        std::istringstream rows(csv);
        std::string line;
        std::getline(rows, line);
        EXPECT_EQ(line, "LAI," + std::string(flux));
        double previous = 0;
        for (const char* lai : {"1", "4", "7"}) {
            ASSERT_TRUE(std::getline(rows, line)) << csv;
            const double value = std::stod(line.substr(line.find(',') + 1));
            EXPECT_GT(value, previous) << line;
            EXPECT_LT(value, 1.0) << line;
            previous = value;
            const std::string indices = printed({"indices", "--lai", lai, "--sun", "30"});
            EXPECT_NE(indices.find("\n" + std::string(flux) + "," + line.substr(line.find(',') + 1)
                                   + "\n"),
                      std::string::npos)
                << indices;
        }
    }
}

// Any grid wavelength is a quantity, not only 670 and 800 nm: the reflectance there.
TEST(BatchSweepCanopy, AnyGridWavelengthIsAQuantity)
{
    ScopedWorkDir dir;
    std::ostringstream out, err;
    std::streambuf* const standardOutput = std::cout.rdbuf(out.rdbuf());
    const int exitCode = RunBatch({"sweep-canopy", "--param", "LAI", "--from", "1", "--to", "3",
                                   "--step", "2", "--quantity", "1650"},
                                  out, err);
    std::cout.rdbuf(standardOutput);
    ASSERT_EQ(exitCode, 0) << err.str();
    const std::string csv = out.str();
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), "LAI,1650 nm\n");
    EXPECT_NE(csv.find("\n1,0."), std::string::npos) << csv;
    EXPECT_NE(csv.find("\n3,0."), std::string::npos) << csv;
}

// Swept values are written as typed: 0.1 + 0.2 steps print 0.3, in the printed table and in both
// sweeps' CSV files, as the sweep files print them.
TEST(BatchSweepCanopy, SweptValuesAreWrittenAsTyped)
{
    ScopedWorkDir dir;
    std::ostringstream out, err;
    std::streambuf* const standardOutput = std::cout.rdbuf(out.rdbuf());
    const int canopy = RunBatch(
        {"sweep-canopy", "--from", "0.1", "--to", "0.5", "--step", "0.1", "--csv", "canopy.csv"},
        out, err);
    const int leaf = RunBatch({"sweep", "--param", "Cw", "--from", "0.1", "--to", "0.3", "--step",
                               "0.1", "--csv", "leaf.csv"},
                              out, err);
    std::cout.rdbuf(standardOutput);
    ASSERT_EQ(canopy, 0) << err.str();
    ASSERT_EQ(leaf, 0) << err.str();
    EXPECT_NE(out.str().find("\n0.3,"), std::string::npos) << out.str();
    for (const char* file : {"canopy.csv", "leaf.csv"}) {
        const std::string text = textio::ReadTextFile(file, 1 << 24);
        EXPECT_NE(text.find(",0.3,400,"), std::string::npos) << file;
        EXPECT_EQ(text.find("0.30000000000000004"), std::string::npos) << file;
    }
    EXPECT_EQ(out.str().find("0.30000000000000004"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace tulmera::batch
