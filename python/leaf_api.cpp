#include <algorithm>

#include "arguments.h"
#include "engine/engine.h"
#include "engine_rows.h"
#include "leaf/leaf_models.h"
#include "leaf_arguments.h"
#include "module_parts.h"
#include "results.h"
#include "scene.h"
#include "spectral/grid.h"

namespace tulmera::python {
namespace {

constexpr auto kGridSize = static_cast<py::ssize_t>(spectral::kWavelengthCount);

// What leaf() returns.
struct LeafResult {
    py::object reflectance;    // float64, shape (..., 421)
    py::object transmittance;  // likewise
    std::string model;         // "classic", "prospect-d" or "prospect-pro"
    py::dict parameters;       // the parameters the model read, as given: floats or arrays
};

py::array_t<double> Wavelengths()
{
    py::array_t<double> grid(kGridSize);
    double* out = grid.mutable_data();
    for (int i = 0; i < spectral::kWavelengthCount; ++i) out[i] = spectral::WavelengthNm(i);
    return grid;
}

std::string Describe(const LeafArguments& leaf, std::size_t row)
{
    std::string text;
    for (const NumericArgument& argument : leaf.values) {
        text += (text.empty() ? "" : ", ") + argument.name + "=" + ValueText(argument.At(row));
    }
    return text;
}

LeafResult Leaf(const py::object& N, const py::object& Cab, const py::object& Cw,
                const py::object& Cm, const std::string& model, const py::object& threads,
                bool exact, const py::kwargs& pigments)
{
    LeafArguments arguments = ReadLeafArguments(N, Cab, Cw, Cm, model, pigments);
    CheckLeafArguments(arguments);
    py::dict given;  // as given, before broadcasting: canopy() broadcasts them again
    for (const NumericArgument& argument : arguments.values) {
        given[argument.name.c_str()] = Unwrapped(argument.values);
    }
    const std::vector<py::ssize_t> shape = Broadcast(arguments.values);
    const int threadCount = ThreadCount(threads);
    const LeafRows rows(arguments);
    const std::size_t count = RowCount(shape);
    const std::string modelName(leaf::LeafModelName(arguments.model));
    const auto describe = [&](std::size_t row) { return Describe(arguments, row); };
    if (!shape.empty() && !exact) {
        LeafSpectraRows spectra;
        RunFailingRows(count, describe, [&](const std::atomic<bool>* cancel) {
            spectra = ComputeLeafRows(rows, count, threadCount, cancel);
        });
        return {AdoptedArray(std::move(spectra.refl), shape, kGridSize),
                AdoptedArray(std::move(spectra.trans), shape, kGridSize), modelName, given};
    }
    py::array_t<double> refl = NewArray(shape, kGridSize), trans = NewArray(shape, kGridSize);
    double* reflOut = refl.mutable_data();
    double* transOut = trans.mutable_data();
    RunRows(
        count, threadCount,
        [&](std::size_t row) {
            const leaf::LeafSpectrum s = SimulateLeaf(rows.At(row));
            std::copy(s.refl.begin(), s.refl.end(), reflOut + row * s.refl.size());
            std::copy(s.trans.begin(), s.trans.end(), transOut + row * s.trans.size());
        },
        describe);
    return {refl, trans, modelName, given};
}

}  // namespace

void DefineLeaf(py::module_& m)
{
    m.def("wavelengths", &Wavelengths,
          "wavelengths() -> numpy.ndarray\n\n"
          "The 421 grid wavelengths in nm, 400 to 2500 in steps of 5: the last axis of every\n"
          "spectrum the module returns or takes.");

    py::class_<LeafResult>(m, "Leaf",
                           "The spectra of one leaf or of an array of leaves, as leaf() returns "
                           "them.")
        .def_readonly("reflectance", &LeafResult::reflectance,
                      "Hemispherical reflectance, fractions 0 .. 1, shape (..., 421).")
        .def_readonly("transmittance", &LeafResult::transmittance,
                      "Hemispherical transmittance, fractions 0 .. 1, shape (..., 421).")
        .def_readonly("model", &LeafResult::model,
                      "The leaf model: \"classic\", \"prospect-d\" or \"prospect-pro\".")
        .def_readonly("parameters", &LeafResult::parameters,
                      "The parameters the model read, by name, as given (floats or arrays).")
        .def("__repr__", [](const LeafResult& r) {
            return "<tulmera.Leaf " + r.model + ", reflectance shape "
                   + std::string(py::str(r.reflectance.attr("shape"))) + ">";
        });

    m.def("leaf", &Leaf, py::arg("N") = 1.5, py::arg("Cab") = 40.0, py::arg("Cw") = 0.01,
          py::arg("Cm") = py::none(), py::arg("model") = "classic", py::kw_only(),
          py::arg("threads") = py::none(), py::arg("exact") = false,
          "leaf(N=1.5, Cab=40, Cw=0.01, Cm=0.009, model=\"classic\", *, threads=None, "
          "exact=False,\n     **pigments) -> Leaf\n\n"
          "The leaf reflectance and transmittance from 400 to 2500 nm of the PROSPECT model:\n"
          "\"classic\" (N, Cab, Cw, Cm), \"prospect-d\" (also Car, Anth, Cbrown) or\n"
          "\"prospect-pro\" (Prot and CBC in place of Cm), the same numbers as\n"
          "tulmera-batch leaf writes.\n\n"
          "N      leaf structure, 1 to 100\n"
          "Cab    chlorophyll a+b, µg/cm², 0 to 10000\n"
          "Cw     equivalent water thickness, cm, 0 to 10\n"
          "Cm     dry matter, g/cm², above 0 up to 10 (default 0.009; not read by\n"
          "       prospect-pro)\n"
          "pigments: Car, Anth (µg/cm², 0 to 10000), Cbrown (0 to 1), Prot, CBC (g/cm²,\n"
          "       0 to 10), each 0 unless given, only for the models that read them.\n\n"
          "Every number may be a numpy array: the arrays broadcast together and the spectra\n"
          "get the broadcast shape followed by 421, computed on `threads` threads (None:\n"
          "every core) with the GIL released; Ctrl-C stops them (KeyboardInterrupt). Numbers\n"
          "only give the leaf model's own doubles; arrays run on the vectorised engine,\n"
          "within 1e-12 relative of them (exact=True: row by row, bit for bit). Raises\n"
          "ValueError naming the argument for a value outside its range, arrays that do not\n"
          "broadcast, an unknown name or a model failure.");
}

}  // namespace tulmera::python
