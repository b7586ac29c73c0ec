#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tulmera::exports {

// Shows a written workbook to the user. Throws tulmera::Error when it cannot.
using DocumentOpener = std::function<void(const std::string& path)>;

// The command line that shows the workbook `path` as a new document of the desktop's
// spreadsheet program, with the programs found on `searchPath` (directories separated by
// colons, as in PATH): LibreOffice Calc when "soffice" is there ({SOFFICE, "--calc", "-n",
// path}: the file opens as a new, untitled document, so no file of the user's is ever saved
// over), otherwise the desktop's default opener ({XDG_OPEN, path}). Each program is given by
// its full path. Empty when neither program is found.
std::vector<std::string> DesktopSpreadsheetCommand(const std::string& path,
                                                   std::string_view searchPath);

// Shows the workbook `path` with DesktopSpreadsheetCommand on the PATH. The program starts
// detached, in a session of its own with its output discarded, and is not waited for. Throws
// tulmera::Error when no program is found or it cannot be started.
void OpenInDesktopSpreadsheet(const std::string& path);

}  // namespace tulmera::exports
