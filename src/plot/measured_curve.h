#pragma once
#include <array>
#include <optional>

#include "plot/chart_surface.h"
#include "spectral/grid.h"

// A measured spectrum drawn over the model curves of a main chart.
namespace tulmera::plot {

// A fraction per grid wavelength, or nothing where there is no measurement (the same record
// as measured::GridValues, which this room does not include).
using MeasuredValues = std::array<std::optional<double>, spectral::kWavelengthCount>;

// How a measured spectrum sits on its chart: upward from the bottom (100 × value: leaf and
// canopy reflectance) or downward from the top (100 − 100 × value: leaf transmittance, as the
// model's red curve).
enum class MeasuredDirection { Upward, Downward };

// The measured curve's pen: black, 1 pixel, solid.
inline constexpr Rgb kMeasuredBlack{0, 0, 0};

// Draws `values` in the chart's user units (x in nm, y in percent) with the measured pen, one
// polyline per run of consecutive grid points with data: each run starts with a point at its
// first sample (so that a lone sample still shows), then a segment to each next one; a grid
// point without data ends the run, leaving a gap. Sets the pen colour, width and style.
// Cannot fail; values outside the chart are clipped by the surface.
void PaintMeasured(ChartSurface& chart, const MeasuredValues& values, MeasuredDirection direction);

}  // namespace tulmera::plot
