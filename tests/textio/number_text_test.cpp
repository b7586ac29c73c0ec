#include "textio/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale>
#include <random>
#include <string>

#include "textio/error.h"
#include "textio/printed_text.h"

namespace tulmera::textio {
namespace {

struct FormatCase {
    const char* name;
    double value;
    const char* text;
};

TEST(NumberText, WritesTheShortestFormWithFifteenDigits)
{
    const FormatCase cases[] = {
        {"whole", 15.0, "15"},
        {"wavelength", 400.0, "400"},
        {"scroll value 1 / 10000", 1.0 / 10000.0, "0.0001"},
        {"scroll value 7 / 10000", 7.0 / 10000.0, "0.0007"},
        {"negative whole", -7500.0 / 100.0, "-75"},
        {"divisor 10", 125.0 / 10.0, "12.5"},
        {"rounding noise removed", 0.1 + 0.2, "0.3"},
        {"zero", 0.0, "0"},
        {"negative zero", -0.0, "0"},
        {"fifteen digits kept", 0.0577367154347588, "0.0577367154347588"},
        {"rounded at fifteen digits", 0.092780440250308266, "0.0927804402503083"},
        {"smallest plain magnitude", 0.0001, "0.0001"},
        {"rounds up to the plain form", 0.000099999999999999995, "0.0001"},
        {"exponent form below 1e-4", 0.00001, "1E-05"},
        {"exponent form with mantissa", 1.2e-8, "1.2E-08"},
        {"tiny transmittance", 6.52137583988269e-07, "6.52137583988269E-07"},
        {"three exponent digits", 1.5e-300, "1.5E-300"},
        {"negative exponent form", -3.25e-7, "-3.25E-07"},
        {"largest plain magnitude", 999999999999999.0, "999999999999999"},
        {"rounds up to 1e15", 9999999999999999.0, "1E+16"},
        {"large exponent form", 1e15, "1E+15"},
        {"plain with fraction", 1234.5, "1234.5"},
        {"plain needing zeros", 120000.0, "120000"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(NumberText(c.value), c.text) << c.name;
    }
}

// Where "%g" rounding and layout are easy to get wrong, at both precisions the files use.
TEST(NumberText, RoundsAndLaysOutTheDelicateCases)
{
    struct Case {
        const char* name;
        double value;
        int digits;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        {"exact tie rounds to even, down",  0.125,                   2,  "0.12"},
        {"exact tie rounds to even, up",    0.375,                   2,  "0.38"},
        {"whole tie rounds to even",        2.5,                     1,  "2"},
        {"tie in decimal, not in binary",   0.15,                    1,  "0.1"},  // 0.1499999...
        {"carry into a new digit",          9.9999999,               7,  "10"},
        {"carry into the exponent form",    9999999.6,               7,  "1E+07"},
        {"carry out of the exponent form",  9.99999999e-5,           7,  "0.0001"},
        {"carry across a decade",           0.09999999999999999,     15, "0.1"},
        {"carry in the exponent form",      9.999999999999996e-10,   15, "1E-09"},
        {"exponent at the precision",       1234567.0,               7,  "1234567"},
        {"exponent beyond the precision",   12345678.0,              7,  "1.234568E+07"},
        {"two exponent digits",             3e9,                     7,  "3E+09"},
        {"three exponent digits",           -2.5e100,                15, "-2.5E+100"},
        {"negative zero",                   -0.0,                    7,  "0"},
        {"smallest subnormal",              4.9406564584124654e-324, 15, "4.94065645841247E-324"},
        {"smallest subnormal, one digit",   4.9406564584124654e-324, 1,  "5E-324"},
        {"largest subnormal",               2.2250738585072009e-308, 7,  "2.225074E-308"},
        {"seventeen digits",                0.1,                     17, "0.10000000000000001"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(NumberText(c.value, c.digits), c.text) << c.name;
    }
}

TEST(NumberText, WritesSingleDigitsOnRequest)
{
    EXPECT_EQ(NumberText(static_cast<double>(12.3456f), kSingleDigits), "12.3456");
    EXPECT_EQ(NumberText(static_cast<double>(0.05f * 100.0f), kSingleDigits), "5");
    EXPECT_EQ(NumberText(static_cast<double>(1.0f / 3.0f), kSingleDigits), "0.3333333");
}

TEST(NumberText, SinglesStandForTheirShortestText)
{
    EXPECT_EQ(ShortestSingleValue(12.345600128173828f), 12.3456);
    EXPECT_EQ(ShortestSingleValue(0.05f * 100.0f), 5.0);
    EXPECT_EQ(ShortestSingleValue(1.0f / 3.0f), 0.33333334);
    std::mt19937 random(20261208);
    for (int i = 0; i < 100000; ++i) {
        const float x = std::bit_cast<float>(static_cast<std::uint32_t>(random()) & 0x7f7fffffu);
        ASSERT_EQ(static_cast<float>(ShortestSingleValue(x)), x) << x;
    }
}

TEST(NumberText, RefusesNonFiniteNumbers)
{
    EXPECT_THROW(NumberText(std::numeric_limits<double>::quiet_NaN()), Error);
    EXPECT_THROW(NumberText(std::numeric_limits<double>::infinity()), Error);
    EXPECT_THROW(NumberText(-std::numeric_limits<double>::infinity()), Error);
    // Next to the largest double the rounded text exceeds it and would read back as infinite.
    EXPECT_THROW(NumberText(std::numeric_limits<double>::max()), Error);
    EXPECT_THROW(NumberText(-std::nextafter(std::numeric_limits<double>::max(), 0.0)), Error);
    EXPECT_EQ(NumberText(-1.797693134862314e308), "-1.79769313486231E+308");
    EXPECT_EQ(NumberText(std::numeric_limits<double>::max(), kSingleDigits), "1.797693E+308");
}

TEST(NumberText, ParsesPlainAndExponentForms)
{
    EXPECT_EQ(ParseNumberText("15"), 15.0);
    EXPECT_EQ(ParseNumberText("-75"), -75.0);
    EXPECT_EQ(ParseNumberText("1.2E-08"), 1.2e-8);
    EXPECT_EQ(ParseNumberText("1.2e-08"), 1.2e-8);
    EXPECT_EQ(ParseNumberText(" 0.0001\t"), 0.0001);
    EXPECT_EQ(ParseNumberText("+5"), 5.0);
    EXPECT_EQ(ParseNumberText(".5"), 0.5);
    EXPECT_EQ(ParseNumberText("3."), 3.0);
}

TEST(NumberText, RejectsWhatIsNotWhollyOneNumber)
{
    for (const char* text : {"", "  ", "abc", "1,5", "12abc", "1.5e", "--1", "+-1", "+", "-", "inf",
                             "-inf", "nan", "infinity", "0x10", "1e999", "1 2", "1.2.3"}) {
        EXPECT_FALSE(ParseNumberText(text).has_value()) << '"' << text << '"';
    }
}

TEST(NumberText, ScrollValuesComeBackUnchangedFromTheirText)
{
    // Every value a scroll bar of the windows can show: integer / divisor.
    for (const int divisor : {10, 100, 1000, 10000, 100000}) {
        for (int v = -7500; v <= 10000; ++v) {
            const double value = static_cast<double>(v) / divisor;
            ASSERT_EQ(ParseNumberText(NumberText(value)), value) << v << " / " << divisor;
        }
    }
}

// The C library's "%.15G" and "%.7G" round the exact binary value; the formatter must agree
// on every double, whatever library routine it rounds with.
TEST(NumberText, AgreesWithTheCLibraryOnRandomBitPatterns)
{
    std::mt19937_64 random(8122026);
    std::uniform_int_distribution<int> shortDigits(1, 17);
    char expected[64];
    for (int i = 0; i < 1000000; ++i) {
        double x = 0.0;
        if (i % 2 == 0) {  // any bit pattern
            const std::uint64_t bits = random();
            std::memcpy(&x, &bits, sizeof x);
        } else {  // few digits, where ties one digit beyond the cut are common
            std::snprintf(expected, sizeof expected, "%.*e", shortDigits(random) - 1,
                          std::bit_cast<double>(random() >> 2));
            x = std::strtod(expected, nullptr);
        }
        if (!std::isfinite(x) || x == 0.0) continue;
        for (const int digits : {kDoubleDigits, kSingleDigits}) {
            std::snprintf(expected, sizeof expected, "%.*G", digits, x);
            ASSERT_EQ(NumberText(x, digits), expected) << digits << " digits";
        }
    }
}

// Where rounding to 15 (or 7) digits is delicate: exact ties one digit beyond the cut, whose
// binary value is that decimal exactly (r / 2^j for odd r has the digits of r·5^j, ending in
// 5), and their neighbours; powers of two and ten with theirs; subnormals; every value
// integer / divisor of the windows' scroll bars and value boxes; the values of the reference
// files. The formatter must agree with the C library on all of them.
TEST(NumberText, AgreesWithTheCLibraryWhereRoundingIsDelicate)
{
    char expected[64];
    long long compared = 0;
    const auto check = [&](double x, int digits) {
        std::snprintf(expected, sizeof expected, "%.*G", digits, x);
        ++compared;
        return NumberText(x, digits) == expected;
    };
    std::mt19937_64 random(20261208);
    for (const int digits : {kDoubleDigits, kSingleDigits}) {
        for (int j = 1; j <= 22; ++j) {
            const double lowest = std::ceil(std::pow(10.0, digits) / std::pow(5.0, j));
            const double highest =
                std::min(std::pow(10.0, digits + 1) / std::pow(5.0, j), 9007199254740991.0);
            if (highest < std::max(lowest, 1.0)) continue;
            std::uniform_int_distribution<std::uint64_t> pick(
                static_cast<std::uint64_t>(std::max(lowest, 1.0)),
                static_cast<std::uint64_t>(highest));
            for (int i = 0; i < 2000; ++i) {
                for (int binade = -20; binade <= 20; binade += 10) {  // ties times 2^binade too
                    const double x = std::ldexp(static_cast<double>(pick(random) | 1), binade - j);
                    for (const double y : {x, std::nextafter(x, 0.0), std::nextafter(x, 2 * x)}) {
                        ASSERT_TRUE(check(y, digits)) << NumberText(y, digits) << " " << expected;
                    }
                }
            }
        }
    }
    for (int e = -1074; e <= 1023; ++e) {
        const double x = std::ldexp(1.0, e);
        for (const double y : {x, std::nextafter(x, 0.0), std::nextafter(x, 2 * x)}) {
            ASSERT_TRUE(check(y, kDoubleDigits)) << NumberText(y) << " " << expected;
        }
    }
    for (int e = -323; e <= 308; ++e) {
        double x = std::strtod(("1e" + std::to_string(e)).c_str(), nullptr);
        for (int i = 0; i < 8; ++i, x = std::nextafter(x, 0.0)) {
            ASSERT_TRUE(check(x, kDoubleDigits)) << NumberText(x) << " " << expected;
        }
    }
    for (int i = 0; i < 100000; ++i) {
        const double x = std::bit_cast<double>(random() >> 12);  // subnormal
        ASSERT_TRUE(check(x, kDoubleDigits)) << NumberText(x) << " " << expected;
    }
    for (const int divisor : {1, 10, 100, 1000, 10000, 100000}) {
        for (int v = -10000; v <= 10000; ++v) {
            const double x = static_cast<double>(v) / divisor;
            if (x != 0.0) {
                ASSERT_TRUE(check(x, kDoubleDigits)) << v << " / " << divisor;
            }
        }
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TULMERA_GOLDEN_DIR)) {
        if (entry.path().extension() != ".dat") continue;
        std::ifstream file(entry.path());
        std::string word;
        while (file >> word) {
            for (std::size_t start = 0; start < word.size();) {  // "400,0.05" holds two
                const std::size_t comma = std::min(word.find(',', start), word.size());
                const std::optional<double> x = ParseNumberText(word.substr(start, comma - start));
                start = comma + 1;
                if (!x || *x == 0.0) continue;
                for (const double y : {*x, *x * 100.0, *x / 100.0}) {
                    ASSERT_TRUE(check(y, kDoubleDigits)) << entry.path() << ": " << y;
                }
            }
        }
    }
    EXPECT_GT(compared, 1000000);  // every group above ran
}

TEST(NumberText, RandomDoublesRoundTripThroughTheirText)
{
    std::mt19937_64 random(20261208);  // fixed seed: the same doubles every run
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-320, 300);
    for (int i = 0; i < 200000; ++i) {
        const double x = mantissa(random) * std::pow(10.0, exponent(random));
        const std::string text = NumberText(x);
        const std::optional<double> back = ParseNumberText(text);
        ASSERT_TRUE(back.has_value()) << text;
        ASSERT_EQ(NumberText(*back), text) << x;
        ASSERT_LE(std::abs(*back - x), 5e-15 * std::abs(x)) << text;
    }
}

// The CSV files' numbers: the fewest digits that read back exactly, plain where the plain form
// is what the 15-digit text would be, and exact where 15 digits would not be.
TEST(NumberText, ShortestTextReadsBackExactly)
{
    const struct {
        double x;
        const char* text;
    } cases[] = {
        {60, "60"},  // not "6E+01"
        {-20, "-20"},
        {2500, "2500"},
        {0.1, "0.1"},
        {0.05, "0.05"},
        {1.0 / 3, "0.3333333333333333"},  // 16 digits: 15 would not read back
        {0.1 + 0.2, "0.30000000000000004"},
        {1.2e-8, "1.2E-08"},
        {0, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortestNumberText(c.x), c.text);
    }
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    for (int i = 0; i < 20000; ++i) {
        const double x = fraction(random);
        ASSERT_EQ(ParseNumberText(ShortestNumberText(x)), x) << ShortestNumberText(x);
    }
}

TEST(NumberText, IgnoresACommaDecimalLocale)
{
    // The windows adopt the user's locale; under es_ES the C library writes "1,5".
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "es_ES.UTF-8"), nullptr)
        << "the es_ES.UTF-8 locale is missing (scripts/install-deps generates it)";
    const std::locale previousGlobal = std::locale::global(std::locale("es_ES.UTF-8"));

    EXPECT_EQ(NumberText(12.5), "12.5");
    EXPECT_EQ(NumberText(1.2e-8), "1.2E-08");
    EXPECT_EQ(ParseNumberText("0.0001"), 0.0001);
    EXPECT_FALSE(ParseNumberText("0,0001").has_value());
    EXPECT_EQ(PrintedText().Number(-0.25).Number(1.5).str(), "-0.25  1.5 ");
    EXPECT_EQ(ShortestSingleValue(12.5f), 12.5);
    EXPECT_EQ(FixedText(718.46, 1), "718.5");

    std::locale::global(previousGlobal);
    std::setlocale(LC_ALL, previous.c_str());
}

// The dock's fixed decimals: rounding at the last digit, padding, negative values rounding to
// zero, large magnitudes, and no text for what is not finite.
TEST(NumberText, FixedTextKeepsItsDecimals)
{
    struct Case {
        double x;
        int decimals;
        const char* text;
    };
    for (const Case& c :
         {Case{0.73126, 4, "0.7313"}, Case{0.5, 4, "0.5000"}, Case{-0.05, 4, "-0.0500"},
          Case{-0.00004, 4, "0.0000"}, Case{718.449, 1, "718.4"}, Case{2.5, 0, "2"},
          Case{1e20, 1, "100000000000000000000.0"}}) {
        EXPECT_EQ(FixedText(c.x, c.decimals), c.text) << c.x << " with " << c.decimals;
    }
    EXPECT_THROW(FixedText(std::nan(""), 4), tulmera::Error);
    EXPECT_THROW(FixedText(-HUGE_VAL, 1), tulmera::Error);
}

TEST(PrintedText, LaysOutSignPositionNumberAndTrailingSpace)
{
    PrintedText text;
    text.Number(400).Number(0.05).Number(0.01).EndLine();
    text.Text("N =").Number(1.5).EndLine();
    text.Text("Ca+b =").Number(15).Text(" u.g.cm-2").EndLine();
    text.Number(-75).Number(0).EndLine();
    EXPECT_EQ(text.str(), " 400  0.05  0.01 \r\nN = 1.5 \r\nCa+b = 15  u.g.cm-2\r\n-75  0 \r\n");
}

TEST(PrintedText, ANumberLineIsItsNumbersAndTheLineEnd)
{
    for (const std::initializer_list<double> numbers :
         {std::initializer_list<double>{400, 0.05, 6.52137583988269e-07},
          {2500, -0.0, -1e-300, 123456789012345.6},
          {7},
          {}}) {
        PrintedText itemByItem;
        for (const double x : numbers) itemByItem.Number(x);
        itemByItem.EndLine();
        PrintedText line;
        line.NumberLine(numbers);
        EXPECT_EQ(line.str(), itemByItem.str());
    }
    PrintedText refused;
    refused.Text("N =");
    EXPECT_THROW(refused.NumberLine({1, std::numeric_limits<double>::quiet_NaN()}), Error);
    EXPECT_EQ(refused.str(), "N =");
}

}  // namespace
}  // namespace tulmera::textio

namespace tulmera::textio {
namespace {

TEST(ShortestNumberText, FewestDigitsThatReadBackAndPlainWhenPossible)
{
    const struct {
        double x;
        const char* text;
    } cases[] = {
        {80.0, "80"},    {-80.0, "-80"},   {0.1, "0.1"}, {0.1 + 0.2, "0.30000000000000004"},
        {1e-5, "1E-05"}, {2500.0, "2500"}, {0.0, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortestNumberText(c.x), c.text) << c.text;
}

}  // namespace
}  // namespace tulmera::textio
