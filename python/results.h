#pragma once
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>
#include <vector>

#include "parallel_rows.h"

// How the module's functions hand their results back: arrays of the broadcast shape, spectra
// with the grid as their last axis, failures of a row as ValueError.
namespace tulmera::python {

namespace py = pybind11;

// A float64 array of `shape` followed by `last` (when not 0), zero-filled.
py::array_t<double> NewArray(const std::vector<py::ssize_t>& shape, py::ssize_t last = 0);

// An array of the broadcast shape as Python returns it: a float for a 0-d array.
py::object Unwrapped(const py::array& array);

// Runs ParallelRows(count, threads, row) with the GIL released; a failing row becomes
// py::value_error with its message, after "Row i (describe(i)): " when there is more than one
// row.
void RunRows(std::size_t count, int threads, const std::function<void(std::size_t)>& row,
             const std::function<std::string(std::size_t)>& describe);

}  // namespace tulmera::python
