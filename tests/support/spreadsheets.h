#pragma once
#include <memory>
#include <string_view>

#include "export/spreadsheet_automation.h"
#include "textio/error.h"

// Spreadsheet backends for the window tests.
namespace tulmera::testing {

// Hands every export the one backend of a test (a recording one, usually), so that the test
// can look at what all exports sent.
class ForwardingAutomation : public exports::SpreadsheetAutomation {
public:
    explicit ForwardingAutomation(exports::SpreadsheetAutomation& target) : target_(target) {}
    std::unique_ptr<exports::SpreadsheetApplication> CreateApplication(
        std::string_view programmaticId) override
    {
        return target_.CreateApplication(programmaticId);
    }

private:
    exports::SpreadsheetAutomation& target_;
};

// A spreadsheet program that cannot be started.
class MissingAutomation : public exports::SpreadsheetAutomation {
public:
    std::unique_ptr<exports::SpreadsheetApplication> CreateApplication(std::string_view) override
    {
        throw Error("No program could be started to show \"/tmp/tulmera-x.xlsx\".");
    }
};

}  // namespace tulmera::testing
