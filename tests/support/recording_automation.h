#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "export/spreadsheet_automation.h"

namespace tulmera::exports {

// One call on the automation interface, as a recording backend saw it.
struct AutomationCall {
    enum class Operation {
        kCreate,
        kSetVisible,
        kAddWorkbook,
        kAddSheet,
        kSetFormula,
        kEndCommand,
        kDrop
    };
    Operation operation = Operation::kCreate;
    std::string programmaticId;              // kCreate
    bool visible = false;                    // kSetVisible
    RowNumber row = 0;                       // kSetFormula
    int column = 0;                          // kSetFormula
    std::variant<std::string, float> value;  // kSetFormula: the text or the number as sent
};

// A backend that keeps every call of every application it created, in order, instead of
// driving a spreadsheet: creation (by any identifier), the calls of the application, and
// kDrop when the command let go of it (after kEndCommand, or without it on a failure).
class RecordingAutomation : public SpreadsheetAutomation {
public:
    std::unique_ptr<SpreadsheetApplication> CreateApplication(
        std::string_view programmaticId) override;

    const std::vector<AutomationCall>& calls() const { return calls_; }

    // The cells of sheet `sheet` (1 is the first) as the last workbook holds them: texts as
    // sent, numbers as CellNumber gives them; a later formula on the same cell replaces the
    // earlier one.
    using CellKey = std::pair<RowNumber, int>;  // row, column
    std::map<CellKey, std::variant<std::string, double>> Cells(int sheet = 1) const;

private:
    std::vector<AutomationCall> calls_;
};

}  // namespace tulmera::exports
