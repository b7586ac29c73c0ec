#pragma once
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "export/spreadsheet_automation.h"

namespace tulmera::exports {

// One cell of an export sheet: a text or a single-precision number at (row, column), both
// counted from 1.
struct Cell {
    Cell(RowNumber row_, int column_, std::string text)
        : row(row_), column(column_), value(std::move(text))
    {
    }
    Cell(RowNumber row_, int column_, float number) : row(row_), column(column_), value(number) {}

    RowNumber row;
    int column;
    int sheet = 1;  // counted from 1; the cells of a sheet follow those of the sheets before
    std::variant<std::string, float> value;
};

// Drives one export through `automation` in the order of the automation interface: creates
// the application by kApplicationId, makes it visible, adds a workbook, sets the formula of
// every cell in the order of `cells` (adding a sheet before the first cell of each further
// sheet), and ends the command; no reference to the application
// survives the call. The cells are read and checked before, so a failure here can only be the
// application's own; it is thrown as tulmera::Error and the application then shows nothing.
void FillWorkbook(const std::vector<Cell>& cells, SpreadsheetAutomation& automation);

}  // namespace tulmera::exports
