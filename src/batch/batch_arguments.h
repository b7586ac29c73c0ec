#pragma once
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tulmera::batch {

// A command line that cannot be understood; what() says why, in English.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

// `text` as messages show it: at most 40 characters, the rest replaced by "...", so that a
// huge argument is not echoed back whole.
std::string Shown(std::string_view text);

// One option a command accepts; it takes one value, or none when valueName is empty (a
// switch, whose value reads as "").
struct OptionInfo {
    std::string_view name;       // "--N"
    std::string_view valueName;  // "v", "DIR", ...: shown in the help; empty for a switch
    std::string_view help;       // one line
};

// The options of one command line, by name.
class BatchArguments {
public:
    // Reads "NAME VALUE" pairs. Throws UsageError for an option not in `accepted`, an option
    // given twice or an option without its value.
    static BatchArguments Parse(const std::vector<std::string_view>& arguments,
                                const std::vector<OptionInfo>& accepted);

    bool Has(std::string_view name) const;
    // The value of option `name`, or `fallback` when it was not given.
    std::string Text(std::string_view name, std::string_view fallback) const;
    // The value read as a number with the program's number text (a point as decimal
    // separator, plain or exponent form); throws UsageError when it is not one.
    double Number(std::string_view name, double fallback) const;
    // The value as a whole number from `min` to `max`; throws UsageError otherwise.
    int WholeNumber(std::string_view name, int fallback, int min, int max) const;

private:
    std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace tulmera::batch
