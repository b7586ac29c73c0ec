#include "textio/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "textio/error.h"

namespace tulmera::textio {
namespace {

constexpr double kLargestPlainWhole = 1e15;  // whole numbers below it have at most 15 digits
// Above this magnitude a number's rounded text may exceed the largest double
// ("1.79769313486232E+308"), and no reader could take it back.
constexpr double kNearLargestDouble = 1e308;

// Number texts are assembled through a plain cursor into a fixed buffer: at most a sign,
// 17 digits, a point, "E", a sign and three exponent digits, or 15 zeros after "0.".
constexpr std::size_t kTextCapacity = 48;

char* PutZeros(char* out, int count)
{
    for (int i = 0; i < count; ++i) *out++ = '0';
    return out;
}

char* Put(char* out, const char* first, const char* last)
{
    while (first != last) *out++ = *first++;
    return out;
}

char* PutExponent(char* out, int exponent)
{
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) *out++ = '0';
    return std::to_chars(out, out + 4, magnitude).ptr;
}

// The decimal digits of a positive double, without point or trailing zeros, and the decimal
// exponent of the first one: 0.0625 is {"625", -2}.
struct Digits {
    std::array<char, 24> digit{};
    int count = 0;
    int exponent = 0;
};

// Reads "d.dddde±xx" as std::to_chars writes it in scientific format.
Digits ReadScientific(const char* p, const char* end)
{
    Digits d;
    char* digit = d.digit.data();  // a local cursor: stores through char* would reload a member
    for (; *p != 'e'; ++p) {
        if (*p != '.') *digit++ = *p;
    }
    int count = static_cast<int>(digit - d.digit.data());
    while (count > 1 && d.digit[static_cast<std::size_t>(count - 1)] == '0') --count;
    d.count = count;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, d.exponent);
    return d;
}

// Cuts the digits to `significantDigits`, rounding half up on the decimal digits.
void RoundDigits(Digits& d, int significantDigits)
{
    const bool up = d.digit[static_cast<std::size_t>(significantDigits)] >= '5';
    d.count = significantDigits;
    for (int i = significantDigits - 1; up && i >= 0; --i) {
        char& digit = d.digit[static_cast<std::size_t>(i)];
        if (digit != '9') {
            ++digit;
            break;
        }
        digit = '0';
        if (i == 0) {  // 9.99..9 became 10.00..0
            digit = '1';
            ++d.exponent;
        }
    }
    while (d.count > 1 && d.digit[static_cast<std::size_t>(d.count - 1)] == '0') --d.count;
}

// x (finite, positive) correctly rounded to `significantDigits` digits.
//
// The shortest digits that read back as x (fast, exact for what they are) answer directly
// when they are few enough. When they are longer, rounding them gives the same digits as
// rounding the binary value of x, with one exception: when they stop exactly at a tie one
// digit further (a trailing 5), the binary value may lie on either side of it, and the slower
// correctly rounded conversion decides. No other case can differ: a tie point between x and
// its shortest digits would itself be a shorter or a closer way of writing x. This needs a
// double's full 53-bit precision, so subnormal numbers always take the slower conversion.
Digits RoundedDigits(double x, int significantDigits)
{
    std::array<char, 48> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    std::to_chars_result written{};
    if (std::isnormal(x)) {
        written = std::to_chars(first, last, x, std::chars_format::scientific);
        if (written.ec != std::errc{}) throw Error("A number could not be converted to text.");
        Digits d = ReadScientific(first, written.ptr);
        if (d.count <= significantDigits) return d;
        const bool tie = d.count == significantDigits + 1
                         && d.digit[static_cast<std::size_t>(significantDigits)] == '5';
        if (!tie) {
            RoundDigits(d, significantDigits);
            return d;
        }
    }
    written = std::to_chars(first, last, x, std::chars_format::scientific, significantDigits - 1);
    if (written.ec != std::errc{}) throw Error("A number could not be converted to text.");
    return ReadScientific(first, written.ptr);
}

// x (finite, positive) rounded to `significantDigits` digits, laid out as "%g" does.
char* PutRounded(char* out, double x, int significantDigits)
{
    const Digits d = RoundedDigits(x, significantDigits);
    const char* first = d.digit.data();
    const char* last = first + d.count;
    if (d.exponent < -4 || d.exponent >= significantDigits) {  // exponent form
        *out++ = *first;
        if (d.count > 1) {
            *out++ = '.';
            out = Put(out, first + 1, last);
        }
        return PutExponent(out, d.exponent);
    }
    if (d.exponent < 0) {  // 0.000ddd
        *out++ = '0';
        *out++ = '.';
        out = PutZeros(out, -d.exponent - 1);
        return Put(out, first, last);
    }
    const int whole = d.exponent + 1;  // ddd.ddd or ddd000
    if (d.count <= whole) return PutZeros(Put(out, first, last), whole - d.count);
    out = Put(out, first, first + whole);
    *out++ = '.';
    return Put(out, first + whole, last);
}

}  // namespace

void AppendNumberText(std::string& out, double x, int significantDigits)
{
    if (!std::isfinite(x)) throw Error("A result is not a finite number and cannot be written.");
    std::array<char, kTextCapacity> text;
    char* end = text.data();
    if (x == 0.0) {  // also negative zero
        *end++ = '0';
    } else {
        if (x < 0.0) *end++ = '-';
        const double magnitude = std::abs(x);
        if (magnitude < kLargestPlainWhole && std::floor(magnitude) == magnitude
            && significantDigits >= kDoubleDigits) {
            // Whole numbers (wavelengths, most scroll values) are their integer digits.
            end =
                std::to_chars(end, text.data() + text.size(), static_cast<std::int64_t>(magnitude))
                    .ptr;
        } else {
            end = PutRounded(end, magnitude, significantDigits);
            if (magnitude > kNearLargestDouble
                && !ParseNumberText(std::string_view(text.data(), end))) {
                throw Error(
                    "A result is too large to be written: its number text would read "
                    "back as infinite.");
            }
        }
    }
    out.append(text.data(), end);
}

std::string NumberText(double x, int significantDigits)
{
    std::string text;
    AppendNumberText(text, x, significantDigits);
    return text;
}

double ShortestSingleValue(float x)
{
    std::array<char, 32> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), x);
    double value = 0.0;
    std::from_chars(text.data(), written.ptr, value);
    return value;
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
