#include <cmath>
#include <optional>
#include <string>

#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_support.h"
#include "textio/number_text.h"

namespace tulmera::fuzz {
namespace {

// The number text with `digits` digits of `value` parses back to a value that writes it again.
void CheckRoundTrip(double value, int digits, std::string_view input)
{
    std::string text;
    try {
        text = textio::NumberText(value, digits);
    } catch (const Error&) {
        // Refused only where the rounded text would exceed the largest double.
        Require(std::abs(value) > 1e308,
                Shown(input) + " cannot be written with " + std::to_string(digits) + " digits.");
        return;
    }
    const std::optional<double> again = textio::ParseNumberText(text);
    if (!again) {
        throw FuzzFailure("The number text " + Shown(text) + " of " + Shown(input) + " ("
                          + std::to_string(digits) + " digits) does not parse.");
    }
    const std::string textAgain = textio::NumberText(*again, digits);
    if (textAgain != text) {
        throw FuzzFailure(Shown(input) + " writes " + Shown(text) + " (" + std::to_string(digits)
                          + " digits), which reads back as a value written " + Shown(textAgain)
                          + ".");
    }
}

}  // namespace

void FuzzNumberText(std::string_view bytes)
{
    const std::optional<double> value = textio::ParseNumberText(bytes);
    if (!value) return;
    if (!std::isfinite(*value)) {
        throw FuzzFailure(Shown(bytes) + " parses to a value that is not finite.");
    }
    CheckRoundTrip(*value, textio::kDoubleDigits, bytes);
    CheckRoundTrip(*value, textio::kSingleDigits, bytes);

    // A value the charts and the export keep in single precision passes on as a double that
    // converts back to the same single.
    const auto single = static_cast<float>(*value);
    if (std::isfinite(single)
        && static_cast<float>(textio::ShortestSingleValue(single)) != single) {
        throw FuzzFailure("The single-precision value of " + Shown(bytes)
                          + " does not survive ShortestSingleValue.");
    }
}

}  // namespace tulmera::fuzz
