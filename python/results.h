#pragma once
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "parallel_rows.h"

// How the module's functions hand their results back: arrays of the broadcast shape, spectra
// with the grid as their last axis, failures of a row as ValueError.
namespace tulmera::python {

namespace py = pybind11;

// A float64 array of `shape` followed by `last` (when not 0), zero-filled.
py::array_t<double> NewArray(const std::vector<py::ssize_t>& shape, py::ssize_t last = 0);

// The values (a std::vector<double> or engine::Values), row after row, as a float64 array of
// `shape` followed by `last` (when not 0) that owns them: no copy of a large result.
template <typename Vector>
py::array_t<double> AdoptedArray(Vector&& values, const std::vector<py::ssize_t>& shape,
                                 py::ssize_t last = 0)
{
    static_assert(!std::is_lvalue_reference_v<Vector>, "the array takes the values over");
    if (values.empty()) return NewArray(shape, last);  // numpy wants no base for no data
    std::vector<py::ssize_t> extents = shape;
    if (last != 0) extents.push_back(last);
    auto* kept = new Vector(std::move(values));
    const py::capsule owner(kept, [](void* p) { delete static_cast<Vector*>(p); });
    return py::array_t<double>(extents, kept->data(), owner);
}

// An array of the broadcast shape as Python returns it: a float for a 0-d array.
py::object Unwrapped(const py::array& array);

// Raises py::value_error with the failure's message, after "Row i (describe(i)): " when the
// call has more than one row.
[[noreturn]] void RaiseRowFailure(const RowFailure& failure, std::size_t count,
                                  const std::function<std::string(std::size_t)>& describe);

// Runs work(cancel) of a call of `count` rows with the GIL released, stopped by Ctrl-C (see
// RunInterruptibly); a RowFailure it throws is raised by RaiseRowFailure.
void RunFailingRows(std::size_t count, const std::function<std::string(std::size_t)>& describe,
                    const std::function<void(const std::atomic<bool>* cancel)>& work);

// RunFailingRows of ParallelRows(count, threads, row).
void RunRows(std::size_t count, int threads, const std::function<void(std::size_t)>& row,
             const std::function<std::string(std::size_t)>& describe);

}  // namespace tulmera::python
