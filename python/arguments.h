#pragma once
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "canopy/leaf_angles.h"
#include "canopy/sky_ratio.h"
#include "domain/input_domain.h"
#include "leaf/leaf_parameters.h"
#include "sensor/band_tables.h"

// What every function of the Python module does with its arguments before any model runs:
// numbers (or numpy arrays of them) broadcast together and checked against the models'
// domains, and names (leaf angle distribution, soil, model, sky mix, sensor) turned into the
// core's own values. Every refusal is a Python ValueError that names the argument.
namespace tulmera::python {

namespace py = pybind11;

// One numeric argument: its Python name and its values as a contiguous float64 array. After
// Broadcast, either of the broadcast shape or a single value that every row reads (step 0).
struct NumericArgument {
    std::string name;
    py::array_t<double, py::array::c_style | py::array::forcecast> values;
    std::size_t step = 1;  // 0 for a single value shared by every row

    // The value of broadcast row `row`; reads no Python object, so threads may call it
    // while the GIL is released.
    double At(std::size_t row) const { return data_[row * step]; }
    void Bind() { data_ = values.data(); }

private:
    const double* data_ = nullptr;
};

// `value` as a float64 array named `name`. Throws py::value_error naming the argument when it
// is not a number or an array of numbers.
NumericArgument ToNumeric(const std::string& name, const py::object& value);

// The arguments broadcast together with numpy's rules: the common shape is returned (empty for
// all scalars); a single value is kept as it is and read by every row, an array of another
// shape than the common one is copied out to it. Throws py::value_error naming the arguments
// and their shapes when they do not broadcast.
std::vector<py::ssize_t> Broadcast(std::vector<NumericArgument>& arguments);

// The number of rows of a broadcast shape: the product of its extents (1 for a scalar).
std::size_t RowCount(const std::vector<py::ssize_t>& shape);

// Throws py::value_error "Cab[3] = -1 is outside 0 to 10000." (no index for a scalar) for the
// first value of `argument` outside `range`; a value that is not finite is always outside.
void CheckRange(const NumericArgument& argument, const domain::InputRange& range);

// The worker threads a `threads` argument asks for: None gives every core; otherwise a whole
// number of at least 1. Throws py::value_error otherwise.
int ThreadCount(const py::object& threads);

// The leaf angle distribution `name` names, as the canopy model's list writes it: the English
// "planophile", "erectophile", "plagiophile", "extremophile", "spherical" (any case) or the
// list's own texts ("Planofilo", ...). Throws py::value_error listing the names.
std::string LeafArchitectureText(const std::string& name);

// The soil `name` names as the soil list writes it: "S1" .. "S4" (any case) or a whole list
// text. Throws py::value_error listing the names.
std::string SoilText(const std::string& name);

// The visibility of `km`, 15 or 50. Throws py::value_error otherwise.
canopy::Visibility VisibilityOf(double km);

// "classic" or "physical". Throws py::value_error otherwise.
canopy::SkyMix SkyMixOf(const std::string& name);

// "classic", "prospect-d" or "prospect-pro" (any case; "prospect_d" too). Throws
// py::value_error otherwise.
leaf::LeafModel LeafModelOf(const std::string& name);

// The sensor named `name` (as the chart menu names it, any case: "Sentinel-2 MSI",
// "landsat-tm"). Throws py::value_error listing the sensors.
const sensor::Sensor& SensorOf(const std::string& name);

// A value for messages: its number text, or "nan", "inf", "-inf".
std::string ValueText(double value);

}  // namespace tulmera::python
