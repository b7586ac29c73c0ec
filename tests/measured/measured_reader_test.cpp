// The measured spectrum reader, its grid and its error against the model.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "measured/measured_grid.h"
#include "measured/measured_table.h"
#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::measured {
namespace {

// Rows of a file from 400 nm every `stepNm` nm to `lastNm`, each "w<sep>a<sep>b" where the
// values follow simple lines (a = 0.1 + w / 10000, b = 0.5 - w / 10000), as text.
std::string Rows(int firstNm, int lastNm, int stepNm, const std::string& separator,
                 double wavelengthScale = 1.0, double valueScale = 1.0, bool decimalComma = false)
{
    std::string text;
    for (int w = firstNm; w <= lastNm; w += stepNm) {
        const auto number = [&](double x) {
            std::string s = textio::NumberText(x);
            if (decimalComma) std::replace(s.begin(), s.end(), '.', ',');
            return s;
        };
        text += number(w * wavelengthScale) + separator + number((0.1 + w / 10000.0) * valueScale)
                + separator + number((0.5 - w / 10000.0) * valueScale) + "\n";
    }
    return text;
}

struct ReaderCase {
    const char* name;
    std::string text;
    ValueScale scale;
    std::string error;  // a part of the message, or empty when the file reads
    std::vector<std::string> names = {"1", "2"};
    bool micrometres = false, percent = false, decimalComma = false;
};

TEST(MeasuredReader, ReadsWhatSpectrometersAndSpreadsheetsWrite)
{
    const std::string csv = Rows(400, 2500, 10, ",");
    const ReaderCase cases[] = {
        {"comma", csv, ValueScale::Guess, ""},
        {"semicolon, header",
         "Wavelength;leaf A;leaf B\n" + Rows(400, 2500, 10, ";"),
         ValueScale::Guess,
         "",
         {"leaf A", "leaf B"}},
        {"tab, quoted header, CR LF",
         "\"nm\"\t\"s1\"\t\"s2\"\r\n" + Rows(400, 2500, 10, "\t"),
         ValueScale::Guess,
         "",
         {"s1", "s2"}},
        {"spaces, two header lines",
         "Instrument XY 200\nwl  a  b\n" + Rows(400, 2500, 10, "   "),
         ValueScale::Guess,
         "",
         {"a", "b"}},
        {"semicolon, decimal comma, micrometres",
         "um;x;y\n" + Rows(400, 2500, 10, ";", 0.001, 1.0, true),
         ValueScale::Guess,
         "",
         {"x", "y"},
         true,
         false,
         true},
        {"spaces, decimal comma",
         Rows(400, 2500, 10, " ", 1.0, 1.0, true),
         ValueScale::Guess,
         "",
         {"1", "2"},
         false,
         false,
         true},
        {"percent guessed",
         Rows(400, 2500, 10, ",", 1.0, 100.0),
         ValueScale::Guess,
         "",
         {"1", "2"},
         false,
         true},
        {"percent said",
         Rows(400, 2500, 10, ",", 1.0, 100.0),
         ValueScale::Percent,
         "",
         {"1", "2"},
         false,
         true},
        {"descending rows, sorted", "2500,0.35,0.25\n" + Rows(400, 2490, 10, ","),
         ValueScale::Guess, ""},
        {"UTF-8 mark, blank lines",
         "\xEF\xBB\xBFnm,a,b\n\n" + csv + "\n\n",
         ValueScale::Guess,
         "",
         {"a", "b"}},
        {"empty", "", ValueScale::Guess, "\"t.csv\" is empty"},
        {"blank", " \n\r\n", ValueScale::Guess, "\"t.csv\" is empty"},
        {"no numbers", "wavelength,reflectance\nabc,def\n", ValueScale::Guess,
         "no rows of numbers"},
        {"single column", "nm\n400\n405\n", ValueScale::Guess,
         "line 2: the first row of numbers "
         "has a single column"},
        {"ragged row", "400,0.1,0.2\n405,0.1\n", ValueScale::Guess,
         "line 2: it has 2 fields, but the first row of numbers has 3"},
        {"text in the data", csv + "end of data,,\n", ValueScale::Guess,
         "line 212: field 1 \"end of data\" is not a number"},
        {"decimal comma with comma delimiter", "400,0.1,0.2\n405,\"0,1\",0.2\n", ValueScale::Guess,
         "line 2: it has 4 fields, but the first row of numbers has 3"},
        {"NaN", "400,0.1,0.2\n405,nan,0.2\n", ValueScale::Guess,
         "line 2: field 2 \"nan\" is not a finite number"},
        {"infinity", "400;0,1;-Inf\n", ValueScale::Guess,
         "line 1: field 3 \"-Inf\" is not a finite number"},
        {"duplicate", "400,0.1,0.2\n410,0.1,0.2\n405,0.1,0.2\n410,0.1,0.2\n", ValueScale::Guess,
         "line 4: the wavelength 410 nm appears twice (also at line 2)"},
        {"outside the grid", "3000,0.1,0.2\n3100,0.1,0.2\n", ValueScale::Guess,
         "every wavelength outside 400 .. 2500 nm (they run from 3000 to 3100 nm)"},
        {"missing wavelength", "400,0.1,0.2\n,0.1,0.2\n", ValueScale::Guess,
         "line 2: the wavelength is missing"},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.error.empty()) {
            try {
                ParseMeasuredText("t.csv", c.text, c.scale);
                ADD_FAILURE() << "no error";
            } catch (const Error& e) {
                EXPECT_NE(std::string(e.what()).find("\"t.csv\""), std::string::npos) << e.what();
                EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
            }
            continue;
        }
        const MeasuredTable table = ParseMeasuredText("t.csv", c.text, c.scale);
        ASSERT_EQ(table.columns.size(), 2u);
        EXPECT_EQ(table.columns[0].name, c.names[0]);
        EXPECT_EQ(table.columns[1].name, c.names[1]);
        EXPECT_EQ(table.fromMicrometres, c.micrometres);
        EXPECT_EQ(table.fromPercent, c.percent);
        EXPECT_EQ(table.decimalComma, c.decimalComma);
        ASSERT_EQ(table.wavelengthNm.size(), 211u);
        for (std::size_t row = 0; row < table.wavelengthNm.size(); ++row) {
            const double w = 400.0 + 10.0 * static_cast<double>(row);
            ASSERT_NEAR(table.wavelengthNm[row], w, 1e-9) << row;
            ASSERT_NEAR(*table.columns[0].value[row], 0.1 + w / 10000.0, 1e-6) << row;
            ASSERT_NEAR(*table.columns[1].value[row], 0.5 - w / 10000.0, 1e-6) << row;
        }
    }
}

TEST(MeasuredReader, KeepsNoiseAndCountsItButRefusesWhatNoScaleExplains)
{
    // -0.01 and 1.03 are spectrometer noise: kept and counted. An empty field is missing.
    const MeasuredTable noisy =
        ParseMeasuredText("t.csv", "400,1.03,0.2\n405,-0.01,0.2\n405.5,,0.3\n");
    EXPECT_FALSE(noisy.fromPercent);
    EXPECT_EQ(noisy.columns[0].aboveOneCount, 1);
    EXPECT_EQ(noisy.columns[0].negativeCount, 1);
    EXPECT_FALSE(noisy.columns[0].value[2].has_value());
    EXPECT_EQ(noisy.columns[1].negativeCount + noisy.columns[1].aboveOneCount, 0);
    EXPECT_EQ(FindColumn(noisy, "2"), 1u);
    EXPECT_FALSE(FindColumn(noisy, "3").has_value());

    const struct {
        const char* label;
        const char* text;
        ValueScale scale;
        const char* message;
    } refused[] = {
        {"damaged first row: an empty field", "nm,a,b\n400,,0.04293\n405,0.1,0.2\n",
         ValueScale::Guess, "line 2: the first row of numbers is damaged: field 2 is empty"},
        {"damaged first row: a word", "400,0.0601,x\n405,0.1,0.2\n", ValueScale::Guess,
         "line 1: the first row of numbers is damaged: field 3 \"x\" is not a number"},
        {"1.2 alone is not percent", "400,1.2,0.2\n", ValueScale::Guess,
         "line 1: column 2 (\"1\") holds 1.2 as a fraction, outside -0.05 to 1.05"},
        {"a negative value", "nm;leaf\n400;0.1\n405;-0.5\n", ValueScale::Guess,
         "line 3: column 2 (\"leaf\") holds -0.5 as a fraction"},
        {"percent said to be fractions", "400,45,0.2\n", ValueScale::Fraction,
         "(its values were read as fractions)"},
        {"beyond 105 percent", "400,45,0.2\n405,110,3\n", ValueScale::Guess,
         "line 2: column 2 (\"1\") holds 1.1 as a fraction, outside -0.05 to 1.05 (its values "
         "were read as percent)"},
        {"a huge value", "400,1e300\n", ValueScale::Guess, "column 2 (\"1\") holds 1E+298"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.label);
        try {
            ParseMeasuredText("t.csv", c.text, c.scale);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("\"t.csv\""), std::string::npos) << e.what();
        }
    }
}

TEST(MeasuredReader, RefusesFilesItShouldNotReadWholeWithTheirReason)
{
    testing::ScopedWorkDir dir;
    const auto message = [](const std::string& name) {
        try {
            ReadMeasuredFile(name);
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_NE(message("none.csv")
                  .find("Cannot read the measured spectrum file \"none.csv\": No "
                        "such file"),
              std::string::npos);
    std::filesystem::create_directory("folder.csv");
    EXPECT_NE(message("folder.csv").find("\"folder.csv\": it is not a regular file"),
              std::string::npos);
    {
        std::ofstream("huge.csv").close();
    }
    std::filesystem::resize_file("huge.csv", kMaxMeasuredFileBytes + 1);  // sparse, quick
    EXPECT_NE(message("huge.csv").find("104857601 bytes, more than"), std::string::npos);
    {
        std::ofstream("good.csv") << "nm;a\r400;50\r500;60\r";
    }  // CR line ends, percent
    const MeasuredTable good = ReadMeasuredFile("good.csv");
    EXPECT_EQ(good.wavelengthNm, (std::vector<double>{400, 500}));
    EXPECT_EQ(*good.columns[0].value[1], 0.6);
    EXPECT_EQ(good.columns[0].name, "a");
}

TEST(MeasuredGrid, InterpolatesBetweenMeasuredNeighboursAndLeavesGapsOutside)
{
    // Samples at 401, 403 .. and 410.5: grid 400 is before the first, so no data; a missing
    // value at 415 is bridged from 410.5 to 420.
    const MeasuredTable table = ParseMeasuredText(
        "t.csv",
        "401,0.1,1\n403,0.3,1\n405,0.2,1\n410.5,0.4,1\n415,,1\n420,0.5,1\n425,0.1,1\n"
        "430,0.1,1\n435,0.1,1\n440,0.1,1\n445,0.1,1\n450,0.1,1\n452,0.9,1\n");
    const MeasuredSpectrum s = SpectrumOnGrid(table, 0);
    EXPECT_FALSE(s.value[0].has_value());                  // 400, before 401
    EXPECT_EQ(*s.value[1], 0.2);                           // 405, a sample
    EXPECT_DOUBLE_EQ(*s.value[2], 0.2 + 0.2 * 5.0 / 5.5);  // 410, between 405 and 410.5
    EXPECT_DOUBLE_EQ(*s.value[3], 0.4 + 0.1 * 4.5 / 9.5);  // 415 between 410.5 and 420
    EXPECT_EQ(*s.value[4], 0.5);                           // 420
    EXPECT_EQ(*s.value[10], 0.1);                          // 450
    EXPECT_FALSE(s.value[11].has_value());                 // 455, after 452
    EXPECT_EQ(DataCount(s.value), kMinGridPoints);         // 405 .. 450
    // One point fewer is too few.
    const MeasuredTable short_ = ParseMeasuredText("t.csv", "405,0.1\n444,0.1\n445,0.2\n");
    try {
        SpectrumOnGrid(short_, 0);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "The measured spectrum \"1\" of \"t.csv\" covers 9 wavelengths of "
                     "the 5 nm grid from 400 to 2500 nm; at least 10 are needed.");
    }
}

TEST(MeasuredGrid, RmseCoversOnlyMeasuredPointsAndMayLeaveOutTheWaterBands)
{
    spectral::Spectrum model{};
    GridValues measured;
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const int nm = spectral::WavelengthNm(i);
        model[static_cast<std::size_t>(i)] = 0.3;
        // Off by 0.01 outside the water bands, by 0.05 inside, measured from 1000 nm on only.
        if (nm >= 1000) measured[static_cast<std::size_t>(i)] = InWaterBand(nm) ? 0.35 : 0.31;
    }
    EXPECT_TRUE(InWaterBand(1340) && InWaterBand(1450) && InWaterBand(1800) && InWaterBand(1960));
    EXPECT_FALSE(InWaterBand(1335) || InWaterBand(1455) || InWaterBand(1795) || InWaterBand(1965));
    EXPECT_NEAR(*RmsePercent(model, measured, true), 1.0, 1e-12);
    // 301 points from 1000 nm: 23 + 33 = 56 in the water bands.
    EXPECT_NEAR(*RmsePercent(model, measured, false),
                std::sqrt((245.0 * 1.0 + 56.0 * 25.0) / 301.0), 1e-12);
    GridValues onlyWater;
    onlyWater[200] = 0.3;  // 1400 nm
    EXPECT_FALSE(RmsePercent(model, onlyWater, true).has_value());
    EXPECT_EQ(*RmsePercent(model, onlyWater, false), 0.0);
    EXPECT_FALSE(RmsePercent(model, GridValues{}, false).has_value());
}

}  // namespace
}  // namespace tulmera::measured
