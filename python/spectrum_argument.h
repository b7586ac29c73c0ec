#pragma once
#include <pybind11/numpy.h>

#include <string>
#include <vector>

#include "measured/measured_grid.h"
#include "spectral/grid.h"

// Spectra handed to the module: arrays whose last axis is the 421-point grid.
namespace tulmera::python {

namespace py = pybind11;

// Spectra as a contiguous float64 array of shape (rows, 421), and the shape of the rows (empty
// for a single spectrum).
struct SpectraArgument {
    py::array_t<double, py::array::c_style | py::array::forcecast> values;
    std::vector<py::ssize_t> shape;
    std::size_t rows = 0;

    const double* Row(std::size_t row) const
    {
        return values.data() + row * spectral::kWavelengthCount;
    }
};

// `value` read as spectra named `name`. Throws py::value_error naming the argument when it is
// not numbers, its last axis is not 421 long, or (unless `missingAllowed`, where NaN means
// "not measured") a value is not finite; infinities are always refused.
SpectraArgument ToSpectra(const std::string& name, const py::object& value, bool missingAllowed);

// One row as a measured spectrum on the grid: NaN becomes "no data". Throws py::value_error
// naming the argument when fewer than measured::kMinGridPoints values are given.
measured::GridValues GridValuesOf(const SpectraArgument& spectra, std::size_t row,
                                  const std::string& name);

// One row as a spectrum.
spectral::Spectrum SpectrumOf(const SpectraArgument& spectra, std::size_t row);

}  // namespace tulmera::python
