#pragma once
#include "plot/band_tables.h"
#include "plot/main_charts.h"

// The sensor band backgrounds of the main charts. Each procedure draws on both charts: a
// dashed grey (100, 100, 100) 1-pixel pen, the band stripes from 0 to 100 percent in the
// sensor's stripe colour, one vertical line at every distinct band edge, and the horizontal
// lines every 10 percent; the pen stays grey, 1 pixel, dashed. They do not clear the charts.
namespace tulmera::plot {

// The overlay of any band table, in the order stripes, edge lines, horizontal lines.
void PaintBands(const MainCharts& charts, const SensorBands& sensor);

void BandsIrsWis(const MainCharts& charts);          // entry 2
void BandsNoaaAvhrr(const MainCharts& charts);       // entry 3
void BandsLandsatTm(const MainCharts& charts);       // entry 4
void BandsSpotVegetation(const MainCharts& charts);  // entry 5
void BandsIkonos(const MainCharts& charts);          // entry 6
void BandsTerraModis(const MainCharts& charts);      // entry 7
void BandsTerraAster(const MainCharts& charts);      // entry 8
void BandsSentinel2Msi(const MainCharts& charts);    // entry 9
void BandsLandsatOli(const MainCharts& charts);      // entry 10

// Draws the overlay of menu entry `entry` (2 .. 10); does nothing for any other value.
void PaintSensorBands(const MainCharts& charts, int entry);

}  // namespace tulmera::plot
