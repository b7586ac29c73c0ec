#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "measured/measured_table.h"
#include "spectral/grid.h"

namespace tulmera::measured {

// A measured spectrum on the grid: a fraction per grid wavelength, or nothing ("no data",
// excluded from errors and fits, drawn as a gap) outside the measured range.
using GridValues = std::array<std::optional<double>, spectral::kWavelengthCount>;

// One column of a file brought onto the grid.
struct MeasuredSpectrum {
    std::string fileName;
    std::string name;  // the column's name (see MeasuredColumn)
    GridValues value;
    int negativeCount = 0;  // of the column's measured values
    int aboveOneCount = 0;
};

// A spectrum needs at least this many grid points with data.
inline constexpr int kMinGridPoints = 10;

// Column `column` of `table` on the grid: at a grid wavelength equal to a measured one, that
// value; between two measured neighbours (rows with a value in this column), the straight line
// through them; before the first and after the last, nothing. Throws tulmera::Error naming the
// file and the column when fewer than kMinGridPoints grid points get a value.
MeasuredSpectrum SpectrumOnGrid(const MeasuredTable& table, std::size_t column);

// The number of grid points with data.
int DataCount(const GridValues& values);

// True for the grid wavelengths of the atmospheric water bands, 1340 .. 1450 nm and
// 1800 .. 1960 nm (ends included), which canopy comparisons may leave out.
bool InWaterBand(int wavelengthNm);

// The grid points a comparison with `measured` uses: those with data, without the water bands
// when asked; in grid order, each with its grid index and measured value.
struct ComparedPoints {
    std::vector<std::size_t> index;
    std::vector<double> value;
};
ComparedPoints PointsCompared(const GridValues& measured, bool leaveOutWaterBands);

// The root mean square difference, in percent reflectance (fraction × 100), between a model
// spectrum (fractions) and a measured one over the grid points where the measured one has
// data, leaving out the water bands when asked. Nothing when no point is left.
std::optional<double> RmsePercent(const spectral::Spectrum& model, const GridValues& measured,
                                  bool leaveOutWaterBands);

}  // namespace tulmera::measured
