#include "export/canopy_sweep_export.h"

#include <string>

#include "export/result_reading.h"
#include "spectral/grid.h"
#include "textio/error.h"
#include "textio/field_reader.h"
#include "textio/text_file.h"

namespace tulmera::exports {
namespace {

Sheet QuantitySheet(const QuantityTable& table)
{
    Sheet sheet;
    sheet.cells.reserve(2 * table.values.size() + 2);
    sheet.cells.emplace_back(1, 1, table.parameterName);
    sheet.cells.emplace_back(1, 2, table.quantityName);
    RowNumber row = 2;
    for (std::size_t i = 0; i < table.values.size(); ++i, ++row) {
        sheet.cells.emplace_back(row, 1, static_cast<float>(table.values[i]));
        if (table.quantity[i])
            sheet.cells.emplace_back(row, 2, static_cast<float>(*table.quantity[i]));
    }
    return sheet;
}

}  // namespace

Workbook CanopySweepWorkbook(const QuantityTable& table, const std::string& readName)
{
    const int valueCount = static_cast<int>(table.values.size());
    if (valueCount < 1 || table.quantity.size() != table.values.size()) {
        throw Error("There is no canopy sweep to export; run the sweep first.");
    }
    textio::FieldReader file(kCanopySweepFile, textio::ReadTextFile(readName, kMaxSweepFileBytes));
    std::vector<Cell> cells;
    cells.reserve(static_cast<std::size_t>(valueCount) * (1 + 2 * spectral::kWavelengthCount));
    RowNumber row = 1;
    for (int block = 0; block < valueCount; ++block) {
        cells.emplace_back(row, 1, file.ReadText("header line"));
        ++row;
        for (int i = 0; i < spectral::kWavelengthCount; ++i) {
            const int wavelength = ReadGridWavelength(file, i, row);
            const float canopyRefl = ReadSinglePercent(file, "canopy reflectance", row);
            cells.emplace_back(row, 1, static_cast<float>(wavelength));
            cells.emplace_back(row, 2, canopyRefl);
            ++row;
        }
    }
    ExpectFileEnd(file, std::to_string(valueCount) + (valueCount == 1 ? " block" : " blocks"));
    Workbook workbook;  // the cells moved in: a braced list of sheets would copy each of them
    workbook.sheets.push_back(Sheet{std::move(cells)});
    workbook.sheets.push_back(QuantitySheet(table));
    return workbook;
}

}  // namespace tulmera::exports
