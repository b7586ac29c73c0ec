#pragma once
#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <vector>

// The spectral bands of the nine sensors the program knows, one table per sensor: the chart
// overlays draw them and the band values average the spectra over them. Limits are whole
// nanometres, both inclusive.
namespace tulmera::sensor {

struct Band {
    int lowerNm;
    int upperNm;
};

// One sensor: its name (the chart menu's caption without "Bandas "), its bands in table order
// (increasing lower limit; the first seven sensors' bands may touch but never overlap, the
// last two's may overlap) and the bands' names in that order. The names are the sensor's own
// numbering, which skips the bands outside 400 .. 2500 nm or not simulated here: Landsat-TM's
// band 6 is thermal, so its 2080-2350 nm band is "7"; MODIS lists its land and ocean bands
// out of wavelength order.
struct Sensor {
    std::string_view name;
    std::span<const Band> bands;
    std::span<const std::string_view> bandNames;
};

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

// The sensors' own band numbers, in table order.
inline constexpr std::array<std::string_view, 2> kIrsWisBandNames = {"3", "4"};
inline constexpr std::array<std::string_view, 3> kNoaaAvhrrBandNames = {"1", "2", "3A"};
inline constexpr std::array<std::string_view, 6> kLandsatTmBandNames = {
    "1", "2", "3", "4", "5", "7"};
inline constexpr std::array<std::string_view, 4> kSpotVegetationBandNames = {
    "B0", "B2", "B3", "MIR"};
inline constexpr std::array<std::string_view, 4> kIkonosBandNames = {"1", "2", "3", "4"};
inline constexpr std::array<std::string_view, 14> kTerraModisBandNames = {
    "8", "9", "10", "11", "12", "13", "14", "15", "16", "17", "19", "5", "6", "7"};
inline constexpr std::array<std::string_view, 9> kTerraAsterBandNames = {
    "1", "2", "3N", "4", "5", "6", "7", "8", "9"};

// Centre ± half width, rounded to whole nanometres.
inline constexpr std::array<Band, 13> kSentinel2MsiBands = {{
    {433, 453}, {458, 523}, {543, 578}, {650, 680}, {698, 713}, {733, 748}, {773, 793},
    {785, 900}, {855, 875}, {935, 955}, {1360, 1390}, {1565, 1655}, {2100, 2280}}};
inline constexpr std::array<std::string_view, 13> kSentinel2MsiBandNames = {
    "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B8A", "B9", "B10", "B11", "B12"};
inline constexpr std::array<Band, 8> kLandsatOliBands = {{
    {435, 451}, {452, 512}, {533, 590}, {636, 673}, {851, 879}, {1363, 1384}, {1566, 1651},
    {2107, 2294}}};
inline constexpr std::array<std::string_view, 8> kLandsatOliBandNames = {
    "B1", "B2", "B3", "B4", "B5", "B9", "B6", "B7"};

inline constexpr Sensor kIrsWis{"IRS-WIS", kIrsWisBands, kIrsWisBandNames};
inline constexpr Sensor kNoaaAvhrr{"NOAA-AVHRR", kNoaaAvhrrBands, kNoaaAvhrrBandNames};
inline constexpr Sensor kLandsatTm{"Landsat-TM", kLandsatTmBands, kLandsatTmBandNames};
inline constexpr Sensor kSpotVegetation{"SPOT-VEGETATION", kSpotVegetationBands, kSpotVegetationBandNames};
inline constexpr Sensor kIkonos{"IKONOS", kIkonosBands, kIkonosBandNames};
inline constexpr Sensor kTerraModis{"Terra-MODIS", kTerraModisBands, kTerraModisBandNames};
inline constexpr Sensor kTerraAster{"Terra-ASTER", kTerraAsterBands, kTerraAsterBandNames};
inline constexpr Sensor kSentinel2Msi{"Sentinel-2 MSI", kSentinel2MsiBands, kSentinel2MsiBandNames};
inline constexpr Sensor kLandsatOli{"Landsat-8/9 OLI", kLandsatOliBands, kLandsatOliBandNames};
// clang-format on

inline constexpr int kSensorCount = 9;

// Every sensor, in the order of the chart menu's entries 2 .. 10.
inline constexpr std::array<Sensor, kSensorCount> kSensors = {
    kIrsWis,     kNoaaAvhrr,  kLandsatTm,    kSpotVegetation, kIkonos,
    kTerraModis, kTerraAster, kSentinel2Msi, kLandsatOli,
};

static_assert(std::ranges::all_of(kSensors, [](const Sensor& sensor) {
    return sensor.bandNames.size() == sensor.bands.size();
}));

// The sensor called `name` exactly (a name of kSensors), or nullptr.
constexpr const Sensor* FindSensor(std::string_view name)
{
    const auto* found = std::ranges::find(kSensors, name, &Sensor::name);
    return found == kSensors.end() ? nullptr : found;
}

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

}  // namespace tulmera::sensor
