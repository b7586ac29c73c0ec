#pragma once
#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "plot/chart_surface.h"

// The spectral bands of the seven sensors that the main charts can show behind their curves.
// Each band is drawn as a pale stripe between its lower and upper wavelength.
namespace tulmera::plot {

struct Band {
    int lowerNm;
    int upperNm;
};

struct SensorBands {
    Rgb stripeColor;
    std::span<const Band> bands;  // increasing wavelength; bands may touch, never overlap
};

inline constexpr Rgb kLilacStripe{250, 230, 255};
inline constexpr Rgb kPaleLilacStripe{250, 240, 255};

// clang-format off
inline constexpr std::array<Band, 2> kIrsWisBands = {{{620, 680}, {770, 860}}};
inline constexpr std::array<Band, 3> kNoaaAvhrrBands = {{{580, 680}, {720, 1100}, {1580, 1640}}};
inline constexpr std::array<Band, 6> kLandsatTmBands = {{
    {450, 520}, {520, 600}, {630, 690}, {760, 900}, {1550, 1750}, {2080, 2350}}};
inline constexpr std::array<Band, 4> kSpotVegetationBands = {{
    {430, 470}, {610, 680}, {780, 890}, {1580, 1750}}};
inline constexpr std::array<Band, 4> kIkonosBands = {{
    {450, 530}, {530, 610}, {640, 720}, {740, 880}}};
inline constexpr std::array<Band, 14> kTerraModisBands = {{
    {405, 420}, {438, 448}, {483, 493}, {526, 536}, {546, 556}, {662, 672}, {673, 683},
    {743, 753}, {862, 877}, {890, 920}, {931, 941}, {1230, 1250}, {1628, 1652}, {2105, 2155}}};
inline constexpr std::array<Band, 9> kTerraAsterBands = {{
    {520, 600}, {630, 690}, {760, 860}, {1600, 1700}, {2145, 2185}, {2185, 2225}, {2235, 2285},
    {2295, 2365}, {2365, 2430}}};

inline constexpr SensorBands kIrsWis{kLilacStripe, kIrsWisBands};
inline constexpr SensorBands kNoaaAvhrr{kLilacStripe, kNoaaAvhrrBands};
inline constexpr SensorBands kLandsatTm{kPaleLilacStripe, kLandsatTmBands};
inline constexpr SensorBands kSpotVegetation{kLilacStripe, kSpotVegetationBands};
inline constexpr SensorBands kIkonos{kLilacStripe, kIkonosBands};
inline constexpr SensorBands kTerraModis{kLilacStripe, kTerraModisBands};
inline constexpr SensorBands kTerraAster{kPaleLilacStripe, kTerraAsterBands};
// clang-format on

// Every distinct band edge of `bands` (a shared edge once), in increasing order.
constexpr std::vector<int> DistinctEdges(std::span<const Band> bands)
{
    std::vector<int> edges;
    for (const Band& band : bands) {
        edges.push_back(band.lowerNm);
        edges.push_back(band.upperNm);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

}  // namespace tulmera::plot
