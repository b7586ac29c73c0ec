#include "textio/field_reader.h"

#include <gtest/gtest.h>

#include "support/work_dir.h"
#include "textio/error.h"

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
