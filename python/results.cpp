#include "results.h"

#include <algorithm>
#include <optional>

namespace tulmera::python {

py::array_t<double> NewArray(const std::vector<py::ssize_t>& shape, py::ssize_t last)
{
    std::vector<py::ssize_t> extents = shape;
    if (last != 0) extents.push_back(last);
    py::array_t<double> array(extents);
    std::fill(array.mutable_data(), array.mutable_data() + array.size(), 0.0);
    return array;
}

py::object Unwrapped(const py::array& array)
{
    if (array.ndim() == 0) return py::float_(*static_cast<const double*>(array.data()));
    return array;
}

void RunRows(std::size_t count, int threads, const std::function<void(std::size_t)>& row,
             const std::function<std::string(std::size_t)>& describe)
{
    std::optional<RowFailure> failure;
    {
        const py::gil_scoped_release released;
        try {
            ParallelRows(count, threads, row);
        } catch (const RowFailure& e) {
            failure = e;
        }
    }
    if (!failure) return;
    if (count == 1) throw py::value_error(failure->what());
    throw py::value_error("Row " + std::to_string(failure->row) + " (" + describe(failure->row)
                          + "): " + failure->what());
}

}  // namespace tulmera::python
