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

// The pen of a fit's curves: magenta, 2 pixels, solid, so that it shows over the thin
// measured black it follows; unlike the live curves' and the kept sets' colours.
inline constexpr Rgb kFittedMagenta{210, 0, 130};
inline constexpr int kFittedPenWidth = 2;

// A fit's answer as it is drawn over the measured spectra until it is applied or cleared: the
// model's spectra (fractions) for the spectra the fit compared; an absent one is not drawn.
struct FittedCurves {
    std::optional<spectral::Spectrum> leafReflectance;
    std::optional<spectral::Spectrum> leafTransmittance;
    std::optional<spectral::Spectrum> canopyReflectance;
};

// Draws `values` in the chart's user units (x in nm, y in percent) with the measured pen, one
// polyline per run of consecutive grid points with data: each run starts with a point at its
// first sample (so that a lone sample still shows), then a segment to each next one; a grid
// point without data ends the run, leaving a gap. Sets the pen colour, width and style.
// Cannot fail; values outside the chart are clipped by the surface.
void PaintMeasured(ChartSurface& chart, const MeasuredValues& values, MeasuredDirection direction);

// Draws `fitted` with the fit's pen as one polyline from 400 nm to `lastNm` (the chart's last
// wavelength: 2500 for the leaf chart, 2495 for the canopy chart), placed as `direction` says.
// Sets the pen colour, width and style. Cannot fail.
void PaintFitted(ChartSurface& chart, const spectral::Spectrum& fitted, MeasuredDirection direction,
                 int lastNm);

}  // namespace tulmera::plot
