#include "canopy/leaf_angles.h"

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

}  // namespace tulmera::canopy
