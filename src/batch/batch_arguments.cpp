#include "batch/batch_arguments.h"

#include <algorithm>
#include <cmath>

#include "textio/number_text.h"

namespace tulmera::batch {

std::string Shown(std::string_view text)
{
    constexpr std::size_t kShown = 40;
    if (text.size() <= kShown) return std::string(text);
    return std::string(text.substr(0, kShown)) + "...";
}

BatchArguments BatchArguments::Parse(const std::vector<std::string_view>& arguments,
                                     const std::vector<OptionInfo>& accepted)
{
    BatchArguments parsed;
    const bool takesPlain = std::any_of(accepted.begin(), accepted.end(), [](const OptionInfo& o) {
        return o.kind == OptionKind::Positional;
    });
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view name = arguments[i];
        if (takesPlain && !name.starts_with('-')) {
            parsed.positionals_.emplace_back(name);
            continue;
        }
        const auto option =
            std::find_if(accepted.begin(), accepted.end(), [&](const OptionInfo& o) {
                return o.name == name && o.kind != OptionKind::Positional;
            });
        if (option == accepted.end()) {
            throw UsageError("Unknown option \"" + Shown(name) + "\"; try --help.");
        }
        if (option->kind == OptionKind::Flag) {
            if (!parsed.values_.emplace(name, "").second) {
                throw UsageError(std::string(name) + " is given twice.");
            }
            continue;
        }
        if (i + 1 >= arguments.size()) {
            throw UsageError(std::string(name) + " needs a value; try --help.");
        }
        if (option->kind == OptionKind::Repeated) {
            parsed.repeated_.emplace(name, arguments[++i]);
        } else if (!parsed.values_.emplace(name, arguments[++i]).second) {
            throw UsageError(std::string(name) + " is given twice.");
        }
    }
    return parsed;
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
