#pragma once
#include "plot/chart_surface.h"

// The coordinate systems and pixel sizes of the program's charts. x is the wavelength in nm,
// y percent (reflectance or transmittance times 100), except on the legend strip.
namespace tulmera::plot {

// The leaf chart of the main window: 400 .. 2500 nm across, 0 .. 100 percent up.
inline constexpr ChartScale kLeafChartScale{400, 2500, 0, 100, 317, 165};

// The canopy chart of the main window: the same width, but only 70 units high, so everything
// drawn above 70 percent is clipped.
inline constexpr ChartScale kCanopyChartScale{400, 2500, 0, 70, 317, 165};

// The chart of the multiple-simulation window: 400 .. 2500 nm across, 0 .. 100 percent up.
inline constexpr ChartScale kSweepChartScale{400, 2500, 0, 100, 365, 245};

// The colour legend under the sweep chart, in legend units: 200 across, 20 up.
inline constexpr ChartScale kLegendStripScale{0, 200, 0, 20, 369, 17};

}  // namespace tulmera::plot
