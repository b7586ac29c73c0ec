// The cell layouts of both exports, read from the workbooks they make.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "export/export_fixture.h"
#include "export/main_export.h"
#include "export/output_texts.h"
#include "export/sweep_export.h"
#include "export/synthetic_sweep.h"
#include "leaf/leaf_run.h"
#include "support/golden.h"
#include "support/work_dir.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::exports {
namespace {

using testing::CellContent;
using testing::CellMap;
using testing::CellsOf;
using testing::CopyGolden;
using testing::GoldenDir;
using testing::ScopedWorkDir;
using testing::StartHeader;

const std::string kSweepTitles = "Lon.onda    Reflectividad     Transmisividad";

// The cells of a workbook that must hold one sheet.
CellMap CellsOfTheOnlySheet(const Workbook& workbook)
{
    EXPECT_EQ(workbook.sheets.size(), 1u);
    return workbook.sheets.empty() ? CellMap{} : CellsOf(workbook.sheets.front());
}

std::string Describe(const CellContent& cell)
{
    if (const double* number = std::get_if<double>(&cell)) return textio::NumberText(*number);
    return "\"" + std::get<std::string>(cell) + "\"";
}

// Compares exported cells with a reference cells file: the same cells, texts equal, and each
// number the shortest text of the reference single (so the same single once both sides are
// converted to single precision). Prints how many cells are which.
::testing::AssertionResult MatchesReferenceCells(const CellMap& cells, const CellMap& reference)
{
    int texts = 0, numbers = 0;
    for (const auto& [key, expected] : reference) {
        const auto found = cells.find(key);
        const std::string where =
            "row " + std::to_string(key.first) + ", column " + std::to_string(key.second);
        if (found == cells.end()) return ::testing::AssertionFailure() << where << " is missing";
        if (expected.index() != found->second.index()) {
            return ::testing::AssertionFailure() << where << ": " << Describe(found->second)
                                                 << " where " << Describe(expected) << " belongs";
        }
        if (const std::string* text = std::get_if<std::string>(&expected)) {
            if (*text != std::get<std::string>(found->second)) {
                return ::testing::AssertionFailure() << where << ": " << Describe(found->second)
                                                     << " instead of \"" << *text << "\"";
            }
            ++texts;
            continue;
        }
        const auto single = static_cast<float>(std::get<double>(expected));
        const double actual = std::get<double>(found->second);
        if (static_cast<float>(actual) != single || actual != CellNumber(single)) {
            return ::testing::AssertionFailure() << where << ": " << Describe(found->second)
                                                 << " instead of the single " << Describe(expected);
        }
        ++numbers;
    }
    if (cells.size() != reference.size()) {
        return ::testing::AssertionFailure()
               << cells.size() << " cells where the reference has " << reference.size();
    }
    std::cout << "  " << reference.size() << " cells: " << texts << " texts and " << numbers
              << " numbers equal to the reference\n";
    return ::testing::AssertionSuccess();
}

// Every number of the sheet: the same single as the reference.
::testing::AssertionResult HoldsTheReferenceSingles(const Sheet& sheet, const CellMap& reference)
{
    int numbers = 0;
    for (const Cell& cell : sheet.cells) {
        const float* number = std::get_if<float>(&cell.value);
        if (number == nullptr) continue;
        const auto found = reference.find({cell.row, cell.column});
        if (found == reference.end() || !std::holds_alternative<double>(found->second)
            || static_cast<float>(std::get<double>(found->second)) != *number) {
            return ::testing::AssertionFailure()
                   << "row " << cell.row << ", column " << cell.column << ": holds "
                   << textio::NumberText(static_cast<double>(*number), 9);
        }
        ++numbers;
    }
    return ::testing::AssertionSuccess() << numbers << " numbers";
}

TEST(ExportCells, NumbersBecomeTheShortestTextOfTheirSingle)
{
    const struct {
        float sent;
        double cell;
    } cases[] = {
        {0.05f * 100.0f, 5},  // 5.0000000745 in double, one single: 5
        {static_cast<float>(0.123456) * 100.0f, 12.3456},
        {12.345600128173828f, 12.3456},
        {400.0f, 400},
        {2500.0f, 2500},
        {0.0f, 0},
        {1.0f / 3.0f, 0.33333334},  // 7 digits would give another single
        {static_cast<float>(0.28684434), 0.28684434},
        {1.2345678e-8f, 1.2345678e-08},
        {123456789.0f, 123456792},  // the single, a whole number
        {-75.5f, -75.5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CellNumber(c.sent), c.cell) << textio::NumberText(static_cast<double>(c.sent));
    }
}

TEST(ExportCells, CellsRunRowByRowFromTheTopOnce)
{
    ScopedWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    CopyGolden("start", {"VS.dat"});
    CopyGolden("sweep-N", {"MVP.dat"});
    const Workbook main = MainWindowWorkbook(StartHeader());
    const Workbook sweep = SweepWorkbook(31);
    const struct {
        const char* name;
        const Workbook& workbook;
        std::size_t cells;
    } cases[] = {{"main window", main, 1701}, {"sweep", sweep, 31u * (5 + 3 * 421)}};
    for (const auto& c : cases) {
        ASSERT_EQ(c.workbook.sheets.size(), 1u) << c.name;
        const std::vector<Cell>& cells = c.workbook.sheets.front().cells;
        ASSERT_EQ(cells.size(), c.cells) << c.name;
        for (std::size_t i = 1; i < cells.size(); ++i) {
            // Row by row from the top, each row from its first column, no cell twice.
            ASSERT_TRUE(
                cells[i].row > cells[i - 1].row
                || (cells[i].row == cells[i - 1].row && cells[i].column > cells[i - 1].column))
                << c.name << ": cell " << i << " at row " << cells[i].row;
        }
    }
}

TEST(ExportCells, MainWindowMatchesTheReferenceCells)
{
    ScopedWorkDir dir;
    CopyGolden("canopy-spherical", {"VP.dat", "VS.dat"});
    const Workbook workbook = MainWindowWorkbook(testing::SphericalCanopyHeader());
    const CellMap reference = testing::ReadCellsFile(GoldenDir("canopy-spherical") / "cells.tsv");
    ASSERT_EQ(workbook.sheets.size(), 1u);
    EXPECT_TRUE(HoldsTheReferenceSingles(workbook.sheets.front(), reference));
    EXPECT_TRUE(MatchesReferenceCells(CellsOf(workbook.sheets.front()), reference));
}

TEST(ExportCells, SweepMatchesTheReferenceCells)
{
    ScopedWorkDir dir;
    CopyGolden("sweep-Cw", {"MVP.dat"});
    const Workbook workbook = SweepWorkbook(8);
    const CellMap reference = testing::ReadCellsFile(GoldenDir("sweep-Cw") / "cells.tsv");
    ASSERT_EQ(workbook.sheets.size(), 1u);
    EXPECT_TRUE(HoldsTheReferenceSingles(workbook.sheets.front(), reference));
    EXPECT_TRUE(MatchesReferenceCells(CellsOf(workbook.sheets.front()), reference));
}

// The reference cells check every cell of one export; this one checks the header texts of
// other values and that nothing but the layout's cells is set.
TEST(ExportCells, MainWindowLayoutHoldsEveryCell)
{
    ScopedWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    CopyGolden("start", {"VS.dat"});
    const CellMap cells = CellsOfTheOnlySheet(MainWindowWorkbook(StartHeader()));

    const CellMap texts = {
        {{1, 1}, "Parametros modelo PROSPECT"},
        {{2, 1}, "N = 1"},
        {{3, 1}, "Ca+b = 15"},
        {{4, 1}, "Cw = 0.0001"},
        {{5, 1}, "Cm = 0.002"},
        {{6, 1}, "Parametros modelo SAILH"},
        {{7, 1}, "LAI = 0.1"},
        {{8, 1}, "Arquitectura Dosel: Planofilo"},
        {{9, 1}, "Suelo:  S1:61% arena 24% limo 15% arcilla"},
        {{10, 1}, "Cenital Solar = 0"},
        {{11, 1}, "Cenital obs. = 0"},
        {{12, 1}, "Acimutal Rel. = 0"},
        {{13, 1}, "Hot Spot = 0"},
        {{14, 1}, "Long. Onda"},
        {{14, 2}, "Reflec. Hoja"},
        {{14, 3}, "Trans. Hoja"},
        {{14, 4}, "Reflec. Dosel"},
    };
    for (const auto& [key, text] : texts) {
        ASSERT_TRUE(cells.contains(key)) << key.first << ", " << key.second;
        EXPECT_EQ(cells.at(key), text) << "row " << key.first << ", column " << key.second;
    }

    for (int i = 0; i < 421; ++i) {
        EXPECT_EQ(cells.at({15 + i, 1}), CellContent(400.0 + 5 * i));
        for (int column = 2; column <= 4; ++column) {
            const double percent = std::get<double>(cells.at({15 + i, column}));
            EXPECT_TRUE(percent > 0 && percent < 100) << "row " << 15 + i << ": " << percent;
        }
    }
    EXPECT_EQ(cells.at({15, 1}), CellContent(400.0));
    EXPECT_EQ(cells.at({435, 1}), CellContent(2500.0));
    EXPECT_EQ(cells.size(), 17u + 4u * 421u);  // nothing else
    EXPECT_EQ(cells.rbegin()->first, std::make_pair(RowNumber{435}, 4));
}

TEST(ExportCells, PercentIsTheSingleTimesOneHundredInSingle)
{
    ScopedWorkDir dir;
    // value in the file -> cell: the fraction as a single, times 100 as a single, as its shortest
    // text. The single of 1E-09 times 100 is 9.9999994E-08; that of 1/3, 33.333336.
    const struct {
        const char* text;
        double cell;
    } values[] = {
        {"0.05", 5},
        {"0.123456", 12.3456},
        {"0.5", 50},
        {"1E-09", 9.9999994e-08},
        {"0.999999999", 100},
        {"0.333333333333333", 33.333336},
        {"0", 0},
        {"0.0523762821927195", 5.237628},
    };
    std::string leafText, canopyText;
    for (int i = 0; i < 421; ++i) {
        const auto& v = values[i % std::size(values)];
        const std::string wavelength = std::to_string(400 + 5 * i);
        leafText += " " + wavelength + "  " + v.text + "  " + v.text + " \r\n";
        canopyText += wavelength + "," + v.text + "\r\n";
    }
    textio::ReplaceTextFile("VP.dat", leafText);
    textio::ReplaceTextFile("VS.dat", canopyText);
    const CellMap cells = CellsOfTheOnlySheet(MainWindowWorkbook(StartHeader()));
    for (int i = 0; i < 421; ++i) {
        const auto& v = values[i % std::size(values)];
        for (int column = 2; column <= 4; ++column) {
            ASSERT_EQ(cells.at({15 + i, column}), CellContent(v.cell)) << v.text;
        }
    }
}

TEST(ExportCells, SweepLayoutFillsWholeBlocks)
{
    ScopedWorkDir dir;
    CopyGolden("sweep-N", {"MVP.dat"});
    const CellMap cells = CellsOfTheOnlySheet(SweepWorkbook(31));

    EXPECT_EQ(cells.size(), 31u * (5 + 3 * 421));
    EXPECT_EQ(cells.rbegin()->first, std::make_pair(RowNumber{13206}, 3));
    for (int block = 0; block < 31; ++block) {
        const RowNumber first = 426 * block + 1;
        const std::string n = textio::NumberText(1 + 0.1 * block, 2);  // 1, 1.1, ... 4
        EXPECT_EQ(cells.at({first, 1}), CellContent("N = " + n)) << block;
        EXPECT_EQ(cells.at({first + 1, 1}), CellContent("Ca+b = 15  u.g.cm-2"));
        EXPECT_EQ(cells.at({first + 2, 1}), CellContent("Cw = 0.0001  cm"));
        EXPECT_EQ(cells.at({first + 3, 1}), CellContent("Cm = 0.002  g.cm-2"));
        EXPECT_EQ(cells.at({first + 4, 1}), CellContent(kSweepTitles));  // whole, one cell
        for (RowNumber row = first; row < first + 5; ++row) {
            EXPECT_FALSE(cells.contains({row, 2})) << row;
        }
        EXPECT_EQ(cells.at({first + 5, 1}), CellContent(400.0));
        EXPECT_EQ(cells.at({first + 425, 1}), CellContent(2500.0));
    }
    EXPECT_EQ(cells.at({427, 1}), CellContent("N = 1.1"));
}

// Another language's words replace the captions, the units and the list texts; every number
// and every symbol stays as the Spanish workbook holds it.
TEST(ExportCells, OtherWordsReplaceTheCaptionsAndNothingElse)
{
    ScopedWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    CopyGolden("start", {"VS.dat"});
    CopyGolden("sweep-N", {"MVP.dat"});
    OutputTexts english;
    english.mainWorkbook = {
        "PROSPECT model parameters",
        "SAILH model parameters",
        "Canopy architecture: ",
        "Soil: ",
        "Sun zenith = ",
        "View zenith = ",
        "Relative azimuth = ",
        "Hot spot = ",
        {"Wavelength", "Leaf reflectance", "Leaf transmittance", "Canopy reflectance"}};
    english.sweepHeader = {"µg/cm²", "g/cm²", "Wavelength    Reflectance     Transmittance"};
    english.lists = {{"Planofilo", "Planophile"}};  // the soil has no name: as it stands

    const CellMap spanishMain = CellsOfTheOnlySheet(MainWindowWorkbook(StartHeader()));
    const CellMap englishMain = CellsOfTheOnlySheet(MainWindowWorkbook(StartHeader(), english));
    const std::map<std::pair<RowNumber, int>, std::string> changed = {
        {{1, 1}, "PROSPECT model parameters"},
        {{6, 1}, "SAILH model parameters"},
        {{8, 1}, "Canopy architecture: Planophile"},
        {{9, 1}, "Soil: S1:61% arena 24% limo 15% arcilla"},
        {{10, 1}, "Sun zenith = 0"},
        {{11, 1}, "View zenith = 0"},
        {{12, 1}, "Relative azimuth = 0"},
        {{13, 1}, "Hot spot = 0"},
        {{14, 1}, "Wavelength"},
        {{14, 4}, "Canopy reflectance"},
    };
    ASSERT_EQ(englishMain.size(), spanishMain.size());
    for (const auto& [at, content] : spanishMain) {
        if (const auto found = changed.find(at); found != changed.end()) {
            EXPECT_EQ(englishMain.at(at), CellContent(found->second)) << at.first;
        } else if (at.first != 14) {
            EXPECT_EQ(englishMain.at(at), content) << "row " << at.first << ", " << at.second;
        }
    }

    const CellMap spanishSweep = CellsOfTheOnlySheet(SweepWorkbook(31));
    const CellMap englishSweep =
        CellsOfTheOnlySheet(SweepWorkbook(31, "MVP.dat", english.sweepHeader));
    ASSERT_EQ(englishSweep.size(), spanishSweep.size());
    for (const auto& [at, content] : spanishSweep) {
        const RowNumber line = (at.first - 1) % 426;  // 0 .. 4: the header lines
        if (line == 1) {
            EXPECT_EQ(englishSweep.at(at), CellContent("Ca+b = 15  µg/cm²")) << at.first;
        } else if (line == 3) {
            EXPECT_EQ(englishSweep.at(at), CellContent("Cm = 0.002  g/cm²")) << at.first;
        } else if (line == 4) {
            EXPECT_EQ(englishSweep.at(at),
                      CellContent("Wavelength    Reflectance     Transmittance"));
        } else {
            ASSERT_EQ(englishSweep.at(at), content) << "row " << at.first << ", " << at.second;
        }
    }
}

TEST(ExportCells, SweepOfSeventySevenValuesExportsWhole)
{
    ScopedWorkDir dir;
    textio::ReplaceTextFile("MVP.dat", testing::SyntheticSweepText(77));
    const CellMap cells = CellsOfTheOnlySheet(SweepWorkbook(77));

    EXPECT_EQ(cells.size(), 77u * (5 + 3 * 421));
    for (RowNumber row = 1; row <= 32802; ++row) ASSERT_TRUE(cells.contains({row, 1})) << row;
    EXPECT_EQ(cells.rbegin()->first, std::make_pair(RowNumber{32802}, 3));
    EXPECT_EQ(cells.at({32377, 1}), CellContent("N = 1"));  // block 77 begins
    EXPECT_EQ(cells.at({32380, 1}), CellContent("Cm = 0.04  g.cm-2"));
    EXPECT_EQ(cells.at({32802, 1}), CellContent(2500.0));
}

}  // namespace
}  // namespace tulmera::exports
