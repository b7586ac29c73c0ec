#include <pybind11/pybind11.h>

#include "module_parts.h"
#include "tulmera_version.h"

// The module `tulmera`: the program's leaf and canopy models, look-up tables, fits, sensor
// bands and indices, taking and giving numpy arrays.
PYBIND11_MODULE(tulmera, m)
{
    m.doc() =
        "Tulmera's leaf (PROSPECT) and canopy (SAILH) models from Python, with numpy arrays in\n"
        "and out: leaf(), canopy(), lut(), read_table(), fit_leaf(), fit_canopy(), bands(),\n"
        "indices(), gsa(), wavelengths(). Every value equals the one tulmera-batch computes for "
        "the\n"
        "same inputs. Bad input raises ValueError naming the argument.";
    m.attr("__version__") = tulmera::kVersion;
    tulmera::python::DefineLeaf(m);
    tulmera::python::DefineCanopy(m);
    tulmera::python::DefineTables(m);
    tulmera::python::DefineLeafFit(m);
    tulmera::python::DefineSensors(m);
    tulmera::python::DefineGsa(m);
}
