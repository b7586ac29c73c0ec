#include "spectral/soil_library.h"

#include <array>

#include "textio/ascii_case.h"

namespace tulmera::spectral {
namespace {

struct SoilRow {
    int wavelengthNm;
    double s1, s2, s3, s4;
};

// clang-format off
constexpr std::array<SoilRow, kWavelengthCount> kSoilRows = {{
#include "soils.inc"
}};
// clang-format on

// Row i holds the grid's wavelength i. A plain loop: clang 14, which builds the fuzz targets,
// cannot iterate libstdc++ 12's std::views::iota.
static_assert([] {
    for (int i = 0; i < kWavelengthCount; ++i) {
        if (kSoilRows[static_cast<std::size_t>(i)].wavelengthNm != WavelengthNm(i)) return false;
    }
    return true;
}());

constexpr std::array<Spectrum, 4> BuildSoilSpectra()
{
    std::array<Spectrum, 4> soils{};
    for (std::size_t i = 0; i < kSoilRows.size(); ++i) {
        soils[0][i] = kSoilRows[i].s1;
        soils[1][i] = kSoilRows[i].s2;
        soils[2][i] = kSoilRows[i].s3;
        soils[3][i] = kSoilRows[i].s4;
    }
    return soils;
}

constexpr std::array<Spectrum, 4> kSoilSpectra = BuildSoilSpectra();

}  // namespace

const Spectrum& SoilSpectrum(int entry) { return kSoilSpectra.at(static_cast<std::size_t>(entry)); }

std::optional<std::size_t> FindSoil(std::string_view name)
{
    for (std::size_t entry = 0; entry < kSoilKeys.size(); ++entry) {
        const std::string_view key = kSoilKeys[entry].substr(0, kSoilKeys[entry].find(':'));
        if (name == kSoilKeys[entry] || textio::EqualIgnoringAsciiCase(name, key)) return entry;
    }
    return std::nullopt;
}

bool LoadSoil(std::string_view soilText, Spectrum& soilRefl)
{
    for (std::size_t entry = 0; entry < kSoilKeys.size(); ++entry) {
        if (soilText == kSoilKeys[entry]) {
            soilRefl = kSoilSpectra[entry];
            return true;
        }
    }
    return false;
}

}  // namespace tulmera::spectral
