#include "support/recording_automation.h"

namespace tulmera::exports {
namespace {

using Operation = AutomationCall::Operation;

// Appends a call of `operation` to `calls`; the caller fills in its arguments.
AutomationCall& Record(std::vector<AutomationCall>& calls, Operation operation)
{
    AutomationCall& call = calls.emplace_back();
    call.operation = operation;
    return call;
}

class RecordingApplication : public SpreadsheetApplication {
public:
    explicit RecordingApplication(std::vector<AutomationCall>& calls) : calls_(calls) {}
    ~RecordingApplication() override { Record(calls_, Operation::kDrop); }
    RecordingApplication(const RecordingApplication&) = delete;
    RecordingApplication& operator=(const RecordingApplication&) = delete;

    void SetVisible(bool visible) override
    {
        Record(calls_, Operation::kSetVisible).visible = visible;
    }
    void AddWorkbook() override { Record(calls_, Operation::kAddWorkbook); }
    void AddSheet() override { Record(calls_, Operation::kAddSheet); }
    void SetFormula(RowNumber row, int column, std::string_view text) override
    {
        SetCell(row, column).value = std::string(text);
    }
    void SetFormula(RowNumber row, int column, float number) override
    {
        SetCell(row, column).value = number;
    }
    void EndCommand() override { Record(calls_, Operation::kEndCommand); }

private:
    AutomationCall& SetCell(RowNumber row, int column)
    {
        AutomationCall& call = Record(calls_, Operation::kSetFormula);
        call.row = row;
        call.column = column;
        return call;
    }

    std::vector<AutomationCall>& calls_;
};

}  // namespace

std::unique_ptr<SpreadsheetApplication> RecordingAutomation::CreateApplication(
    std::string_view programmaticId)
{
    Record(calls_, Operation::kCreate).programmaticId = programmaticId;
    return std::make_unique<RecordingApplication>(calls_);
}

std::map<RecordingAutomation::CellKey, std::variant<std::string, double>>
RecordingAutomation::Cells(int sheet) const
{
    std::map<CellKey, std::variant<std::string, double>> cells;
    int active = 1;
    for (const AutomationCall& call : calls_) {
        if (call.operation == Operation::kAddWorkbook) {
            cells.clear();
            active = 1;
        }
        if (call.operation == Operation::kAddSheet) ++active;
        if (call.operation != Operation::kSetFormula || active != sheet) continue;
        std::variant<std::string, double>& cell = cells[{call.row, call.column}];
        if (const float* number = std::get_if<float>(&call.value)) {
            cell = CellNumber(*number);
        } else {
            cell = std::get<std::string>(call.value);
        }
    }
    return cells;
}

}  // namespace tulmera::exports
