#include "export/result_reading.h"

#include <cmath>
#include <string>

#include "spectral/grid.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::exports {
namespace {

std::string Where(const textio::FieldReader& file, int line)
{
    return "\"" + file.fileName() + "\", line " + std::to_string(line);
}

}  // namespace

int ReadGridWavelength(textio::FieldReader& file, int gridIndex, int line)
{
    const int wavelength = file.ReadWholeNumber("wavelength");
    const int expected = spectral::WavelengthNm(gridIndex);
    if (wavelength != expected) {
        throw Error(Where(file, line) + " (wavelength): " + std::to_string(wavelength)
                    + " nm stands where the grid has " + std::to_string(expected)
                    + " nm; the file does not hold one value per grid wavelength.");
    }
    return wavelength;
}

float ReadSinglePercent(textio::FieldReader& file, std::string_view what, int line)
{
    const double value = file.ReadNumber(what);
    const float single = static_cast<float>(value);
    const float percent = single * 100.0f;
    if (!std::isfinite(percent)) {
        throw Error(Where(file, line) + " (" + std::string(what) + "): " + textio::NumberText(value)
                    + " lies beyond the range of a single-precision number.");
    }
    return percent;
}

void ExpectFileEnd(const textio::FieldReader& file, std::string_view expected)
{
    if (!file.AtEnd()) {
        throw Error("\"" + file.fileName() + "\" holds more than " + std::string(expected)
                    + "; it does not belong to the results being exported.");
    }
}

}  // namespace tulmera::exports
