#include "spectral/leaf_tables.h"

#include <array>

namespace tulmera::spectral {
namespace {

struct LeafConstantsRow {
    int wavelengthNm;
    double refIndex, kBase, kCab, kCw, kCm;
};

// clang-format off
constexpr std::array<LeafConstantsRow, kWavelengthCount> kLeafConstants = {{
#include "leaf_constants.inc"
}};
// clang-format on

// Row i holds the grid's wavelength i. A plain loop: clang 14, which builds the fuzz targets,
// cannot iterate libstdc++ 12's std::views::iota.
static_assert([] {
    for (int i = 0; i < kWavelengthCount; ++i) {
        if (kLeafConstants[static_cast<std::size_t>(i)].wavelengthNm != WavelengthNm(i)) {
            return false;
        }
    }
    return true;
}());

constexpr LeafTables BuildLeafTables()
{
    LeafTables t{};
    // The wavelength column is the grid itself: a whole-number counter from 400 by 5.
    int wavelengthNm = kFirstWavelengthNm;
    for (std::size_t i = 0; i < kLeafConstants.size(); ++i) {
        const LeafConstantsRow& row = kLeafConstants[i];
        t.wavelength[i] = wavelengthNm;
        t.refIndex[i] = row.refIndex;
        t.kBase[i] = row.kBase;
        t.kCab[i] = row.kCab;
        t.kCw[i] = row.kCw;
        t.kCm[i] = row.kCm;
        wavelengthNm += kWavelengthStepNm;
    }
    return t;
}

constexpr LeafTables kLeafTables = BuildLeafTables();

}  // namespace

const LeafTables& LoadLeafTables() { return kLeafTables; }

}  // namespace tulmera::spectral
