#pragma once
#include <string>

#include "export/main_export.h"
#include "textio/working_files.h"

// The exports written straight into a workbook file, without showing it (the batch runner).
namespace tulmera::exports {

// Writes the main window's export (MainWindowCells) into the .xlsx file `path`, which is
// replaced whole once the workbook is complete. Throws tulmera::Error naming the file.
// `shownPath`, when given, is the name messages use for `path` (a run's staged copy).
void WriteMainWorkbook(const MainExportHeader& header, const std::string& path,
                       const std::string& shownPath = {});

// Writes the sweep export of `valueCount` blocks (SweepCells, from `readName` in place of "MVP.dat"
// when given) into the .xlsx file `path`, which is replaced whole once the workbook is
// complete. Throws tulmera::Error naming the file.
void WriteSweepWorkbook(int valueCount, const std::string& path,
                        const std::string& readName = kSweepFile,
                        const std::string& shownPath = {});

}  // namespace tulmera::exports
