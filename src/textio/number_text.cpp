#include "textio/number_text.h"

#include <array>
#include <bit>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <system_error>

#include "textio/error.h"

// A number text is assembled through a plain cursor into a buffer of kNumberTextCapacity
// characters: at most a sign, 17 digits, a point, "E", a sign and three exponent digits, or
// "0." and three zeros before 17 digits.
namespace tulmera::textio {
namespace {

constexpr double kLargestPlainWhole = 1e15;  // whole numbers below it have at most 15 digits
// Above this magnitude a number's rounded text may exceed the largest double
// ("1.79769313486232E+308"), and no reader could take it back.
constexpr double kNearLargestDouble = 1e308;
constexpr int kMostDigits = 17;  // a double never needs more significant digits

char* PutZeros(char* out, int count)
{
    for (int i = 0; i < count; ++i) *out++ = '0';
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

// ---- Writing whole numbers ----

// The two digits of 0 .. 99, for writing whole numbers two digits at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes the two digits of v < 100 at `p`.
void PutPair(char* p, std::uint32_t v)
{
    p[0] = kDigitPairs[2 * v];
    p[1] = kDigitPairs[2 * v + 1];
}

// Writes the eight digits of v < 10^8 (leading zeros included) from `p` on.
void PutEightDigits(char* p, std::uint32_t v)
{
    const std::uint32_t upper = v / 10000, lower = v % 10000;
    PutPair(p, upper / 100);
    PutPair(p + 2, upper % 100);
    PutPair(p + 4, lower / 100);
    PutPair(p + 6, lower % 100);
}

// Writes the `count` (1 .. 17) decimal digits of q < 10^count, leading zeros included, from
// `first` on: the last eight with one 64-bit division, the others in 32 bits.
void PutDigits(char* first, int count, std::uint64_t q)
{
    constexpr std::uint64_t kEightDigits = 100000000;
    char* p = first + count;
    if (count > 8) {
        const std::uint64_t upper = q / kEightDigits;
        p -= 8;
        PutEightDigits(p, static_cast<std::uint32_t>(q - upper * kEightDigits));
        q = upper;
    }
    auto rest = static_cast<std::uint32_t>(q);  // at most nine digits
    for (; p - first >= 2; rest /= 100) {
        p -= 2;
        PutPair(p, rest % 100);
    }
    if (p != first) *--p = static_cast<char>('0' + rest);
}

// ---- Rounded decimals and their layout ----

// A positive decimal: the `count` digits of `digits` (no trailing zeros), the first of them
// standing for 10^exponent. 0.0625 is {625, 3, -2}.
struct Decimal {
    std::uint64_t digits = 0;
    int count = 0;
    int exponent = 0;
};

// Lays out d as "%g" does for `significantDigits`: the exponent form "d.dddE-05" when the
// exponent is below -4 or reaches significantDigits, else "0.000ddd", "ddd000" or "ddd.ddd".
// The digits are written straight where they belong (re-reading freshly written bytes with
// wider loads would wait for the stores to finish).
char* PutDecimal(char* out, const Decimal& d, int significantDigits)
{
    if (d.exponent < -4 || d.exponent >= significantDigits) {
        PutDigits(out + 1, d.count, d.digits);  // the first digit then moves before the point
        out[0] = out[1];
        if (d.count > 1) {
            out[1] = '.';
            out += d.count + 1;
        } else {
            out += 1;
        }
        return PutExponent(out, d.exponent);
    }
    if (d.exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        out = PutZeros(out, -d.exponent - 1);
        PutDigits(out, d.count, d.digits);
        return out + d.count;
    }
    const int whole = d.exponent + 1;
    if (d.count <= whole) {
        PutDigits(out, d.count, d.digits);
        return PutZeros(out + d.count, whole - d.count);
    }
    PutDigits(out + 1, d.count, d.digits);  // the whole digits then move before the point
    for (int i = 0; i < whole; ++i) out[i] = out[i + 1];
    out[whole] = '.';
    return out + d.count + 1;
}

// ---- The fast path: exact rounding by integer arithmetic ----
//
// A positive normal double is x = m·2^e with a whole m, 2^52 <= m < 2^53. Scaled by 10^k it
// is (m·5^k)·2^(e+k): for 0 <= k <= 27 the product m·5^k < 2^53·2^63 = 2^116 is exact in 128
// bits, and the power of two is a shift, so both the whole part q of x·10^k and the fraction
// that the shift cuts off are exact. With k chosen so that q has exactly `significantDigits`
// digits, q rounded by that fraction (to nearest, an exact half to the even neighbour, as the
// C library and std::to_chars round) is x correctly rounded: no step is approximate. This
// covers every number of the result files; the rest takes the general path below.

__extension__ using UInt128 = unsigned __int128;  // GCC and Clang on 64-bit targets

constexpr int kLargestScale = 27;    // 5^27 < 2^63: the product fits 116 bits
constexpr int kMantissaBits = 52;    // stored fraction bits of a double
constexpr int kExponentBias = 1075;  // x = m·2^(biased exponent - 1075)

template <int count>
constexpr std::array<std::uint64_t, count + 1> Powers(std::uint64_t base)
{
    std::array<std::uint64_t, count + 1> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * base;
    return p;
}
constexpr auto kPowersOfFive = Powers<kLargestScale>(5);
constexpr auto kPowersOfTen = Powers<kMostDigits>(10);
static_assert(kPowersOfFive[kLargestScale] < std::uint64_t{1} << 63);
static_assert(kPowersOfTen[kMostDigits] < std::uint64_t{1} << 62);  // 2·10^17 fits 63 bits

// The whole part of x·10^k and where the fraction cut off lies against one half.
struct Scaled {
    std::uint64_t whole;
    int fractionVersusHalf;  // -1 below, 0 exactly one half, +1 above
};

// x·10^k for x = m·2^e, or nothing when the whole part does not fit 63 bits.
std::optional<Scaled> Scale(std::uint64_t m, int e, int k)
{
    const UInt128 product = UInt128{m} * kPowersOfFive[static_cast<std::size_t>(k)];
    const int shift = e + k;
    if (shift >= 0) {  // x·10^k is whole
        if (shift > 63 || (product >> (63 - shift)) != 0) return std::nullopt;
        return Scaled{static_cast<std::uint64_t>(product << shift), -1};
    }
    const int cut = -shift;  // bits of the fraction
    if (cut >= 128) return std::nullopt;
    const UInt128 whole = product >> cut;
    if ((whole >> 63) != 0) return std::nullopt;
    const UInt128 fraction = product - (whole << cut);
    const UInt128 half = UInt128{1} << (cut - 1);
    return Scaled{static_cast<std::uint64_t>(whole), fraction < half ? -1 : fraction > half};
}

// Sets `d` to x (positive, normal) correctly rounded to `significantDigits` digits and returns
// true, or returns false when x lies beyond the scales 10^0 .. 10^27 (about x >= 10^digits or
// x < 10^(digits - 28)).
bool ExactDecimal(double x, int significantDigits, Decimal& d)
{
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const std::uint64_t m =
        (bits & ((std::uint64_t{1} << kMantissaBits) - 1)) | (std::uint64_t{1} << kMantissaBits);
    const int e = static_cast<int>(bits >> kMantissaBits) - kExponentBias;
    // 2^(e+52) <= x < 2^(e+53), so floor(log10 x) is `guess` or guess + 1, with guess =
    // floor((e + 52)·log10 2) (78913 / 2^18 = 0.30102920...; >> rounds down). The loop
    // checks the digit count itself and moves k when the guess is off.
    const int guess = ((e + kMantissaBits) * 78913) >> 18;
    const std::uint64_t lowest = kPowersOfTen[static_cast<std::size_t>(significantDigits - 1)];
    const std::uint64_t limit = kPowersOfTen[static_cast<std::size_t>(significantDigits)];
    int k = significantDigits - 1 - guess;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (k < 0 || k > kLargestScale) return false;
        const std::optional<Scaled> s = Scale(m, e, k);
        if (!s) return false;
        if (s->whole >= limit) {
            --k;
            continue;
        }
        if (s->whole < lowest) {
            ++k;
            continue;
        }
        std::uint64_t q = s->whole;
        if (s->fractionVersusHalf > 0 || (s->fractionVersusHalf == 0 && (q & 1) != 0)) ++q;
        d.exponent = significantDigits - 1 - k;
        if (q == limit) {  // 9.99..9|5 rounded up to 10.00..0
            q = lowest;
            ++d.exponent;
        }
        d.count = significantDigits;
        for (; d.count > 1 && q % 10 == 0; --d.count) q /= 10;  // no trailing zeros
        d.digits = q;
        return true;
    }
    return false;
}

// ---- The general path: through the shortest digits of std::to_chars ----

// The decimal digits of a positive double as text, without point or trailing zeros, and the
// decimal exponent of the first one: 0.0625 is {"625", -2}.
struct DigitText {
    std::array<char, 24> digit{};
    int count = 0;
    int exponent = 0;
};

// Reads "d.dddde±xx" as std::to_chars writes it in scientific format.
DigitText ReadScientific(const char* p, const char* end)
{
    DigitText d;
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
void RoundDigits(DigitText& d, int significantDigits)
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

// x (finite, positive) correctly rounded to `significantDigits` digits, the general way.
//
// The shortest digits that read back as x (fast, exact for what they are) answer directly
// when they are few enough. When they are longer, rounding them gives the same digits as
// rounding the binary value of x, with one exception: when they stop exactly at a tie one
// digit further (a trailing 5), the binary value may lie on either side of it, and the slower
// correctly rounded conversion decides. No other case can differ: a tie point between x and
// its shortest digits would itself be a shorter or a closer way of writing x. This needs a
// double's full 53-bit precision, so subnormal numbers always take the slower conversion.
DigitText RoundedDigits(double x, int significantDigits)
{
    std::array<char, 48> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    std::to_chars_result written{};
    if (std::isnormal(x)) {
        written = std::to_chars(first, last, x, std::chars_format::scientific);
        if (written.ec != std::errc{}) throw Error("A number could not be converted to text.");
        DigitText d = ReadScientific(first, written.ptr);
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

// The same decimal as a whole number of at most 17 digits.
Decimal ToDecimal(const DigitText& text)
{
    Decimal d;
    for (int i = 0; i < text.count; ++i) {
        d.digits = d.digits * 10
                   + static_cast<std::uint64_t>(text.digit[static_cast<std::size_t>(i)] - '0');
    }
    d.count = text.count;
    d.exponent = text.exponent;
    return d;
}

// x (finite, positive) rounded to `significantDigits` digits, laid out as "%g" does.
char* PutRounded(char* out, double x, int significantDigits)
{
    Decimal d;
    if (!std::isnormal(x) || !ExactDecimal(x, significantDigits, d)) {
        d = ToDecimal(RoundedDigits(x, significantDigits));
    }
    return PutDecimal(out, d, significantDigits);
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

std::string ShortestNumberText(double x)
{
    // A number written plainly in full stays plain: 80 is "80", never "8E+01".
    const bool plain = NumberText(x, 17).find('E') == std::string::npos;
    for (int digits = 1; digits < 17; ++digits) {
        std::string text = NumberText(x, digits);
        if (plain && text.find('E') != std::string::npos) continue;
        if (ParseNumberText(text) == x) return text;
    }
    return NumberText(x, 17);  // 17 significant digits always read back exactly
}

}  // namespace tulmera::textio
