#include <optional>

#include "arguments.h"
#include "fit/leaf_fit.h"
#include "module_parts.h"
#include "results.h"
#include "spectrum_argument.h"

namespace tulmera::python {
namespace {

// What fit_leaf() returns for each spectrum.
struct LeafFit {
    double N, Cab, Cw, Cm;
    py::object rmseR, rmseT;  // percent reflectance; None without that spectrum
    int evaluations;

    py::dict Parameters() const
    {
        py::dict p;
        p["N"] = N;
        p["Cab"] = Cab;
        p["Cw"] = Cw;
        p["Cm"] = Cm;
        return p;
    }
};

py::object FitLeaf(const py::object& R, const py::object& T, bool subdomains,
                   const py::object& threads)
{
    if (R.is_none() && T.is_none()) {
        throw py::value_error("fit_leaf needs R (reflectance), T (transmittance) or both.");
    }
    std::optional<SpectraArgument> reflectance, transmittance;
    if (!R.is_none()) reflectance = ToSpectra("R", R, true);
    if (!T.is_none()) transmittance = ToSpectra("T", T, true);
    if (reflectance && transmittance && reflectance->shape != transmittance->shape) {
        throw py::value_error("R and T must hold the same number of spectra (the same shape).");
    }
    const SpectraArgument& first = reflectance ? *reflectance : *transmittance;
    std::vector<fit::LeafFitTarget> targets(first.rows);
    for (std::size_t row = 0; row < first.rows; ++row) {
        if (reflectance) targets[row].reflectance = GridValuesOf(*reflectance, row, "R");
        if (transmittance) targets[row].transmittance = GridValuesOf(*transmittance, row, "T");
    }
    const int threadCount = ThreadCount(threads);
    std::vector<fit::LeafFitResult> fits(first.rows);
    RunRows(
        first.rows, threadCount,
        [&](std::size_t row) {
            fits[row] = fit::FitLeaf(targets[row], {subdomains, nullptr}).value();
        },
        [](std::size_t) { return std::string("the spectra of that row"); });
    py::list results;
    for (const fit::LeafFitResult& r : fits) {
        const auto optional = [](const std::optional<double>& v) {
            return v ? py::object(py::float_(*v)) : py::object(py::none());
        };
        results.append(LeafFit{r.parameters.N, r.parameters.Cab, r.parameters.Cw, r.parameters.Cm,
                               optional(r.rmseReflectancePercent),
                               optional(r.rmseTransmittancePercent), r.evaluations});
    }
    if (first.shape.empty()) return results[0];
    return results;
}

}  // namespace

void DefineLeafFit(py::module_& m)
{
    py::class_<LeafFit>(m, "LeafFit", "The leaf parameters fit_leaf() found for one spectrum.")
        .def_readonly("N", &LeafFit::N)
        .def_readonly("Cab", &LeafFit::Cab, "µg/cm²")
        .def_readonly("Cw", &LeafFit::Cw, "cm")
        .def_readonly("Cm", &LeafFit::Cm, "g/cm²")
        .def_readonly("rmse_R", &LeafFit::rmseR,
                      "RMSE of the reflectance over the measured points, percent (None without R)")
        .def_readonly("rmse_T", &LeafFit::rmseT, "likewise for the transmittance")
        .def_readonly("evaluations", &LeafFit::evaluations, "model evaluations of the fit")
        .def_property_readonly("parameters", &LeafFit::Parameters,
                               "N, Cab, Cw, Cm as a dict, ready for leaf(**fit.parameters)")
        .def("__repr__", [](const LeafFit& f) {
            return "<tulmera.LeafFit N=" + ValueText(f.N) + " Cab=" + ValueText(f.Cab)
                   + " Cw=" + ValueText(f.Cw) + " Cm=" + ValueText(f.Cm) + ">";
        });
    m.def("fit_leaf", &FitLeaf, py::arg("R") = py::none(), py::arg("T") = py::none(), py::kw_only(),
          py::arg("subdomains") = false, py::arg("threads") = py::none(),
          "fit_leaf(R=None, T=None, *, subdomains=False, threads=None) -> LeafFit | list\n\n"
          "N, Cab, Cw and Cm of the classic leaf model fitted by bounded least squares to a\n"
          "measured reflectance R and/or transmittance T (fractions on the grid of\n"
          "wavelengths(), NaN where not measured; at least 10 measured values), as\n"
          "tulmera-batch fit-leaf fits them. With subdomains, then Cab alone on 700-720 nm\n"
          "and Cw, Cm on 1700-2400 nm. Arrays of spectra (shape (n, 421)) give a list of\n"
          "fits, made on `threads` threads with the GIL released.");
}

}  // namespace tulmera::python
