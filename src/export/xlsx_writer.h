#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "export/desktop_opener.h"
#include "export/spreadsheet_automation.h"

namespace tulmera::exports {

// Where the file-based spreadsheet writes its workbooks and how it shows them.
struct XlsxOptions {
    // The file every export writes, replaced whole once the workbook is complete. Empty: each
    // export writes a new file with a unique name, "tulmera-XXXXXX.xlsx", in the user's
    // temporary directory (UserTemporaryDirectory), so nothing is ever written over.
    std::string path;
    // Shows each written workbook whose application was made visible. Empty: shows nothing.
    DocumentOpener opener;
    // The name messages give the workbook when `path` is a stand-in (a run's staged copy of
    // it). Empty: messages name `path`.
    std::string shownPath;
};

// The spreadsheet application of this platform, under the identifier "Excel.application"
// (matched without regard to case, as programmatic identifiers are). Its application builds
// an .xlsx workbook as the calls arrive, texts as text cells and numbers as numeric cells
// holding CellNumber; when the command ends it writes the workbook and shows it with the
// opener. One workbook per application. A command that drops its application without
// EndCommand leaves no file behind.
class XlsxAutomation : public SpreadsheetAutomation {
public:
    // New files in the temporary directory, shown by OpenInDesktopSpreadsheet.
    XlsxAutomation();
    explicit XlsxAutomation(XlsxOptions options);

    // Throws tulmera::Error for any identifier but kApplicationId.
    std::unique_ptr<SpreadsheetApplication> CreateApplication(
        std::string_view programmaticId) override;

    // The file written by the last command that ended; empty before.
    const std::string& lastWorkbook() const { return *lastWorkbook_; }

private:
    XlsxOptions options_;
    // Shared with the applications handed out, which may outlive this object.
    std::shared_ptr<std::string> lastWorkbook_ = std::make_shared<std::string>();
};

// The user's directory for temporary files: $TMPDIR when it is set and not empty, else /tmp.
std::string UserTemporaryDirectory();

}  // namespace tulmera::exports
