#include "canopy/leaf_angles.h"

#include "textio/ascii_case.h"

namespace tulmera::canopy {

bool SelectLeafAngles(std::string_view name, LeafAngleDistribution& lidf)
{
    for (std::size_t entry = 0; entry < kLeafArchitectureNames.size(); ++entry) {
        if (name == kLeafArchitectureNames[entry]) {
            lidf = kLeafAngleDistributions[entry];
            return true;
        }
    }
    return false;
}

std::optional<std::size_t> FindLeafArchitecture(std::string_view name)
{
    for (std::size_t i = 0; i < kLeafArchitectureNames.size(); ++i) {
        if (name == kLeafArchitectureNames[i]
            || textio::EqualIgnoringAsciiCase(name, kEnglishLeafArchitectureNames[i])) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace tulmera::canopy
