#include "batch/batch_arguments.h"

#include <CLI/CLI.hpp>
#include <cmath>

#include "textio/number_text.h"

namespace tulmera::batch {

std::string Shown(std::string_view text)
{
    constexpr std::size_t kShown = 40;
    std::string shown;
    for (const char c : text.substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            shown += c;
        } else {
            // A control character would end or garble the message on a terminal.
            constexpr char kHex[] = "0123456789abcdef";
            shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
        }
    }
    return text.size() <= kShown ? shown : shown + "...";
}

namespace {

// File and directory names are taken as given; every other value loses the blanks around it,
// whatever option it belongs to.
std::string Trimmed(const OptionInfo& info, const std::string& value)
{
    const std::string_view kind = info.valueName;
    if (kind == "FILE" || kind == "DIR") return value;
    const std::size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

}  // namespace

void DeclareOptions(CLI::App& app, const std::vector<OptionInfo>& accepted)
{
    app.allow_extras();
    for (const OptionInfo& info : accepted) {
        const std::string name(info.name);
        const std::string help(info.help);
        CLI::Option* option = nullptr;
        switch (info.kind) {
            case OptionKind::Flag:
                // Every occurrence is kept, so that From can refuse one given twice.
                option =
                    app.add_flag(name, help)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
                break;
            case OptionKind::Value:
            case OptionKind::Repeated:
                // One value per occurrence, taken whatever it reads ("-30" is a value here).
                option = app.add_option(name, help)
                             ->expected(1)
                             ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
                break;
            case OptionKind::Positional:
                // Every plain argument; the help adds "..." after the value name itself.
                option = app.add_option(name, help)->expected(0, -1)->allow_extra_args();
                option->type_name(
                    std::string(info.valueName.substr(0, info.valueName.find("..."))));
                continue;
        }
        if (!info.valueName.empty()) option->type_name(std::string(info.valueName));
    }
}

void ParseCommandLine(CLI::App& app, const std::vector<std::string_view>& arguments)
{
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());  // as CLI11 reads
    try {
        app.parse(reversed);
    } catch (const CLI::ArgumentMismatch&) {
        // Only the last argument can lack its value: every other option takes what follows.
        const std::string_view last = arguments.back();
        throw UsageError(Shown(last.substr(0, last.find('='))) + " needs a value; try --help.");
    } catch (const CLI::ParseError& e) {
        throw UsageError(std::string(e.what()) + "; try --help.");
    }
}

BatchArguments BatchArguments::From(const CLI::App& app, const std::vector<OptionInfo>& accepted)
{
    const std::vector<std::string> unknown = app.remaining();
    if (!unknown.empty()) {
        throw UsageError("Unknown option \"" + Shown(unknown.front()) + "\"; try --help.");
    }
    BatchArguments parsed;
    for (const OptionInfo& info : accepted) {
        const std::string name(info.name);
        const std::vector<std::string>& results = app.get_option(name)->results();
        switch (info.kind) {
            case OptionKind::Positional:
                parsed.positionals_.insert(parsed.positionals_.end(), results.begin(),
                                           results.end());
                break;
            case OptionKind::Repeated:
                for (const std::string& value : results) {
                    parsed.repeated_.emplace(name, Trimmed(info, value));
                }
                break;
            case OptionKind::Flag:
                // A bare flag reads "true"; "--flag=VALUE" keeps the value.
                for (const std::string& value : results) {
                    if (value != "true") throw UsageError(name + " takes no value; try --help.");
                }
                [[fallthrough]];
            case OptionKind::Value:
                if (results.size() > 1) throw UsageError(name + " is given twice.");
                if (results.size() == 1) {
                    parsed.values_.emplace(
                        name, info.kind == OptionKind::Flag ? "" : Trimmed(info, results.front()));
                }
                break;
        }
    }
    return parsed;
}

void BatchArguments::Supply(std::string_view name, std::string text)
{
    if (!Has(name)) values_.emplace(std::string(name), std::move(text));
}

bool BatchArguments::Has(std::string_view name) const
{
    return values_.contains(name) || repeated_.contains(name);
}

std::vector<std::string> BatchArguments::Values(std::string_view name) const
{
    std::vector<std::string> values;
    const auto [first, last] = repeated_.equal_range(name);
    for (auto it = first; it != last; ++it) values.push_back(it->second);
    return values;
}

std::string BatchArguments::Text(std::string_view name, std::string_view fallback) const
{
    const auto found = values_.find(name);
    return found == values_.end() ? std::string(fallback) : found->second;
}

double BatchArguments::Number(std::string_view name, double fallback) const
{
    const auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    const std::optional<double> number = textio::ParseNumberText(found->second);
    if (!number) {
        throw UsageError(std::string(name) + ": \"" + Shown(found->second)
                         + "\" is not a number (use a point as decimal separator).");
    }
    return *number;
}

int BatchArguments::WholeNumber(std::string_view name, int fallback, int min, int max) const
{
    const double number = Number(name, fallback);
    if (number != std::floor(number) || number < min || number > max) {
        throw UsageError(std::string(name) + " must be a whole number from " + std::to_string(min)
                         + " to " + std::to_string(max) + ".");
    }
    return static_cast<int>(number);
}

}  // namespace tulmera::batch
