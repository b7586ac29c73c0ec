#include "export/sheet_cells.h"

#include <memory>

#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::exports {

void SpreadsheetApplication::AddSheet()
{
    throw Error("This spreadsheet holds one sheet per workbook; a second was added.");
}

double CellNumber(float number) { return textio::ShortestSingleValue(number); }

void FillWorkbook(const std::vector<Cell>& cells, SpreadsheetAutomation& automation)
{
    const std::unique_ptr<SpreadsheetApplication> application =
        automation.CreateApplication(kApplicationId);
    application->SetVisible(true);
    application->AddWorkbook();
    int sheet = 1;
    for (const Cell& cell : cells) {
        for (; sheet < cell.sheet; ++sheet) application->AddSheet();
        std::visit(
            [&](const auto& value) { application->SetFormula(cell.row, cell.column, value); },
            cell.value);
    }
    application->EndCommand();
}

}  // namespace tulmera::exports
