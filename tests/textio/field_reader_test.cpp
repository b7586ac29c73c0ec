#include "textio/field_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::textio {
namespace {

// The message of the error that `read` throws, or "" when it throws nothing.
template <typename Read>
std::string ErrorOf(Read read)
{
    try {
        read();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

TEST(FieldReader, ReadsThePrintedLayoutAcrossLines)
{
    FieldReader reader("VP.dat", " 400  0.05  6.5E-07 \r\n 405  0.06  -0.01 \r\n");
    EXPECT_EQ(reader.ReadWholeNumber("wavelength"), 400);
    EXPECT_EQ(reader.ReadNumber("reflectance"), 0.05);
    EXPECT_EQ(reader.ReadNumber("transmittance"), 6.5e-7);
    EXPECT_EQ(reader.ReadNumber("wavelength"), 405);
    EXPECT_EQ(reader.ReadNumber("reflectance"), 0.06);
    EXPECT_EQ(reader.ReadNumber("transmittance"), -0.01);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(FieldReader, ReadsCommaSeparatedListsWithAnyLineEnd)
{
    FieldReader reader("VS.dat", "400,0.0338\r\n405,0.0346\n410 , 0.0353\r415\t0.0360");
    for (const auto& [wavelength, value] :
         {std::pair{400, 0.0338}, {405, 0.0346}, {410, 0.0353}, {415, 0.0360}}) {
        EXPECT_EQ(reader.ReadWholeNumber("wavelength"), wavelength);
        EXPECT_EQ(reader.ReadNumber("reflectance"), value);
    }
    EXPECT_TRUE(reader.AtEnd());
}

TEST(FieldReader, ReadsTextFieldsTrimmedUpToACommaOrTheLineEnd)
{
    FieldReader reader("MVP.dat",
                       "N = 1.5 \r\nCa+b = 15  u.g.cm-2\r\n  first , second\r\n"
                       "Lon.onda    Reflectividad     Transmisividad\r\n 400  0.05  0.01 \r\n");
    EXPECT_EQ(reader.ReadText("header"), "N = 1.5");
    EXPECT_EQ(reader.ReadText("header"), "Ca+b = 15  u.g.cm-2");
    EXPECT_EQ(reader.ReadText("header"), "first");
    EXPECT_EQ(reader.ReadText("header"), "second");
    EXPECT_EQ(reader.ReadText("header"), "Lon.onda    Reflectividad     Transmisividad");
    EXPECT_EQ(reader.ReadNumber("wavelength"), 400);
}

TEST(FieldReader, NamesFileLineAndFieldOfWhatIsNotANumber)
{
    FieldReader reader("VP.dat", " 400  0.05  0.01 \r\n 405  0.06x  0.01 \r\n");
    for (int i = 0; i < 4; ++i) reader.ReadNumber("field");
    const std::string message = ErrorOf([&] { reader.ReadNumber("leaf reflectance"); });
    EXPECT_NE(message.find("\"VP.dat\", line 2, field 2 (leaf reflectance)"), std::string::npos)
        << message;
    EXPECT_NE(message.find("\"0.06x\" is not a number"), std::string::npos) << message;
}

TEST(FieldReader, RejectsEmptyFieldsAndEarlyEnds)
{
    FieldReader empty("VS.dat", "400,,0.5\r\n");
    empty.ReadNumber("wavelength");
    EXPECT_NE(ErrorOf([&] { empty.ReadNumber("reflectance"); }).find("field is empty"),
              std::string::npos);

    FieldReader shortFile("VP.dat", " 400  0.05 \r\n");
    shortFile.ReadNumber("wavelength");
    shortFile.ReadNumber("reflectance");
    const std::string message = ErrorOf([&] { shortFile.ReadNumber("transmittance"); });
    EXPECT_NE(message.find("line 2, field 1 (transmittance): the file ends"), std::string::npos)
        << message;

    FieldReader noText("MVP.dat", "");
    EXPECT_NE(ErrorOf([&] { noText.ReadText("header"); }).find("the file ends"), std::string::npos);
}

TEST(FieldReader, WavelengthsMustBeWholeSixteenBitNumbers)
{
    for (const char* text : {"400.5", "40000", "-40000", "1E+10"}) {
        FieldReader reader("VS.dat", std::string(text) + ",0.5\r\n");
        const std::string message = ErrorOf([&] { reader.ReadWholeNumber("wavelength"); });
        EXPECT_NE(message.find("line 1, field 1 (wavelength)"), std::string::npos) << message;
    }
    FieldReader reader("VS.dat", "\r\n\r\n-32768");
    EXPECT_EQ(reader.ReadWholeNumber("wavelength"), -32768);
}

// Fields are read through a shortcut when they look like plain numbers; whatever the field,
// the value must be bit for bit and the error word for word what ParseNumberText makes of it.
TEST(FieldReader, ReadsEveryFieldAsTheNumberTextInverseDoes)
{
    std::vector<std::string> fields = {
        "400",
        "0.05",
        "-0.25",
        ".5",
        "-.5",
        "5.",
        "+5",
        "+-5",
        "-",
        ".",
        "-.",
        "1e5",
        "1E+05",
        "1e-400",
        "1e400",
        "1e",
        "1e+",
        "1.5e",
        "12abc",
        "0x10",
        "inf",
        "-inf",
        "nan",
        "-nan",
        "infinity",
        "--1",
        "1-",
        "1..2",
        "-0",
        "00012",
        "1e0001",
        "e5",
        ".e5",
        "1.2.3",
        "\x01\x02",
        "9e307",
        "4.9406564584124654e-324",
        "1.7976931348623159e308",
        "0.0577367154347588",
        "6.52137583988269E-07",
    };
    std::mt19937_64 random(4242);
    for (int i = 0; i < 2000; ++i) {
        const double x = std::bit_cast<double>(random());
        if (!std::isfinite(x)) continue;
        fields.push_back(NumberText(x));
        fields.push_back(NumberText(x, kSingleDigits));
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", x);
        fields.push_back(text);
    }
    for (const std::string& field : fields) {
        for (const std::string& after :
             {std::string(",7\r\n"), std::string(" 7"), std::string("\t7"), std::string("\r7"),
              std::string("\n7"), std::string()}) {
            FieldReader reader("VS.dat", "  " + field + after);
            const std::optional<double> expected = ParseNumberText(field);
            if (expected) {
                const double value = reader.ReadNumber("reflectance");
                ASSERT_EQ(std::bit_cast<std::uint64_t>(value),
                          std::bit_cast<std::uint64_t>(*expected))
                    << field;
                if (!after.empty()) {
                    ASSERT_EQ(reader.ReadNumber("next"), 7.0) << field;
                }
                ASSERT_TRUE(reader.AtEnd()) << field;
            } else {
                std::string shown;
                for (const char c : field) shown += (c >= 0x20 && c < 0x7f) ? c : '?';
                ASSERT_EQ(
                    ErrorOf([&] { reader.ReadNumber("reflectance"); }),
                    "\"VS.dat\", line 1, field 1 (reflectance): \"" + shown + "\" is not a number.")
                    << field;
            }
        }
    }
}

TEST(FieldReader, QuotesBinaryGarbageSafely)
{
    FieldReader reader("VP.dat", std::string("\x01\x02\xff\x7f", 4) + std::string(200, 'x'));
    const std::string message = ErrorOf([&] { reader.ReadNumber("wavelength"); });
    EXPECT_NE(message.find("\"????xxx"), std::string::npos) << message;
    EXPECT_LT(message.size(), 160u);
}

TEST(FieldReader, OpenNamesAMissingFile)
{
    testing::ScopedWorkDir dir;
    const std::string message = ErrorOf([] { FieldReader::Open("VP.dat"); });
    EXPECT_NE(message.find("\"VP.dat\""), std::string::npos) << message;
    EXPECT_NE(message.find("No such file"), std::string::npos) << message;
}

}  // namespace
}  // namespace tulmera::textio
