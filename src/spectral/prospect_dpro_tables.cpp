#include "spectral/prospect_dpro_tables.h"

#include <array>

namespace tulmera::spectral {
namespace {

struct ProspectDproRow {
    int wavelengthNm;
    double refIndex, kCab, kCar, kAnth, kBrown, kCw, kCm, kProt, kCBC;
};

// clang-format off
constexpr std::array<ProspectDproRow, kWavelengthCount> kProspectDproConstants = {{
#include "prospect_dpro_5nm.inc"
}};
// clang-format on

// Row i holds the grid's wavelength i (a plain loop, as in leaf_tables.cpp).
static_assert([] {
    for (int i = 0; i < kWavelengthCount; ++i) {
        if (kProspectDproConstants[static_cast<std::size_t>(i)].wavelengthNm != WavelengthNm(i)) {
            return false;
        }
    }
    return true;
}());

constexpr ProspectDproTables BuildProspectDproTables()
{
    ProspectDproTables t{};
    for (std::size_t i = 0; i < kProspectDproConstants.size(); ++i) {
        const ProspectDproRow& row = kProspectDproConstants[i];
        t.wavelength[i] = row.wavelengthNm;
        t.refIndex[i] = row.refIndex;
        t.kCab[i] = row.kCab;
        t.kCar[i] = row.kCar;
        t.kAnth[i] = row.kAnth;
        t.kBrown[i] = row.kBrown;
        t.kCw[i] = row.kCw;
        t.kCm[i] = row.kCm;
        t.kProt[i] = row.kProt;
        t.kCBC[i] = row.kCBC;
    }
    return t;
}

constexpr ProspectDproTables kProspectDproTables = BuildProspectDproTables();

}  // namespace

const ProspectDproTables& LoadProspectDproTables() { return kProspectDproTables; }

}  // namespace tulmera::spectral
