#pragma once
#include <pybind11/pybind11.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "lut/table_spec.h"

// The arguments that lut() and gsa() share: the held numbers, the ranges of the varied
// parameters, whole numbers such as samples and seed.
namespace tulmera::python {

namespace py = pybind11;

// Seeds below it are written exactly as text, as the batch runner takes them.
inline constexpr double kLargestSeed = 1e15;

// The index in lut::kParameterNames of `name` ("lai" also names LAI), a column of a table of
// `model`. Throws py::value_error listing that table's names.
std::size_t ParameterIndex(const std::string& name, leaf::LeafModel model);

// `value` as one number named `name`. Throws py::value_error for an array or a non-number.
double ScalarOf(const std::string& name, const py::object& value);

// `value` as a whole number from `lowest` to below `limit`. Throws py::value_error saying
// "NAME must be a whole number RANGE." otherwise.
std::uint64_t WholeOf(const std::string& name, const py::object& value, double lowest, double limit,
                      const std::string& range);

// A spec holding the leaf and canopy keyword values (lut(), gsa()): N, Cab, Cw, Cm, lai, sun,
// view, azimuth, hotspot, lidf, soil, visibility, sky mix. Throws py::value_error for a name or
// number that is not one.
lut::TableSpec HeldSpecOf(const py::object& N, const py::object& Cab, const py::object& Cw,
                          const py::object& Cm, const py::object& lai, const py::object& sun,
                          const py::object& view, const py::object& azimuth,
                          const py::object& hotspot, const std::string& lidf,
                          const std::string& soil, const py::object& visibility,
                          const std::string& skyMix);

// The same with the held leaf given whole (any leaf model).
lut::TableSpec HeldSpecOf(const leaf::LeafParameters& held, const py::object& lai,
                          const py::object& sun, const py::object& view, const py::object& azimuth,
                          const py::object& hotspot, const std::string& lidf,
                          const std::string& soil, const py::object& visibility,
                          const std::string& skyMix);

// The held leaf of leaf()'s arguments (N, Cab, Cw, Cm, model, **pigments: see
// ReadLeafArguments), each one number, checked against the model's domain. Throws
// py::value_error naming the argument.
leaf::LeafParameters HeldLeafOf(const py::object& N, const py::object& Cab, const py::object& Cw,
                                const py::object& Cm, const std::string& model,
                                const py::dict& pigments);

// The varied parameters of `ranges` (None, or a dict such as {"LAI": (0.1, 8)}) set in
// `spec`, then every range checked against the models' domain (lut::RangeProblem). Throws
// py::value_error naming the parameter.
void ReadRanges(const py::object& ranges, lut::TableSpec& spec);

}  // namespace tulmera::python
