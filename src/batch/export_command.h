#pragma once
#include "batch/batch_command.h"
#include "export/main_export.h"

namespace tulmera::batch {

// The header values given by the export's options (LeafOptions() and --lai, --sun, --hotspot,
// --lidf, --soil, --view, --azimuth), the main window's start values for the others. Throws
// UsageError for a number that is not one.
exports::MainExportHeader ExportHeaderFrom(const BatchArguments& arguments);

// `export`: the main window's spreadsheet export of "VP.dat" and "VS.dat", written into the
// .xlsx file given with --xlsx, with the header values given as options.
BatchCommand ExportCommand();

}  // namespace tulmera::batch
