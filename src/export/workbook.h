#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// What an export hands the spreadsheet: a workbook of sheets of cells, as a plain record.
namespace tulmera::exports {

// A row number, counted from 1. Wide enough for every sheet the program writes (a sweep of 77
// values fills 32802 rows, beyond a 16-bit counter).
using RowNumber = std::int32_t;

// One cell of a sheet: a text, kept as it stands, or a single-precision number, which the
// workbook holds as CellNumber(number); at (row, column), both counted from 1.
struct Cell {
    Cell(RowNumber row_, int column_, std::string text)
        : row(row_), column(column_), value(std::move(text))
    {
    }
    Cell(RowNumber row_, int column_, float number) : row(row_), column(column_), value(number) {}

    RowNumber row;
    int column;
    std::variant<std::string, float> value;
};

// The cells of one sheet in the order the export lays them out: row by row from the top, each
// row from its first column. A cell not listed stays empty.
struct Sheet {
    std::vector<Cell> cells;
};

// The sheets of one workbook, the first one first. A workbook without sheets is written with
// one empty sheet.
struct Workbook {
    std::vector<Sheet> sheets;
};

// The value a cell holds for the single-precision `number`: its shortest text, the fewest
// digits that still give the same single (at most 9, mostly 7 or fewer), read back as a double,
// so 5.0f (0.05f times 100) becomes 5 and 12.3456f becomes 12.3456, never
// 12.345600128173828, and no cell loses a digit of the single. `number` must be finite.
double CellNumber(float number);

}  // namespace tulmera::exports
