#pragma once
#include <map>
#include <string>
#include <utility>
#include <variant>

#include "export/workbook.h"

namespace tulmera::testing {

// A cell as a workbook holds it: a text, or a number (double).
using CellContent = std::variant<std::string, double>;
using CellMap = std::map<std::pair<exports::RowNumber, int>, CellContent>;

// The cells of `sheet` as the workbook holds them: texts as they stand, numbers as CellNumber
// gives them; a later cell at the same place replaces an earlier one.
inline CellMap CellsOf(const exports::Sheet& sheet)
{
    CellMap cells;
    for (const exports::Cell& cell : sheet.cells) {
        CellContent& content = cells[{cell.row, cell.column}];
        if (const float* number = std::get_if<float>(&cell.value)) {
            content = exports::CellNumber(*number);
        } else {
            content = std::get<std::string>(cell.value);
        }
    }
    return cells;
}

}  // namespace tulmera::testing
