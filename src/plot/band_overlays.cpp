#include "plot/band_overlays.h"

#include <algorithm>

#include "plot/background_lines.h"

namespace tulmera::plot {
namespace {

constexpr Rgb kEdgeGrey{100, 100, 100};

constexpr bool InIncreasingOrderWithoutOverlap(std::span<const Band> bands)
{
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (bands[i].lowerNm >= bands[i].upperNm) return false;
        if (i > 0 && bands[i].lowerNm < bands[i - 1].upperNm) return false;
    }
    return true;
}

// The band tables as listed for each sensor: edge counts, order, no overlaps among the first
// seven (the two newer sensors' bands overlap; their stripes are drawn in table order).
static_assert(DistinctEdges(kIrsWis.bands).size() == 4);
static_assert(DistinctEdges(kNoaaAvhrr.bands).size() == 6);
static_assert(DistinctEdges(kLandsatTm.bands).size() == 11);
static_assert(DistinctEdges(kSpotVegetation.bands).size() == 8);
static_assert(DistinctEdges(kIkonos.bands).size() == 7);
static_assert(DistinctEdges(kTerraModis.bands).size() == 28);
static_assert(DistinctEdges(kTerraAster.bands).size() == 16);
static_assert(DistinctEdges(kSentinel2Msi.bands).size() == 26);
static_assert(DistinctEdges(kLandsatOli.bands).size() == 16);
static_assert(std::ranges::all_of(
    std::array{kIrsWis, kNoaaAvhrr, kLandsatTm, kSpotVegetation, kIkonos, kTerraModis, kTerraAster},
    [](const SensorBands& sensor) { return InIncreasingOrderWithoutOverlap(sensor.bands); }));

}  // namespace

void PaintBands(const MainCharts& charts, const SensorBands& sensor)
{
    SetPenOnBoth(charts, kEdgeGrey, 1, PenStyle::Dashed);
    // A stripe runs from 0 to 100 percent; the canopy chart clips it at 70.
    for (const Band& band : sensor.bands) {
        charts.leaf.FilledBox(band.lowerNm, 100, band.upperNm, 0, sensor.stripeColor);
        charts.canopy.FilledBox(band.lowerNm, 100, band.upperNm, 0, sensor.stripeColor);
    }
    for (const int edge : DistinctEdges(sensor.bands)) {
        charts.leaf.Line(edge, 0, edge, 100);
        charts.canopy.Line(edge, 0, edge, 100);
    }
    DrawHorizontalLines(charts);
}

void BandsIrsWis(const MainCharts& charts) { PaintBands(charts, kIrsWis); }
void BandsNoaaAvhrr(const MainCharts& charts) { PaintBands(charts, kNoaaAvhrr); }
void BandsLandsatTm(const MainCharts& charts) { PaintBands(charts, kLandsatTm); }
void BandsSpotVegetation(const MainCharts& charts) { PaintBands(charts, kSpotVegetation); }
void BandsIkonos(const MainCharts& charts) { PaintBands(charts, kIkonos); }
void BandsTerraModis(const MainCharts& charts) { PaintBands(charts, kTerraModis); }
void BandsTerraAster(const MainCharts& charts) { PaintBands(charts, kTerraAster); }
void BandsSentinel2Msi(const MainCharts& charts) { PaintBands(charts, kSentinel2Msi); }
void BandsLandsatOli(const MainCharts& charts) { PaintBands(charts, kLandsatOli); }

void PaintSensorBands(const MainCharts& charts, int entry)
{
    switch (entry) {
        case 2:
            BandsIrsWis(charts);
            break;
        case 3:
            BandsNoaaAvhrr(charts);
            break;
        case 4:
            BandsLandsatTm(charts);
            break;
        case 5:
            BandsSpotVegetation(charts);
            break;
        case 6:
            BandsIkonos(charts);
            break;
        case 7:
            BandsTerraModis(charts);
            break;
        case 8:
            BandsTerraAster(charts);
            break;
        case 9:
            BandsSentinel2Msi(charts);
            break;
        case 10:
            BandsLandsatOli(charts);
            break;
        default:
            break;
    }
}

}  // namespace tulmera::plot
