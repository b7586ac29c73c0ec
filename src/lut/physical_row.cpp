#include "lut/physical_row.h"

#include <string>

#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::lut {

void KeepPhysicalRow(spectral::Spectrum& reflectance)
{
    constexpr double kRounding = 1e-12;  // the canopy run's own margin
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        double& value = reflectance[static_cast<std::size_t>(i)];
        if (value >= 0.0 && value <= 1.0) continue;
        if (value < 0.0 && value > -kRounding) {
            value = 0.0;
        } else if (value > 1.0 && value < 1.0 + kRounding) {
            value = 1.0;
        } else {
            throw Error("Canopy model at " + std::to_string(spectral::WavelengthNm(i))
                        + " nm: the reflectance " + textio::NumberText(value)
                        + " lies outside 0 to 1");
        }
    }
}

}  // namespace tulmera::lut
