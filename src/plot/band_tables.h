#pragma once
#include <array>
#include <span>
#include <string_view>

#include "plot/chart_background.h"
#include "plot/chart_surface.h"
#include "sensor/band_tables.h"

// The sensor band overlays of the main charts: each sensor's bands (sensor/band_tables.h, the
// one table the band values use too) drawn as pale stripes between lower and upper wavelength.
namespace tulmera::plot {

using sensor::Band;
using sensor::DistinctEdges;

struct SensorBands {
    Rgb stripeColor;
    std::span<const Band> bands;  // table order; stripes are drawn in it
};

inline constexpr Rgb kLilacStripe{250, 230, 255};
inline constexpr Rgb kPaleLilacStripe{250, 240, 255};
// Reads on both charts beside the green, red, canopy and brown soil curves and the grey lines.
inline constexpr Rgb kPaleBlueStripe{225, 240, 255};

inline constexpr SensorBands kIrsWis{kLilacStripe, sensor::kIrsWisBands};
inline constexpr SensorBands kNoaaAvhrr{kLilacStripe, sensor::kNoaaAvhrrBands};
inline constexpr SensorBands kLandsatTm{kPaleLilacStripe, sensor::kLandsatTmBands};
inline constexpr SensorBands kSpotVegetation{kLilacStripe, sensor::kSpotVegetationBands};
inline constexpr SensorBands kIkonos{kLilacStripe, sensor::kIkonosBands};
inline constexpr SensorBands kTerraModis{kLilacStripe, sensor::kTerraModisBands};
inline constexpr SensorBands kTerraAster{kPaleLilacStripe, sensor::kTerraAsterBands};
inline constexpr SensorBands kSentinel2Msi{kPaleBlueStripe, sensor::kSentinel2MsiBands};
inline constexpr SensorBands kLandsatOli{kPaleBlueStripe, sensor::kLandsatOliBands};

// The overlays of the chart menu's sensor entries, kFirstSensorEntry .. kBackgroundEntryCount,
// in the order of sensor::kSensors.
inline constexpr std::array<SensorBands, sensor::kSensorCount> kSensorOverlays = {
    kIrsWis,     kNoaaAvhrr,  kLandsatTm,    kSpotVegetation, kIkonos,
    kTerraModis, kTerraAster, kSentinel2Msi, kLandsatOli,
};
static_assert(kBackgroundEntryCount - kFirstSensorEntry + 1 == sensor::kSensorCount);

// The sensor of chart menu entry `entry` (kFirstSensorEntry .. kBackgroundEntryCount).
constexpr const sensor::Sensor& SensorOfEntry(int entry)
{
    return sensor::kSensors[static_cast<std::size_t>(entry - kFirstSensorEntry)];
}

// Each overlay draws its sensor's table, and each sensor entry's caption is "Bandas " and the
// sensor's name.
static_assert([] {
    for (int entry = kFirstSensorEntry; entry <= kBackgroundEntryCount; ++entry) {
        const auto i = static_cast<std::size_t>(entry - kFirstSensorEntry);
        const std::string_view caption = kBackgroundCaptions[static_cast<std::size_t>(entry - 1)];
        const sensor::Sensor& sensor = SensorOfEntry(entry);
        if (kSensorOverlays[i].bands.data() != sensor.bands.data()) return false;
        if (kSensorOverlays[i].bands.size() != sensor.bands.size()) return false;
        if (!caption.starts_with("Bandas ") || caption.substr(7) != sensor.name) return false;
    }
    return true;
}());

}  // namespace tulmera::plot
