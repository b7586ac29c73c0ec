#include "textio/printed_value.h"

#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>

#include "textio/number_text.h"

namespace tulmera::textio {
namespace {

__extension__ using UInt128 = unsigned __int128;  // GCC and Clang on 64-bit targets

constexpr int kDigits = 15;          // textio::kDoubleDigits
constexpr int kExactPowers = 22;     // 10^0 .. 10^22 are exact doubles
constexpr int kMantissaBits = 52;    // stored fraction bits of a double
constexpr int kExponentBias = 1075;  // x = m·2^(biased exponent - 1075)
constexpr double kFastLow = 1e-8, kFastHigh = 1e8;

constexpr std::array<double, kExactPowers + 1> kPowersOfTen = [] {
    std::array<double, kExactPowers + 1> p{};
    p[0] = 1.0;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10.0;
    return p;
}();

constexpr std::array<std::uint64_t, kDigits + 1> kWholePowersOfTen = [] {
    std::array<std::uint64_t, kDigits + 1> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

// 5^k for k up to 27 < 64·log(2)/log(5): one 64 x 64-bit multiplication gives m·5^k exactly.
constexpr int kLargestScale = 27;
constexpr std::array<std::uint64_t, kLargestScale + 1> kPowersOfFive = [] {
    std::array<std::uint64_t, kLargestScale + 1> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
    return p;
}();

// x = m·2^e (positive, 1e-8 <= x < 1e8) rounded to 15 significant digits, as the number
// text rounds (to nearest, an exact half to even), and read back. 10^k = 5^k·2^k, so
// x·10^k = m·5^k·2^(e+k) exactly in 128 bits; in the fast range e + k < 0, and the shift by
// cut = -(e + k) leaves the whole part, the bits it drops the fraction.
double FastPrintedValue(double magnitude)
{
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const std::uint64_t m =
        (bits & ((std::uint64_t{1} << kMantissaBits) - 1)) | (std::uint64_t{1} << kMantissaBits);
    const int e = static_cast<int>(bits >> kMantissaBits) - kExponentBias;
    // floor(log10 x) is `guess` or guess + 1 (see textio's number text): k puts the first
    // digit at 10^14, or at 10^15 when the guess is one short, and then one less will do.
    const int guess = ((e + kMantissaBits) * 78913) >> 18;
    int k = kDigits - 1 - guess;
    UInt128 product = UInt128{m} * kPowersOfFive[static_cast<std::size_t>(k)];
    int cut = -(e + k);
    if (static_cast<std::uint64_t>(product >> cut) >= kWholePowersOfTen[kDigits]) {
        --k;
        ++cut;
        product = UInt128{m} * kPowersOfFive[static_cast<std::size_t>(k)];
    }
    // To nearest, an exact half to the even neighbour: add just under one half, plus one
    // when the whole part is odd, and cut. q may become 10^15 (9.99..95 to 10): the same value.
    const std::uint64_t odd = static_cast<std::uint64_t>(product >> cut) & 1;
    const UInt128 justUnderHalf = (UInt128{1} << (cut - 1)) - 1;
    const auto q = static_cast<std::uint64_t>((product + justUnderHalf + odd) >> cut);
    // q < 2^53 and 10^k (7 <= k <= 22 in the fast range) are exact: one division rounds
    // correctly.
    return static_cast<double>(q) / kPowersOfTen[static_cast<std::size_t>(k)];
}

}  // namespace

double PrintedValue(double x)
{
    assert(std::isfinite(x));
    const double magnitude = std::abs(x);
    if (magnitude >= kFastLow && magnitude < kFastHigh) {
        const double value = FastPrintedValue(magnitude);
        return x < 0 ? -value : value;
    }
    if (x == 0.0) return 0.0;
    return *textio::ParseNumberText(textio::NumberText(x));
}

}  // namespace tulmera::textio
