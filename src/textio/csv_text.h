#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "textio/number_text.h"

namespace tulmera::textio {

// Builds the text of a CSV file for other programs (spreadsheets, pandas, R): fields separated
// by commas, rows ending in LF, numbers with a point as decimal separator whatever the locale.
// Metadata goes before the header in comment lines starting with "#", in one of two styles:
// one "# name = value" line per setting (Setting), or all settings on one line after a mark,
// "# mark; name=value; name=value" (SettingsLine), the look-up tables' form. Fields are added
// left to right and EndRow() closes each row; the separating commas come by themselves.
class CsvText {
public:
    // A comment line "# text".
    CsvText& Comment(std::string_view text);

    // A metadata line "# name = value"; a number in its shortest text (ShortestNumberText).
    // Throws tulmera::Error for a non-finite number.
    CsvText& Setting(std::string_view name, std::string_view value);
    CsvText& Setting(std::string_view name, double value);

    // All settings on one comment line: "# " + mark, then "; name=value" for each.
    CsvText& SettingsLine(std::string_view mark,
                          const std::vector<std::pair<std::string, std::string>>& settings);

    // A header row given whole, its names already joined by commas ("wavelength_nm,value").
    // A header built from names that may need quotes is a row of Text fields instead.
    CsvText& Header(std::string_view names);

    // A text field, written as it stands unless it holds a comma, a quote or a line end: then
    // in quotes, each quote doubled ("a,b" gives "\"a,b\"").
    CsvText& Text(std::string_view field);

    // A number field in its shortest text that reads back exactly (ShortestNumberText). Throws
    // tulmera::Error for a non-finite number and then adds nothing.
    CsvText& Number(double x);

    // A number field rounded to `significantDigits` (NumberText). Throws as Number.
    CsvText& Rounded(double x, int significantDigits = kDoubleDigits);

    // A whole number field: its decimal digits.
    CsvText& Whole(std::int64_t n);

    // An empty field: a missing value, not a zero.
    CsvText& Empty();

    // Ends the current row.
    CsvText& EndRow();

    void Reserve(std::size_t bytes) { text_.reserve(bytes); }
    const std::string& str() const { return text_; }
    // Hands the text over and starts afresh (for a file written in parts).
    std::string Take();

private:
    void Separate();  // the comma before every field but a row's first

    std::string text_;
    bool rowStarted_ = false;
};

}  // namespace tulmera::textio
