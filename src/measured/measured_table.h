#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Measured spectra as spectrometer software and spreadsheets write them: delimited text, the
// first column the wavelength, each further column one spectrum.
namespace tulmera::measured {

// How the values of a file are read: guessed (percent when any value exceeds 1.5, else
// fractions), or as the user says.
enum class ValueScale { Guess, Fraction, Percent };

// Files larger than this are refused before anything is read.
inline constexpr std::uintmax_t kMaxMeasuredFileBytes = 100u * 1024u * 1024u;

// One spectrum column of a file.
struct MeasuredColumn {
    std::string name;                          // header name, or its number ("1" is the first)
    std::vector<std::optional<double>> value;  // fraction per row; nothing for an empty field
    int negativeCount = 0;                     // values below 0 (spectrometer noise)
    int aboveOneCount = 0;                     // values above 1, after any percent conversion
};

// A whole measured file, rows sorted by wavelength.
struct MeasuredTable {
    std::string fileName;
    std::vector<std::string> headerLines;  // the lines before the first row of numbers
    std::vector<double> wavelengthNm;      // strictly increasing
    std::vector<MeasuredColumn> columns;   // at least one
    char delimiter = ',';                  // ',', ';', '\t' or ' ' (runs of blanks)
    bool decimalComma = false;             // some number was written with a decimal comma
    bool fromMicrometres = false;          // every wavelength was below 3: µm, converted to nm
    bool fromPercent = false;              // values were percent, divided by 100
    bool sorted = false;                   // the rows were not in increasing order in the file
};

// Reads a measured file. Delimiters: tab, semicolon, comma, or runs of spaces, chosen on the
// first row of numbers; a decimal comma is accepted when the delimiter is not a comma. Lines
// before that row are header lines, the last one giving the column names when it has as many
// fields as the rows; blank lines are skipped; CR LF, LF and a UTF-8 byte order mark are
// accepted. An empty field is a missing value of that column. Wavelengths in µm (all below 3)
// become nm; values become fractions per `scale`; rows are sorted by wavelength.
// Throws tulmera::Error naming the file (and the line where one applies) for: a missing,
// unreadable, non-regular or too large (kMaxMeasuredFileBytes) file, an empty file, no rows
// of numbers, a single column, a row whose field count differs from the first, a field that
// is not a number, NaN or infinity, duplicated wavelengths, and wavelengths all outside
// 400 .. 2500 nm.
MeasuredTable ReadMeasuredFile(const std::string& fileName, ValueScale scale = ValueScale::Guess);

// The same from text already in memory; `fileName` is only used in messages.
MeasuredTable ParseMeasuredText(const std::string& fileName, std::string_view text,
                                ValueScale scale = ValueScale::Guess);

// The column of `table` called `name`, or numbered so (1 is the first spectrum column).
std::optional<std::size_t> FindColumn(const MeasuredTable& table, std::string_view name);

}  // namespace tulmera::measured
