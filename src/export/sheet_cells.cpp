#include "export/sheet_cells.h"

#include <memory>

#include "textio/number_text.h"

namespace tulmera::spreadsheet {

double CellNumber(float number) { return textio::ShortestSingleValue(number); }

void FillWorkbook(const std::vector<Cell>& cells, SpreadsheetAutomation& automation)
{
    const std::unique_ptr<SpreadsheetApplication> application =
        automation.CreateApplication(kApplicationId);
    application->SetVisible(true);
    application->AddWorkbook();
    for (const Cell& cell : cells) {
        std::visit(
            [&](const auto& value) { application->SetFormula(cell.row, cell.column, value); },
            cell.value);
    }
    application->EndCommand();
}

}  // namespace tulmera::spreadsheet
