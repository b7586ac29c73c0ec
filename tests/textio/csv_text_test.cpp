#include "textio/csv_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "textio/error.h"

namespace tulmera::textio {
namespace {

// What other programs' CSV readers take for one field: quotes only where a separator, a quote
// or a line end would otherwise split or end it.
TEST(CsvText, QuotesATextFieldOnlyWhenItMust)
{
    struct Case {
        const char* name;
        const char* field;
        const char* written;
    };
    for (const Case& c :
         {Case{"plain", "sample 1", "sample 1"}, Case{"empty", "", ""},
          Case{"comma", "a,b", "\"a,b\""}, Case{"quote", "12\" leaf", "\"12\"\" leaf\""},
          Case{"line feed", "a\nb", "\"a\nb\""}, Case{"carriage return", "a\rb", "\"a\rb\""},
          Case{"semicolon stays", "a;b", "a;b"}}) {
        EXPECT_EQ(CsvText().Text(c.field).EndRow().str(), std::string(c.written) + "\n") << c.name;
    }
}

TEST(CsvText, SeparatesFieldsAndKeepsMissingValuesEmpty)
{
    CsvText csv;
    csv.Header("wavelength_nm,value,other");
    csv.Whole(400).Number(0.05).Empty().EndRow();
    csv.Empty().Empty().Rounded(1.0 / 3).EndRow();
    csv.Whole(-7).Number(60).Number(1e-5).EndRow();
    EXPECT_EQ(csv.str(),
              "wavelength_nm,value,other\n400,0.05,\n,,0.333333333333333\n-7,60,1E-05\n");
}

TEST(CsvText, WritesBothMetadataStylesBeforeTheHeader)
{
    CsvText csv;
    csv.Comment("Tulmera 1.0, leaf spectra").Setting("N", 1.5).Setting("soil", "dry");
    csv.SettingsLine("table 1", {{"samples", "10"}, {"LAI", "0:8"}});
    EXPECT_EQ(csv.str(),
              "# Tulmera 1.0, leaf spectra\n# N = 1.5\n# soil = dry\n"
              "# table 1; samples=10; LAI=0:8\n");
}

TEST(CsvText, RefusesNonFiniteNumbersWithoutAddingAField)
{
    CsvText csv;
    csv.Whole(1);
    EXPECT_THROW(csv.Number(std::numeric_limits<double>::quiet_NaN()), Error);
    EXPECT_THROW(csv.Rounded(HUGE_VAL), Error);
    EXPECT_THROW(csv.Setting("x", -HUGE_VAL), Error);
    csv.Whole(2).EndRow();
    EXPECT_EQ(csv.str(), "1,2\n");
}

TEST(CsvText, TakeStartsAFreshText)
{
    CsvText csv;
    csv.Whole(1).Whole(2);
    EXPECT_EQ(csv.Take(), "1,2");
    csv.Whole(3).EndRow();  // a new row: no separator carried over
    EXPECT_EQ(csv.str(), "3\n");
}

}  // namespace
}  // namespace tulmera::textio
