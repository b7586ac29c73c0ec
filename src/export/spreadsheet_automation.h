#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

// The automation interface through which the exports drive a spreadsheet application: create
// the application by its programmatic identifier, make it visible, add a workbook, then set the
// formula of cells one by one. A backend implements it for a real application or records it.
namespace tulmera::exports {

// A row number, counted from 1. Wide enough for every sheet the program writes (a sweep of 77
// values fills 32802 rows, beyond a 16-bit counter).
using RowNumber = std::int32_t;

// The programmatic identifier the exports create their application by.
inline constexpr std::string_view kApplicationId = "Excel.application";

// One running application instance, as seen by the command that created it. The command calls
// SetVisible, AddWorkbook, then SetFormula once per cell, and finally EndCommand; then it drops
// the object, keeping no reference. Dropped without EndCommand (the command failed), a backend
// discards what it built and shows nothing. Every operation throws tulmera::Error on failure.
class SpreadsheetApplication {
public:
    virtual ~SpreadsheetApplication() = default;

    // The property "Visible".
    virtual void SetVisible(bool visible) = 0;
    // "Add" of the collection "Workbooks": a new workbook becomes the active one.
    virtual void AddWorkbook() = 0;
    // "Add" of the collection "Worksheets" of the active workbook: a new sheet after the others
    // becomes the active one. An application that holds one sheet only throws tulmera::Error.
    virtual void AddSheet();
    // The property "formula" of cells(row, column) of the active sheet; row and column count
    // from 1. A text cell holds the text as it stands.
    virtual void SetFormula(RowNumber row, int column, std::string_view text) = 0;
    // The same for a single-precision number: the cell holds CellNumber(number).
    virtual void SetFormula(RowNumber row, int column, float number) = 0;
    // The command has ended and lets go of the application. A backend that only shows its
    // workbook at the end (the file-based one) writes and shows it here, and reports a failure
    // as tulmera::Error, which a destructor could not do.
    virtual void EndCommand() = 0;
};

// The registry of applications that can be created by programmatic identifier.
class SpreadsheetAutomation {
public:
    virtual ~SpreadsheetAutomation() = default;

    // A new, separate application instance. Throws tulmera::Error when no application is
    // known by `programmaticId` or it cannot be started.
    virtual std::unique_ptr<SpreadsheetApplication> CreateApplication(
        std::string_view programmaticId) = 0;
};

// The value a cell holds after its formula was set to `number`: the automation passes a
// single-precision number on as its shortest text, the fewest digits that still give the same
// single (at most 9, mostly 7 or fewer), so 5.0f (0.05f times 100) becomes 5 and 12.3456f
// becomes 12.3456, never 12.345600128173828, and no cell loses a digit of the single.
// `number` must be finite.
double CellNumber(float number);

}  // namespace tulmera::exports
