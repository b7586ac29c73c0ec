#pragma once
#include <memory>
#include <string_view>

#include "export/spreadsheet_automation.h"
#include "textio/error.h"

// Spreadsheet backends for the window tests.
namespace tulmera::testing {

// Hands every export the one backend of a test (a recording one, usually), so that the test
// can look at what all exports sent.
class ForwardingAutomation : public spreadsheet::SpreadsheetAutomation {
public:
    explicit ForwardingAutomation(spreadsheet::SpreadsheetAutomation& target) : target_(target) {}
    std::unique_ptr<spreadsheet::SpreadsheetApplication> CreateApplication(
        std::string_view programmaticId) override
    {
        return target_.CreateApplication(programmaticId);
    }

private:
    spreadsheet::SpreadsheetAutomation& target_;
};

// A spreadsheet program that cannot be started.
class MissingAutomation : public spreadsheet::SpreadsheetAutomation {
public:
    std::unique_ptr<spreadsheet::SpreadsheetApplication> CreateApplication(
        std::string_view) override
    {
        throw Error("No program could be started to show \"/tmp/tulmera-x.xlsx\".");
    }
};

}  // namespace tulmera::testing
