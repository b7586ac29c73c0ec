#pragma once
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace tulmera::batch {

// A command line that cannot be understood; what() says why, in English.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

// `text` as messages show it: at most 40 characters, the rest replaced by "...", so that a
// huge argument is not echoed back whole; control characters written as \xHH.
std::string Shown(std::string_view text);

// How an option is given: once with its value (most options), as a flag without value
// ("--quiet"), any number of times with a value each ("--range"), or as the command's plain
// arguments, which do not start with "-" (name and valueName are then shown in the help:
// "OUT SHARD...").
enum class OptionKind { Value, Flag, Repeated, Positional };

// One option a command accepts.
struct OptionInfo {
    std::string_view name;       // "--N"
    std::string_view valueName;  // "v", "DIR", ...: shown in the help
    std::string_view help;       // one line
    OptionKind kind = OptionKind::Value;
};

// Declares the options `accepted` on the command-line parser `app` (a command of the
// runner, or a parser of its own). Every value is kept as text, whatever it reads ("-30",
// "--help"): numbers are read later through the program's number text. A Value or Repeated
// option takes exactly one value per occurrence, as "NAME VALUE" or "NAME=VALUE"; `app`
// keeps arguments it does not know (BatchArguments::From refuses them).
void DeclareOptions(CLI::App& app, const std::vector<OptionInfo>& accepted);

// Lets `app` read `arguments` (the command line after the program name). Throws UsageError
// when the last option lacks its value, or for anything else the parser refuses; what `app`
// read up to there stays readable.
void ParseCommandLine(CLI::App& app, const std::vector<std::string_view>& arguments);

// The options of one command line, by name.
class BatchArguments {
public:
    // The options of `accepted` as `app` (on which DeclareOptions declared them) read them
    // from a command line (ParseCommandLine). Throws UsageError for an option not in
    // `accepted`, a plain argument the command does not take, an option (not Repeated) given
    // twice, or a flag given a value. Blanks (spaces, tabs) around a value are removed, except
    // around a FILE or DIR value, which names a file as given: every option reads " 3", "3 "
    // and "S2 " alike.
    static BatchArguments From(const CLI::App& app, const std::vector<OptionInfo>& accepted);

    bool Has(std::string_view name) const;
    // The value of option `name`, or `fallback` when it was not given.
    std::string Text(std::string_view name, std::string_view fallback) const;
    // The value read as a number with the program's number text (a point as decimal
    // separator, plain or exponent form); throws UsageError when it is not one.
    double Number(std::string_view name, double fallback) const;
    // The value as a whole number from `min` to `max`; throws UsageError otherwise.
    int WholeNumber(std::string_view name, int fallback, int min, int max) const;
    // Every value of a Repeated option, in command-line order.
    std::vector<std::string> Values(std::string_view name) const;
    // Gives option `name` (a Value option) the value `text`, as if the line had given it;
    // nothing when the line gave it already (the line wins).
    void Supply(std::string_view name, std::string text);
    // The plain arguments, in command-line order.
    const std::vector<std::string>& Positionals() const { return positionals_; }

private:
    std::map<std::string, std::string, std::less<>> values_;
    std::multimap<std::string, std::string, std::less<>> repeated_;
    std::vector<std::string> positionals_;
};

}  // namespace tulmera::batch
