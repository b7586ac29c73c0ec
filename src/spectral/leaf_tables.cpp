#include "spectral/leaf_tables.h"

#include <algorithm>
#include <ranges>

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

static_assert(std::ranges::all_of(std::views::iota(0, kWavelengthCount), [](int i) {
    return kLeafConstants[static_cast<std::size_t>(i)].wavelengthNm == WavelengthNm(i);
}));

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
