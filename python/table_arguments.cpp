#include "table_arguments.h"

#include <cmath>

#include "arguments.h"
#include "leaf_arguments.h"

namespace tulmera::python {

std::size_t ParameterIndex(const std::string& name, leaf::LeafModel model)
{
    std::string names;
    for (const lut::Parameter column : lut::TableColumns(model)) {
        const auto p = static_cast<std::size_t>(column);
        if (name == lut::kParameterNames[p] || (name == "lai" && column == lut::Parameter::Lai)) {
            return p;
        }
        names += (names.empty() ? "" : ", ") + std::string(lut::kParameterNames[p]);
    }
    throw py::value_error("\"" + name + "\" is not a table parameter; use one of " + names + ".");
}

double ScalarOf(const std::string& name, const py::object& value)
{
    const NumericArgument argument = ToNumeric(name, value);
    if (argument.values.ndim() != 0) {
        throw py::value_error(name + " must be one number: a table holds it for every row.");
    }
    return argument.At(0);
}

std::uint64_t WholeOf(const std::string& name, const py::object& value, double lowest, double limit,
                      const std::string& range)
{
    const bool whole = py::isinstance<py::int_>(value) && !py::isinstance<py::bool_>(value);
    const double number = whole ? value.cast<double>() : std::nan("");
    if (!whole || number < lowest || number >= limit) {
        throw py::value_error(name + " must be a whole number " + range + ".");
    }
    return value.cast<std::uint64_t>();
}

lut::TableSpec HeldSpecOf(const py::object& N, const py::object& Cab, const py::object& Cw,
                          const py::object& Cm, const py::object& lai, const py::object& sun,
                          const py::object& view, const py::object& azimuth,
                          const py::object& hotspot, const std::string& lidf,
                          const std::string& soil, const py::object& visibility,
                          const std::string& skyMix)
{
    const leaf::LeafParameters held{ScalarOf("N", N), ScalarOf("Cab", Cab), ScalarOf("Cw", Cw),
                                    ScalarOf("Cm", Cm)};
    return HeldSpecOf(held, lai, sun, view, azimuth, hotspot, lidf, soil, visibility, skyMix);
}

lut::TableSpec HeldSpecOf(const leaf::LeafParameters& held, const py::object& lai,
                          const py::object& sun, const py::object& view, const py::object& azimuth,
                          const py::object& hotspot, const std::string& lidf,
                          const std::string& soil, const py::object& visibility,
                          const std::string& skyMix)
{
    const canopy::CanopyInputs inputs{ScalarOf("lai", lai),
                                      ScalarOf("sun", sun),
                                      ScalarOf("view", view),
                                      ScalarOf("azimuth", azimuth),
                                      ScalarOf("hotspot", hotspot),
                                      LeafArchitectureText(lidf),
                                      SoilText(soil),
                                      VisibilityOf(ScalarOf("visibility", visibility)),
                                      SkyMixOf(skyMix)};
    return lut::HeldSpec(held, inputs);
}

leaf::LeafParameters HeldLeafOf(const py::object& N, const py::object& Cab, const py::object& Cw,
                                const py::object& Cm, const std::string& model,
                                const py::dict& pigments)
{
    const LeafArguments leaf = ReadLeafArguments(N, Cab, Cw, Cm, model, pigments);
    for (const NumericArgument& argument : leaf.values) {
        if (argument.values.ndim() != 0) {
            throw py::value_error(argument.name
                                  + " must be one number: a table holds it for every row.");
        }
    }
    CheckLeafArguments(leaf);
    return LeafRows(leaf).At(0);
}

void ReadRanges(const py::object& ranges, lut::TableSpec& spec)
{
    if (!ranges.is_none()) {
        if (!py::isinstance<py::dict>(ranges)) {
            throw py::value_error("ranges must be a dict such as {\"LAI\": (0.1, 8)}.");
        }
        for (const auto& [key, value] : py::dict(ranges)) {
            const std::string name = py::str(key);
            const std::size_t p = ParameterIndex(name, spec.leafModel);
            if (!py::isinstance<py::sequence>(value) || py::isinstance<py::str>(value)
                || py::len(value) != 2) {
                throw py::value_error("ranges[\"" + name + "\"] must be a pair (lo, hi).");
            }
            if (spec.ranges[p].varies) {
                throw py::value_error("ranges names " + std::string(lut::kParameterNames[p])
                                      + " twice.");
            }
            const auto ends = py::reinterpret_borrow<py::sequence>(value);
            spec.ranges[p] = {ScalarOf("ranges[\"" + name + "\"] lo", ends[0]),
                              ScalarOf("ranges[\"" + name + "\"] hi", ends[1]), true};
        }
    }
    for (const lut::Parameter column : lut::TableColumns(spec.leafModel)) {
        const auto p = static_cast<std::size_t>(column);
        if (const auto problem = lut::RangeProblem(column, spec.ranges[p])) {
            throw py::value_error(*problem);
        }
    }
}

}  // namespace tulmera::python
