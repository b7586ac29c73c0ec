#include "textio/number_text.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <system_error>

#include "textio/error.h"

namespace tulmera::textio {
namespace {

constexpr double kLargestPlainWhole = 1e15;  // whole numbers below it have at most 15 digits
// Above this magnitude a number's rounded text may exceed the largest double
// ("1.79769313486232E+308"), and no reader could take it back.
constexpr double kNearLargestDouble = 1e308;
constexpr int kMostDigits = 17;  // a double never needs more significant digits

// x (finite, positive) correctly rounded to `significantDigits` digits and laid out as C's
// "%g" lays it out, with an upper-case E. std::to_chars in its general format with a precision
// is defined as "%g" in the C locale: it rounds the exact binary value (an exact tie to the
// even neighbour), drops trailing zeros and writes at least two exponent digits. The longest
// text, "0.000" and 17 digits or 17 digits, a point and "e-308", fits the buffer.
char* PutRounded(char* out, double x, int significantDigits)
{
    const std::to_chars_result written = std::to_chars(
        out, out + kNumberTextCapacity - 1, x, std::chars_format::general, significantDigits);
    if (written.ec != std::errc{}) throw Error("A number could not be converted to text.");
    char* const exponent = std::find(out, written.ptr, 'e');
    if (exponent != written.ptr) *exponent = 'E';
    return written.ptr;
}

}  // namespace

char* PutNumberText(char* out, double x, int significantDigits)
{
    assert(significantDigits >= 1 && significantDigits <= kMostDigits);
    if (!std::isfinite(x)) throw Error("A result is not a finite number and cannot be written.");
    if (x == 0.0) {  // also negative zero
        *out++ = '0';
        return out;
    }
    char* const text = out;
    if (x < 0.0) *out++ = '-';
    const double magnitude = std::abs(x);
    // Below 1e15 < 2^63 the conversion to an integer is exact for whole values.
    if (magnitude < kLargestPlainWhole
        && static_cast<double>(static_cast<std::int64_t>(magnitude)) == magnitude
        && significantDigits >= kDoubleDigits) {
        // Whole numbers (wavelengths, most scroll values) are their integer digits.
        return std::to_chars(out, out + kNumberTextCapacity - 1,
                             static_cast<std::int64_t>(magnitude))
            .ptr;
    }
    char* const end = PutRounded(out, magnitude, significantDigits);
    if (magnitude > kNearLargestDouble && !ParseNumberText(std::string_view(text, end))) {
        throw Error(
            "A result is too large to be written: its number text would read back as "
            "infinite.");
    }
    return end;
}

void AppendNumberText(std::string& out, double x, int significantDigits)
{
    std::array<char, kNumberTextCapacity> text;
    out.append(text.data(), PutNumberText(text.data(), x, significantDigits));
}

std::string NumberText(double x, int significantDigits)
{
    std::string text;
    AppendNumberText(text, x, significantDigits);
    return text;
}

std::string ShortestNumberText(double x)
{
    std::string longest = NumberText(x, kMostDigits);  // 17 digits always read back exactly
    // Too few digits for a whole part write it in exponent form ("6E+01" for 60): the plain
    // form is kept wherever the longest text is plain.
    const bool plain = longest.find('E') == std::string::npos;
    for (int digits = 1; digits < kMostDigits; ++digits) {
        std::string text = NumberText(x, digits);
        if (plain && text.find('E') != std::string::npos) continue;
        if (ParseNumberText(text) == x) return text;
    }
    return longest;
}

double ShortestSingleValue(float x)
{
    std::array<char, 32> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), x);
    double value = 0.0;
    std::from_chars(text.data(), written.ptr, value);
    return value;
}

std::string FixedText(double x, int decimals)
{
    assert(decimals >= 0 && decimals <= kMostDigits);
    if (!std::isfinite(x)) throw Error("A result is not a finite number and cannot be shown.");
    // 309 whole digits at most, a sign, a point and the decimals.
    std::array<char, 330> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), x,
                                       std::chars_format::fixed, decimals);
    if (written.ec != std::errc{}) throw Error("A number could not be converted to text.");
    std::string result(text.data(), written.ptr);
    if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos) {
        result.erase(0, 1);  // "-0.0000": a small negative value rounded to zero
    }
    return result;
}

std::optional<double> ParseNumberText(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;

    // from_chars also accepts "inf", "nan" and "infinity"; a number starts with a digit or a
    // point, after an optional minus sign.
    const std::size_t first = text.front() == '-' ? 1 : 0;
    if (first >= text.size()) return std::nullopt;
    const char lead = text[first];
    if (lead != '.' && (lead < '0' || lead > '9')) return std::nullopt;

    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (error != std::errc{} || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace tulmera::textio
