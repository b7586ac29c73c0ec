#pragma once
#include <filesystem>
#include <string>

#include "export/main_export.h"
#include "support/workbook_cells.h"

// What the export tests share: the reference sets' header values and cell files.
namespace tulmera::testing {

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
