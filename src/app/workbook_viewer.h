#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "export/workbook.h"

// How the windows show an export: written into a workbook file of its own and opened in the
// desktop's spreadsheet program.
namespace tulmera::app {

// Opens the workbook `path` (absolute) as the desktop opens it. Throws tulmera::Error.
using WorkbookOpener = std::function<void(const QString& path)>;

// The command that opens `path` in LibreOffice Calc as a new, untitled document, so that no
// file is ever saved over ({SOFFICE, "--calc", "-n", path}, SOFFICE given by its full path),
// when "soffice" is an executable in one of `searchPaths` (empty: the PATH); nothing when it is
// not.
std::optional<QStringList> CalcCommand(const QString& path, const QStringList& searchPaths = {});

// Opens `path` with CalcCommand, started apart from this program with its output discarded,
// else with the desktop's default program for .xlsx files (QDesktopServices::openUrl). Throws
// tulmera::Error when neither can be started.
void OpenInSpreadsheetProgram(const QString& path);

// Writes `workbook` (exports::WriteWorkbook) into a new file "tulmera-XXXXXX.xlsx" of the
// user's temporary directory ($TMPDIR, else /tmp), so that nothing is ever written over, then
// shows it with `open`. Returns the file's name. Throws tulmera::Error naming the directory when
// no file can be made there, or as WriteWorkbook does (then no file is left); when the file was
// written but cannot be shown, the message names it, and the file stays for the user to open.
QString ShowWorkbook(const exports::Workbook& workbook,
                     const WorkbookOpener& open = OpenInSpreadsheetProgram);

}  // namespace tulmera::app
