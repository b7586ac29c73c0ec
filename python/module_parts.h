#pragma once
#include <pybind11/pybind11.h>

// The parts of the module `tulmera`, each defining its functions and classes on it.
namespace tulmera::python {

namespace py = pybind11;

void DefineLeaf(py::module_& m);     // wavelengths, leaf, Leaf
void DefineCanopy(py::module_& m);   // canopy, Canopy
void DefineTables(py::module_& m);   // lut, read_table, Table, fit_canopy, CanopyFit
void DefineLeafFit(py::module_& m);  // fit_leaf, LeafFit
void DefineSensors(py::module_& m);  // bands, indices
void DefineGsa(py::module_& m);      // gsa, Sensitivity

}  // namespace tulmera::python
