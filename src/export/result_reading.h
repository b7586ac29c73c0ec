#pragma once
#include <string_view>

#include "textio/field_reader.h"

// Reading the result files for an export: every value is checked as it is read, so that a
// missing, short or malformed file stops the export before the spreadsheet is started.
namespace tulmera::exports {

// Reads the wavelength of a data line, which must be the grid's wavelength of `gridIndex`
// (a file whose lines are shifted or that holds another grid is not exported). `line` is the
// line of the file, for messages. Throws tulmera::Error naming the file and the line.
int ReadGridWavelength(textio::FieldReader& file, int gridIndex, int line);

// Reads a fraction and returns it in percent as the exports send it: converted to single
// precision, then multiplied by 100 in single precision. Throws tulmera::Error naming the
// file, the line and `what` when the field is no number or the percent lies beyond the range
// of single precision.
float ReadSinglePercent(textio::FieldReader& file, std::string_view what, int line);

// Throws tulmera::Error when anything but blanks and line ends follows the last of the
// `expected` content (for example "421 lines").
void ExpectFileEnd(const textio::FieldReader& file, std::string_view expected);

}  // namespace tulmera::exports
