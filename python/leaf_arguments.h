#pragma once
#include <pybind11/pybind11.h>

#include <cstddef>
#include <string>
#include <vector>

#include "arguments.h"
#include "leaf/leaf_parameters.h"

// The leaf parameters of a call, as leaf() takes them and canopy() receives them (a Leaf that
// leaf() returned, or a dict of the same names).
namespace tulmera::python {

// The leaf parameters of a call: the model and the values of the parameters it reads, in the
// model's order (leaf::ModelParameters), each possibly an array.
struct LeafArguments {
    leaf::LeafModel model = leaf::LeafModel::Classic;
    std::vector<NumericArgument> values;
    std::vector<double leaf::LeafParameters::*> fields;  // the field of each value
};

// The leaf parameters of leaf(N, Cab, Cw, Cm, model, **pigments): defaults N 1.5, Cab 40,
// Cw 0.01 and, when `Cm` is None, Cm 0.009 (classic and PROSPECT-D; PROSPECT-PRO reads Prot
// and CBC instead). A pigment or constituent the model does not read must be absent or 0.
// Throws py::value_error for an unknown name, a parameter the model does not read, or a value
// that is not a number.
LeafArguments ReadLeafArguments(const py::object& N, const py::object& Cab, const py::object& Cw,
                                const py::object& Cm, const std::string& model,
                                const py::dict& pigments);

// The leaf parameters canopy(leaf=...) names: None (leaf()'s defaults), a Leaf returned by
// leaf(), or a dict of leaf()'s arguments. Throws py::value_error for anything else.
LeafArguments LeafArgumentsOf(const py::object& leaf);

// Throws py::value_error naming the first value outside its accepted range: N 1 to 100,
// Cab 0 to 10000 µg/cm², Cw 0 to 10 cm, Cm above 0 up to 10 g/cm² (the main window's domain),
// Car and Anth 0 to 10000 µg/cm², Cbrown 0 to 1, Prot and CBC 0 to 10 g/cm².
void CheckLeafArguments(const LeafArguments& leaf);

// The raw values of the arguments, read while the GIL is released.
class LeafRows {
public:
    explicit LeafRows(const LeafArguments& leaf);
    leaf::LeafParameters At(std::size_t row) const;

private:
    leaf::LeafModel model_;
    std::vector<NumericArgument> values_;
    std::vector<double leaf::LeafParameters::*> fields_;
};

}  // namespace tulmera::python
