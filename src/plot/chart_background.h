#pragma once
#include <array>
#include <string_view>

// What the main charts show behind their curves: the grid or the bands of one sensor, chosen
// with the ten entries of the charts menu, of which exactly one carries the check mark.
namespace tulmera::plot {

inline constexpr int kBackgroundEntryCount = 10;
inline constexpr int kGridEntry = 1;         // "Cuadricula"
inline constexpr int kFirstSensorEntry = 2;  // entries 2 .. 10 are the sensors

// The menu captions of entries 1 .. 10 (index 0 holds entry 1).
inline constexpr std::array<std::string_view, kBackgroundEntryCount> kBackgroundCaptions = {
    "Cuadricula",
    "Bandas IRS-WIS",
    "Bandas NOAA-AVHRR",
    "Bandas Landsat-TM",
    "Bandas SPOT-VEGETATION",
    "Bandas IKONOS",
    "Bandas Terra-MODIS",
    "Bandas Terra-ASTER",
    "Bandas Sentinel-2 MSI",
    "Bandas Landsat-8/9 OLI",
};

// The background choice the main window owns: the entry (1 .. 10) that carries the check mark.
// The grid is checked when the window opens. Any other value means no entry is checked, and
// the charts then show nothing behind the curves.
struct ChartBackground {
    int checkedEntry = kGridEntry;
    friend bool operator==(const ChartBackground&, const ChartBackground&) = default;
};

// True when `entry` (1 .. 10) carries the check mark.
constexpr bool IsChecked(const ChartBackground& background, int entry)
{
    return background.checkedEntry == entry;
}

}  // namespace tulmera::plot
