#include "export/workbook_files.h"

#include "export/sweep_export.h"
#include "export/xlsx_automation.h"

namespace tulmera::exports {

void WriteMainWorkbook(const MainExportHeader& header, const std::string& path,
                       const std::string& shownPath)
{
    XlsxAutomation automation(XlsxOptions{path, {}, shownPath});
    ExportMainWindow(header, automation);
}

void WriteSweepWorkbook(int valueCount, const std::string& path, const std::string& readName,
                        const std::string& shownPath)
{
    XlsxAutomation automation(XlsxOptions{path, {}, shownPath});
    ExportSweep(valueCount, automation, readName);
}

}  // namespace tulmera::exports
