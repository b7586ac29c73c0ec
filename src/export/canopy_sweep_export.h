#pragma once
#include <optional>
#include <string>
#include <vector>

#include "export/workbook.h"
#include "textio/working_files.h"

namespace tulmera::exports {

// Lines of one block of "MVS.dat": the header line "P = v ", then one line per wavelength.
inline constexpr int kCanopySweepBlockLines = 422;

// The table of the canopy sweep's second chart: the swept parameter's short name and the
// quantity's name, and per swept value the quantity (undefined: empty).
struct QuantityTable {
    std::string parameterName;
    std::string quantityName;
    std::vector<double> values;
    std::vector<std::optional<double>> quantity;
};

// The canopy sweep export, a workbook of two sheets. Sheet 1 in the layout of the leaf sweep's
// sheet: one block of 422 rows per value from row 1 down without gaps, its header line as a
// text in column 1, then per grid wavelength the wavelength and the canopy reflectance in
// percent as single-precision numbers, read from "MVS.dat" of the current directory (or
// `readName` in its place; messages name "MVS.dat"). Sheet 2: row 1 the texts parameterName
// and quantityName, then one row per value: the value and the quantity as single-precision
// numbers, an undefined quantity left empty.
// Throws tulmera::Error when the table is empty or its two columns differ in length, or naming
// the file and the line when it is missing, malformed, or holds another number of blocks.
Workbook CanopySweepWorkbook(const QuantityTable& table,
                             const std::string& readName = kCanopySweepFile);

}  // namespace tulmera::exports
