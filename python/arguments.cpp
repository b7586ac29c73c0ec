#include "arguments.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <thread>
#include <utility>

#include "canopy/leaf_angles.h"
#include "leaf/leaf_models.h"
#include "spectral/soil_library.h"
#include "textio/ascii_case.h"
#include "textio/number_text.h"

namespace tulmera::python {
namespace {

// ASCII letters only, whatever the locale.
std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), textio::AsciiLower);
    return lower;
}

std::string ShapeText(const py::array& array)
{
    std::string text = "(";
    for (py::ssize_t d = 0; d < array.ndim(); ++d) {
        text += (d ? ", " : "") + std::to_string(array.shape(d));
    }
    return text + (array.ndim() == 1 ? ",)" : ")");
}

// "[3]" or "[1, 2]" for the flat position `at` of an array of `shape`; "" for a scalar.
std::string IndexText(const py::array& array, std::size_t at)
{
    if (array.ndim() == 0) return "";
    std::vector<std::size_t> index(static_cast<std::size_t>(array.ndim()));
    for (py::ssize_t d = array.ndim() - 1; d >= 0; --d) {
        const auto extent = static_cast<std::size_t>(array.shape(d));
        index[static_cast<std::size_t>(d)] = at % extent;
        at /= extent;
    }
    std::string text = "[";
    for (std::size_t d = 0; d < index.size(); ++d) {
        text += (d ? ", " : "") + std::to_string(index[d]);
    }
    return text + "]";
}

template <std::size_t Count>
std::string Listed(const std::array<std::string_view, Count>& names)
{
    std::string list;
    for (const std::string_view name : names) {
        list += (list.empty() ? "\"" : ", \"") + std::string(name) + "\"";
    }
    return list;
}

}  // namespace

NumericArgument ToNumeric(const std::string& name, const py::object& value)
{
    if (py::isinstance<py::str>(value) || py::isinstance<py::bytes>(value) || value.is_none()) {
        throw py::value_error(name + " must be a number or an array of numbers, not "
                              + std::string(py::str(py::type::of(value).attr("__name__"))) + ".");
    }
    NumericArgument argument;
    argument.name = name;
    try {
        argument.values = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(
            py::module_::import("numpy").attr("asarray")(value, "float64"));
    } catch (const py::error_already_set&) {
        throw py::value_error(name + " must be a number or an array of numbers.");
    }
    argument.Bind();
    return argument;
}

std::vector<py::ssize_t> Broadcast(std::vector<NumericArgument>& arguments)
{
    // numpy's rule: shapes aligned on their last axis, each extent equal to the others or 1.
    std::vector<py::ssize_t> shape;
    bool fits = true;
    for (const NumericArgument& argument : arguments) {
        const py::array& a = argument.values;
        if (static_cast<std::size_t>(a.ndim()) > shape.size()) {
            shape.insert(shape.begin(), static_cast<std::size_t>(a.ndim()) - shape.size(), 1);
        }
        for (py::ssize_t d = 0; d < a.ndim(); ++d) {
            py::ssize_t& extent = shape[shape.size() - static_cast<std::size_t>(a.ndim() - d)];
            const py::ssize_t own = a.shape(d);
            if (own == extent || own == 1) continue;
            if (extent == 1) {
                extent = own;
            } else {
                fits = false;
            }
        }
    }
    if (!fits) {
        std::string listed;
        for (const NumericArgument& argument : arguments) {
            if (argument.values.ndim() == 0) continue;
            listed +=
                (listed.empty() ? "" : ", ") + argument.name + " " + ShapeText(argument.values);
        }
        throw py::value_error("The array arguments do not broadcast together: " + listed + ".");
    }
    const py::module_ numpy = py::module_::import("numpy");
    for (NumericArgument& argument : arguments) {
        const py::array& a = argument.values;
        const bool same = static_cast<std::size_t>(a.ndim()) == shape.size()
                          && std::equal(shape.begin(), shape.end(), a.shape());
        if (a.size() == 1) {
            argument.step = 0;
        } else if (!same) {
            py::tuple target(shape.size());
            for (std::size_t d = 0; d < shape.size(); ++d) target[d] = shape[d];
            argument.values =
                py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(numpy.attr(
                    "ascontiguousarray")(numpy.attr("broadcast_to")(argument.values, target)));
            argument.step = 1;
        }
        argument.Bind();
    }
    return shape;
}

std::size_t RowCount(const std::vector<py::ssize_t>& shape)
{
    std::size_t rows = 1;
    for (const py::ssize_t extent : shape) rows *= static_cast<std::size_t>(extent);
    return rows;
}

void CheckRange(const NumericArgument& argument, const domain::InputRange& range)
{
    const std::size_t count = static_cast<std::size_t>(argument.values.size());
    const double* values = argument.values.data();
    for (std::size_t i = 0; i < count; ++i) {
        const double value = values[i];
        if (range.Contains(value)) continue;
        throw py::value_error(argument.name + IndexText(argument.values, i) + " = "
                              + ValueText(value) + " is outside " + domain::RangeText(range) + ".");
    }
}

int ThreadCount(const py::object& threads)
{
    if (threads.is_none()) {
        return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    }
    if (!py::isinstance<py::int_>(threads) || py::isinstance<py::bool_>(threads)
        || threads.cast<long long>() < 1 || threads.cast<long long>() > 1024) {
        throw py::value_error(
            "threads must be None (every core) or a whole number from 1 to 1024.");
    }
    return threads.cast<int>();
}

std::string LeafArchitectureText(const std::string& name)
{
    if (const auto entry = canopy::FindLeafArchitecture(name)) {
        return std::string(canopy::kLeafArchitectureNames[*entry]);
    }
    throw py::value_error("lidf \"" + name + "\" is not a leaf angle distribution; use one of "
                          + Listed(canopy::kEnglishLeafArchitectureNames) + " (or "
                          + Listed(canopy::kLeafArchitectureNames) + ").");
}

std::string SoilText(const std::string& name)
{
    if (const auto entry = spectral::FindSoil(name)) {
        return std::string(spectral::kSoilKeys[*entry]);
    }
    throw py::value_error("soil \"" + name + "\" is not a soil; use \"S1\", \"S2\", \"S3\" or "
                          "\"S4\" (or a whole soil list text: "
                          + Listed(spectral::kSoilKeys) + ").");
}

canopy::Visibility VisibilityOf(double km)
{
    if (km == 15.0) return canopy::Visibility::Km15;
    if (km == 50.0) return canopy::Visibility::Km50;
    throw py::value_error("visibility = " + ValueText(km)
                          + " is not a visibility; use 15 or 50 (km).");
}

canopy::SkyMix SkyMixOf(const std::string& name)
{
    if (Lower(name) == "classic") return canopy::SkyMix::Classic;
    if (Lower(name) == "physical") return canopy::SkyMix::Physical;
    throw py::value_error("sky_mix \"" + name
                          + "\" is not a sky mix; use \"classic\" or \"physical\".");
}

leaf::LeafModel LeafModelOf(const std::string& name)
{
    std::string lower = Lower(name);
    std::replace(lower.begin(), lower.end(), '_', '-');
    if (const auto model = leaf::ParseLeafModel(lower)) return *model;
    throw py::value_error("model \"" + name
                          + "\" is not a leaf model; use \"classic\", \"prospect-d\" or "
                            "\"prospect-pro\".");
}

const sensor::Sensor& SensorOf(const std::string& name)
{
    std::string list;
    for (const sensor::Sensor& known : sensor::kSensors) {
        if (Lower(name) == Lower(known.name)) return known;
        list += (list.empty() ? "\"" : ", \"") + std::string(known.name) + "\"";
    }
    throw py::value_error("sensor \"" + name + "\" is not a sensor; use one of " + list + ".");
}

std::string ValueText(double value)
{
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return textio::NumberText(value);
}

}  // namespace tulmera::python
