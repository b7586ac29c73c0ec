#pragma once
#include <optional>
#include <vector>

#include "plot/chart_surface.h"
#include "spectral/grid.h"

// What a chart shows under a pixel: the chart units there and the grid sample nearest to them,
// for the values read out under the pointer. The inverse of the surfaces' mapping: interior
// pixel X = 0 is `left`, X = widthPx − 1 is `right` (and Y = 0 is `top`).
namespace tulmera::plot {

// The chart units at the centre of interior pixel (X, Y) of a chart of `scale` (its widthPx and
// heightPx the displayed size, at least 2).
struct ChartPoint {
    double x;
    double y;
};
ChartPoint ChartPointAt(const ChartScale& scale, double X, double Y);

// The interior pixel column where the wavelength of grid index `index` is drawn.
double PixelXOf(const ChartScale& scale, int index);

// The grid index whose wavelength is nearest to `wavelengthNm`, when it lies within half a grid
// step of a sample among the first `sampleCount` (a curve drawn from 400 nm over that many
// samples); nothing beyond them: no value is read out where the curve has no data.
std::optional<int> NearestSample(double wavelengthNm, int sampleCount = spectral::kWavelengthCount);

// Of `curves` (each a spectrum in the chart's units), the one whose value at `index` lies
// nearest to `y`; the first of equally near ones. Nothing when `curves` is empty.
std::optional<std::size_t> NearestCurve(const std::vector<const spectral::Spectrum*>& curves,
                                        int index, double y);

}  // namespace tulmera::plot
