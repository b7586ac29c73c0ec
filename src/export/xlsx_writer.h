#pragma once
#include <string>

#include "export/workbook.h"

namespace tulmera::exports {

// Writes `workbook` into the .xlsx file `path` with libxlsxwriter: texts as text cells in
// UTF-8 (Utf8Text), numbers as numeric cells holding CellNumber. The workbook goes to a
// temporary sibling of `path`, which is put in its place once complete, so readers see the old
// file or the new one, never a part. Every cell is checked first: one outside a worksheet
// (rows 1 .. 1048576, columns 1 .. 16384) is refused before any file is made. Throws
// tulmera::Error naming the file and the reason, with the workbook library's own words when it
// gives any; `path` then stays as it was and no temporary file is left. `shownPath`, when not
// empty, is the name messages give `path` (a run's staged copy of the file).
void WriteWorkbook(const Workbook& workbook, const std::string& path,
                   const std::string& shownPath = {});

// The user's directory for temporary files, where the writer keeps the workbook library's
// scratch files: $TMPDIR when it is set and not empty, else /tmp. Given as it is, even when it
// does not exist.
std::string UserTemporaryDirectory();

}  // namespace tulmera::exports
