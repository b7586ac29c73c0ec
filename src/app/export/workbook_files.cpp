#include "app/export/workbook_files.h"

#include "app/export/sweep_export.h"
#include "app/export/xlsx_automation.h"

namespace tulmera::spreadsheet {

void WriteMainWorkbook(const MainExportHeader& header, const std::string& path)
{
    XlsxAutomation automation(XlsxOptions{path, {}});
    ExportMainWindow(header, automation);
}

void WriteSweepWorkbook(int nsim, const std::string& path)
{
    XlsxAutomation automation(XlsxOptions{path, {}});
    ExportSweep(nsim, automation);
}

}  // namespace tulmera::spreadsheet
