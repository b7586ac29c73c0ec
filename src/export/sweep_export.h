#pragma once
#include <string>

#include "export/output_texts.h"
#include "export/workbook.h"
#include "textio/field_reader.h"
#include "textio/working_files.h"

namespace tulmera::exports {

// Lines of one block of the sweep file: five header lines, then one line per grid wavelength.
inline constexpr int kSweepHeaderLines = 5;
inline constexpr int kSweepBlockLines = 426;

// The sweep export, a workbook of one sheet: `valueCount` blocks of 426 rows from row 1 down
// without gaps, block j (from 1) starting at row 426 * (j - 1) + 1: its five header lines as
// texts in column 1 (the units of its Cab and Cm lines and its column titles in the words of
// `texts`; the defaults keep them as the file writes them), then per grid wavelength the
// wavelength, the leaf reflectance and the leaf transmittance in percent as single-precision
// numbers. Reads "MVP.dat" of the current directory whole, or `readName` in its place (a sweep's
// staged copy; messages name "MVP.dat"). Throws tulmera::Error when `valueCount` is below 1, or
// naming the file and the line when the file is missing, malformed, or holds fewer or more than
// `valueCount` blocks.
Workbook SweepWorkbook(int valueCount, const std::string& readName = kSweepFile,
                       const SweepHeaderTexts& texts = {});

// The same from the content of "MVP.dat" in `file`.
Workbook SweepWorkbook(int valueCount, textio::FieldReader file,
                       const SweepHeaderTexts& texts = {});

}  // namespace tulmera::exports
