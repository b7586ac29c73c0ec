// The in-memory simulations must see the leaf spectrum exactly as the file route passes it.
#include "textio/printed_value.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "lut/sampling.h"
#include "textio/number_text.h"

namespace tulmera::textio {
namespace {

// The table sampler's bit mixer draws the numbers of every magnitude.
using lut::SplitMix64;
using lut::UnitFromBits;

double ThroughText(double x) { return *textio::ParseNumberText(textio::NumberText(x)); }

void ExpectSameBits(double x)
{
    ASSERT_EQ(std::bit_cast<std::uint64_t>(PrintedValue(x)),
              std::bit_cast<std::uint64_t>(ThroughText(x)))
        << textio::NumberText(x, 17) << " gives " << textio::NumberText(PrintedValue(x), 17)
        << " instead of " << textio::NumberText(ThroughText(x), 17);
}

TEST(PrintedValue, EqualsTheNumberTextReadBackAtTheHardCases)
{
    const double kTie = 1.0 + std::ldexp(1.0, -15);  // 1.000030517578125: a 16th digit 5, exact
    for (const double x : {0.0,
                           -0.0,
                           1.0,
                           0.5,
                           0.1,
                           1e-8,
                           1e-8 * (1 + 1e-15),
                           9.99999999999999e-9,
                           1e8,
                           99999999.99999999,
                           0.99999999999999994,  // rounds up to the next power of ten
                           9.9999999999999947,
                           0.33333333333333331,
                           kTie,
                           3 * kTie,
                           1 + 3 * std::ldexp(1.0, -15),
                           1.0000000000000002,
                           0.0123456789012345678,
                           2.5e-5,
                           1e-300,
                           5e-324,
                           1e300,
                           -0.0338266047637353,
                           123456.78901234567}) {
        SCOPED_TRACE(textio::NumberText(x, 17));
        ExpectSameBits(x);
    }
}

TEST(PrintedValue, EqualsTheNumberTextReadBackOverEveryMagnitude)
{
    // Reflectances and transmittances span about 1e-30 .. 1; sample 1e-12 .. 1e10 evenly in
    // the exponent, and every bit pattern of the mantissa.
    for (std::uint64_t i = 0; i < 400000; ++i) {
        const std::uint64_t bits = SplitMix64(i);
        const double exponent = -12.0 + 22.0 * UnitFromBits(bits);
        const double x = std::pow(10.0, exponent);
        ExpectSameBits(x);
        ExpectSameBits(std::nextafter(x, 0.0));
    }
}

}  // namespace
}  // namespace tulmera::textio
