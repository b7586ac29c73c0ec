#include "leaf_arguments.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "leaf/leaf_models.h"

namespace tulmera::python {
namespace {

// The ranges of the pigments and constituents the main window has no control for: the
// model's own limits (none below 0, Cbrown a fraction), with upper ends as far beyond any
// leaf as those of Cab and Cm.
domain::InputRange RangeOf(std::string_view name, leaf::LeafModel model)
{
    using domain::Input;
    if (name == "N") return domain::AcceptedRange(Input::N);
    if (name == "Cab") return domain::AcceptedRange(Input::Cab);
    if (name == "Cw") return domain::AcceptedRange(Input::Cw);
    if (name == "Cm" && model != leaf::LeafModel::ProspectPro) {
        return domain::AcceptedRange(Input::Cm);
    }
    if (name == "Car" || name == "Anth") return {0.0, 10000.0};
    if (name == "Cbrown") return {0.0, 1.0};
    return {0.0, 10.0};  // Prot, CBC
}

std::string ModelText(leaf::LeafModel model) { return std::string(leaf::LeafModelName(model)); }

}  // namespace

LeafArguments ReadLeafArguments(const py::object& N, const py::object& Cab, const py::object& Cw,
                                const py::object& Cm, const std::string& model,
                                const py::dict& pigments)
{
    LeafArguments result;
    result.model = LeafModelOf(model);
    py::dict given;
    given["N"] = N;
    given["Cab"] = Cab;
    given["Cw"] = Cw;
    if (!Cm.is_none()) given["Cm"] = Cm;
    for (const auto& [key, value] : pigments) {
        const std::string name = py::str(key);
        const bool known =
            std::any_of(leaf::kLeafParameterFields.begin(), leaf::kLeafParameterFields.end(),
                        [&](const leaf::LeafParameterField& f) { return f.name == name; });
        if (!known || given.contains(name)) {
            throw py::value_error("\"" + name
                                  + "\" is not a leaf parameter; the pigments and constituents "
                                    "are Car, Anth, Cbrown, Prot and CBC.");
        }
        given[key] = value;
    }
    for (const auto& [key, value] : given) {
        const std::string name = py::str(key);
        if (leaf::ModelHasParameter(result.model, name)) continue;
        const NumericArgument argument = ToNumeric(name, py::reinterpret_borrow<py::object>(value));
        const double* data = argument.values.data();
        if (std::all_of(data, data + argument.values.size(), [](double v) { return v == 0.0; })) {
            continue;
        }
        throw py::value_error(
            name + " is not a parameter of the " + ModelText(result.model) + " leaf model; "
            + (name == "Cm" ? "PROSPECT-PRO splits it into Prot and CBC."
                            : "choose model=\"prospect-d\" or \"prospect-pro\"."));
    }
    if (result.model != leaf::LeafModel::ProspectPro && !given.contains("Cm")) {
        given["Cm"] = 0.009;
    }
    for (const leaf::LeafParameterField& field : leaf::ModelParameters(result.model)) {
        const std::string name(field.name);
        const py::object value =
            given.contains(name) ? py::object(given[name.c_str()]) : py::object(py::float_(0.0));
        result.values.push_back(ToNumeric(name, value));
        result.fields.push_back(field.value);
    }
    return result;
}

LeafArguments LeafArgumentsOf(const py::object& leaf)
{
    const py::object N = py::float_(1.5), Cab = py::float_(40.0), Cw = py::float_(0.01);
    if (leaf.is_none()) return ReadLeafArguments(N, Cab, Cw, py::none(), "classic", py::dict());
    py::dict arguments;  // a copy: the caller's dict stays as it was
    const auto copy = [&arguments](const py::handle& from) {
        for (const auto& [key, value] : py::reinterpret_borrow<py::dict>(from)) {
            arguments[key] = value;
        }
    };
    if (py::isinstance<py::dict>(leaf)) {
        copy(leaf);
    } else if (py::hasattr(leaf, "parameters") && py::hasattr(leaf, "model")
               && py::isinstance<py::dict>(leaf.attr("parameters"))) {
        copy(leaf.attr("parameters"));
        arguments["model"] = leaf.attr("model");
    } else {
        throw py::value_error(
            "leaf must be a Leaf that tulmera.leaf() returned, a dict of its arguments or None.");
    }
    const auto take = [&arguments](const char* name, const py::object& fallback) {
        if (!arguments.contains(name)) return fallback;
        py::object value = arguments[name];
        PyDict_DelItemString(arguments.ptr(), name);
        return value;
    };
    const py::object n = take("N", N), cab = take("Cab", Cab), cw = take("Cw", Cw);
    const py::object cm = take("Cm", py::none());
    const py::object model = take("model", py::str("classic"));
    if (!py::isinstance<py::str>(model)) throw py::value_error("leaf's model must be a name.");
    return ReadLeafArguments(n, cab, cw, cm, model.cast<std::string>(), arguments);
}

void CheckLeafArguments(const LeafArguments& leaf)
{
    for (const NumericArgument& argument : leaf.values) {
        CheckRange(argument, RangeOf(argument.name, leaf.model));
    }
}

LeafRows::LeafRows(const LeafArguments& leaf)
    : model_(leaf.model), values_(leaf.values), fields_(leaf.fields)
{
}

leaf::LeafParameters LeafRows::At(std::size_t row) const
{
    leaf::LeafParameters p{0.0, 0.0, 0.0, 0.0};
    p.model = model_;
    for (std::size_t k = 0; k < values_.size(); ++k) p.*fields_[k] = values_[k].At(row);
    return p;
}

}  // namespace tulmera::python
