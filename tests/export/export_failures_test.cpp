// The exports refuse bad result files before any workbook is written.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "export/export_fixture.h"
#include "export/main_export.h"
#include "export/sweep_export.h"
#include "export/xlsx_writer.h"
#include "leaf/leaf_run.h"
#include "support/golden.h"
#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/text_file.h"

namespace tulmera::exports {
namespace {

using testing::CopyGolden;
using testing::GoldenDir;
using testing::ScopedWorkDir;
using testing::StartHeader;

TEST(ExportFailures, BadFilesStopTheExportBeforeAnyWorkbookIsWritten)
{
    const std::string validLeaf = [] {
        ScopedWorkDir dir;
        leaf::RunProspect(leaf::kStartLeafParameters);
        return textio::ReadTextFile("VP.dat");
    }();
    const std::string validCanopy = textio::ReadTextFile(GoldenDir("start") / "VS.dat");
    const std::string validSweep = textio::ReadTextFile(GoldenDir("sweep-N") / "MVP.dat");
    const auto replaceLine = [](std::string text, int line, const std::string& with) {
        std::size_t start = 0;
        for (int i = 1; i < line; ++i) start = text.find("\r\n", start) + 2;
        return text.replace(start, text.find("\r\n", start) - start, with);
    };

    const struct {
        const char* name;
        std::string leaf, canopy, sweep;  // "-" leaves the file out
        int valueCount;                   // 0: the main window's export
        std::vector<std::string> expected;
    } cases[] = {
        {"no leaf file", "-", validCanopy, "", 0, {"\"VP.dat\"", "No such file"}},
        {"no canopy file", validLeaf, "-", "", 0, {"\"VS.dat\"", "No such file"}},
        {"empty canopy file", validLeaf, "", "", 0, {"\"VS.dat\", line 1", "ends before"}},
        {"short leaf file",
         validLeaf.substr(0, validLeaf.rfind(" 2500 ")),
         validCanopy,
         "",
         0,
         {"\"VP.dat\", line 421", "ends before"}},
        {"not a number",
         replaceLine(validLeaf, 17, " 480  0.05x  0.1 "),
         validCanopy,
         "",
         0,
         {"\"VP.dat\", line 17", "\"0.05x\" is not a number"}},
        {"comma as decimal separator",
         validLeaf,
         replaceLine(validCanopy, 1, "400,0,05"),
         "",
         0,
         {"\"VS.dat\", line 2", "5 nm", "405 nm"}},
        {"wrong wavelength",
         validLeaf,
         replaceLine(validCanopy, 3, "415,0.02"),
         "",
         0,
         {"\"VS.dat\", line 3", "415 nm", "410 nm"}},
        {"beyond single precision",
         replaceLine(validLeaf, 5, " 420  1E+39  0.1 "),
         validCanopy,
         "",
         0,
         {"\"VP.dat\", line 5 (leaf reflectance)", "1E+39", "single-precision"}},
        {"extra line", validLeaf, validCanopy + "2505,0.1\r\n", "", 0, {"\"VS.dat\"", "421 lines"}},
        {"no sweep file", "", "", "-", 31, {"\"MVP.dat\"", "No such file"}},
        {"no sweep", "", "", validSweep, -1, {"no sweep to export"}},
        {"more blocks asked", "", "", validSweep, 32, {"\"MVP.dat\", line 13207", "ends before"}},
        {"fewer blocks asked", "", "", validSweep, 30, {"\"MVP.dat\"", "more than 30 blocks"}},
        {"bad wavelength in block 2",
         "",
         "",
         replaceLine(validSweep, 432, " 401  0.05  0.01 "),
         31,
         {"\"MVP.dat\", line 432", "401 nm"}},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        if (c.valueCount == 0) {
            if (c.leaf != "-") textio::ReplaceTextFile("VP.dat", c.leaf);
            if (c.canopy != "-") textio::ReplaceTextFile("VS.dat", c.canopy);
        } else if (c.sweep != "-") {
            textio::ReplaceTextFile("MVP.dat", c.sweep);
        }
        try {
            const Workbook workbook = c.valueCount == 0
                                          ? MainWindowWorkbook(StartHeader())
                                          : SweepWorkbook(c.valueCount < 0 ? 0 : c.valueCount);
            WriteWorkbook(workbook, "out.xlsx");
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Error& e) {
            for (const std::string& part : c.expected) {
                EXPECT_NE(std::string(e.what()).find(part), std::string::npos)
                    << c.name << ": \"" << part << "\" not in: " << e.what();
            }
        }
        EXPECT_FALSE(std::filesystem::exists("out.xlsx")) << c.name << ": a workbook was written";
    }
}

TEST(ExportFailures, NonFiniteHeaderValueStopsTheExport)
{
    ScopedWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    CopyGolden("start", {"VS.dat"});
    MainExportHeader header = StartHeader();
    header.lai = std::nan("");
    EXPECT_THROW(WriteWorkbook(MainWindowWorkbook(header), "out.xlsx"), Error);
    EXPECT_FALSE(std::filesystem::exists("out.xlsx"));
}

}  // namespace
}  // namespace tulmera::exports
