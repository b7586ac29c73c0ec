// The measured-spectrum reader on arbitrary text, in memory: it either refuses the text with
// tulmera::Error or gives a table every later step can trust.
#include <cmath>
#include <string>

#include "fuzz/fuzz_entries.h"
#include "measured/measured_table.h"
#include "textio/error.h"

namespace tulmera::fuzz {

void FuzzMeasuredReader(std::string_view bytes)
{
    using measured::ValueScale;
    for (const ValueScale scale : {ValueScale::Guess, ValueScale::Fraction, ValueScale::Percent}) {
        measured::MeasuredTable table;
        try {
            table = measured::ParseMeasuredText("fuzz.csv", bytes, scale);
        } catch (const Error&) {
            continue;  // refused, as its contract allows
        }
        const std::vector<double>& nm = table.wavelengthNm;
        if (nm.empty() || table.columns.empty()) throw FuzzFailure("a table without rows");
        for (std::size_t i = 0; i < nm.size(); ++i) {
            if (!std::isfinite(nm[i]) || (i > 0 && !(nm[i - 1] < nm[i]))) {
                throw FuzzFailure("wavelengths not finite and strictly increasing");
            }
        }
        for (const measured::MeasuredColumn& column : table.columns) {
            if (column.value.size() != nm.size()) throw FuzzFailure("a column of another length");
            for (const std::optional<double>& value : column.value) {
                if (value && !(*value >= -0.05 && *value <= 1.05)) {
                    throw FuzzFailure("a value outside -0.05 to 1.05 was accepted: "
                                      + std::to_string(*value));
                }
            }
        }
    }
}

}  // namespace tulmera::fuzz
