#include "export/sweep_export.h"

#include <string>

#include "export/result_reading.h"
#include "spectral/grid.h"
#include "textio/error.h"
#include "textio/field_reader.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::exports {
namespace {

// Header line `h` (0 .. 4) of a block in the words of `texts`: the Cab and Cm lines with their
// unit, the column titles; a line that does not end as the sweep file writes it stays as read.
std::string HeaderLine(std::string line, int h, const SweepHeaderTexts& texts)
{
    const SweepHeaderTexts fileTexts;  // the defaults: as the sweep file writes them
    const auto replaceEnd = [&line](const std::string& from, const std::string& to) {
        if (line.ends_with(from)) {
            line.replace(line.size() - from.size(), from.size(), to);
        }
    };
    if (h == 1) replaceEnd(fileTexts.cabUnit, texts.cabUnit);
    if (h == 3) replaceEnd(fileTexts.cmUnit, texts.cmUnit);
    if (h == 4 && line == fileTexts.columnTitles) line = texts.columnTitles;
    return line;
}

void RequireSweep(int valueCount)
{
    if (valueCount < 1) {
        throw Error("There is no sweep to export: it has " + std::to_string(valueCount)
                    + " values; run the sweep first.");
    }
}

}  // namespace

Workbook SweepWorkbook(int valueCount, const std::string& readName, const SweepHeaderTexts& texts)
{
    RequireSweep(valueCount);  // before the file is read, as a missing file is the next failure
    return SweepWorkbook(
        valueCount,
        textio::FieldReader(kSweepFile, textio::ReadTextFile(readName, kMaxSweepFileBytes)), texts);
}

Workbook SweepWorkbook(int valueCount, textio::FieldReader file, const SweepHeaderTexts& texts)
{
    RequireSweep(valueCount);
    constexpr int kCellsPerBlock = kSweepHeaderLines + 3 * spectral::kWavelengthCount;
    std::vector<Cell> cells;
    cells.reserve(static_cast<std::size_t>(valueCount) * kCellsPerBlock);
    RowNumber row = 1;  // the next row to fill; the row of a line of the file
    for (int block = 0; block < valueCount; ++block) {
        for (int h = 0; h < kSweepHeaderLines; ++h) {
            cells.emplace_back(row, 1, HeaderLine(file.ReadText("header line"), h, texts));
            ++row;
        }
        for (int i = 0; i < spectral::kWavelengthCount; ++i) {
            const int wavelength = ReadGridWavelength(file, i, row);
            const float leafRefl = ReadSinglePercent(file, "leaf reflectance", row);
            const float leafTrans = ReadSinglePercent(file, "leaf transmittance", row);
            cells.emplace_back(row, 1, static_cast<float>(wavelength));
            cells.emplace_back(row, 2, leafRefl);
            cells.emplace_back(row, 3, leafTrans);
            ++row;
        }
    }
    ExpectFileEnd(file, std::to_string(valueCount) + (valueCount == 1 ? " block" : " blocks"));
    Workbook workbook;  // the cells moved in: a braced list of sheets would copy each of them
    workbook.sheets.push_back(Sheet{std::move(cells)});
    return workbook;
}

}  // namespace tulmera::exports
