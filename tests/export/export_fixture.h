#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <variant>

#include "export/main_export.h"
#include "export/spreadsheet_automation.h"

// What the export tests share: the reference sets' header values and cell files.
namespace tulmera::testing {

// A cell as a workbook holds it: a text, or a number (double).
using CellContent = std::variant<std::string, double>;
using CellMap = std::map<std::pair<exports::RowNumber, int>, CellContent>;

// The cells of a reference "cells.tsv" (row, column, T or N, value; numbers printed with 9
// significant digits, which identify a single-precision number).
CellMap ReadCellsFile(const std::filesystem::path& file);

// The header values of the main window's start.
exports::MainExportHeader StartHeader();

// The header values of the "canopy-spherical" reference set.
exports::MainExportHeader SphericalCanopyHeader();

// Copies `names` of reference set `set` into the current directory.
void CopyGolden(const std::string& set, std::initializer_list<const char*> names);

}  // namespace tulmera::testing
