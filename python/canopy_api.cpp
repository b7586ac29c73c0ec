#include <algorithm>

#include "arguments.h"
#include "engine/engine.h"
#include "engine_rows.h"
#include "leaf_arguments.h"
#include "module_parts.h"
#include "results.h"
#include "scene.h"

namespace tulmera::python {
namespace {

constexpr auto kGridSize = static_cast<py::ssize_t>(spectral::kWavelengthCount);

// What canopy() returns.
struct CanopyResult {
    py::object reflectance;                                  // float64, shape (..., 421)
    py::object fapar, fcover, albedo, albedoPar, albedoNir;  // floats or arrays; None without
};

// The canopy's numeric arguments, in this order, after the leaf's.
enum CanopyValue { kLai, kSun, kView, kAzimuth, kHotSpot, kVisibility, kCanopyValueCount };

// The rows on the exact path, as tulmera-batch canopy computes them, bit for bit.
CanopyResult ExactCanopy(const LeafRows& leafRows, const std::vector<NumericArgument>& value,
                         const std::vector<py::ssize_t>& shape, const std::string& lidfText,
                         const std::string& soilText, canopy::SkyMix mix, bool fluxes,
                         int threadCount, const std::function<std::string(std::size_t)>& describe)
{
    py::array_t<double> refl = NewArray(shape, kGridSize);
    std::array<py::array_t<double>, 5> scalars = {NewArray(shape), NewArray(shape), NewArray(shape),
                                                  NewArray(shape), NewArray(shape)};
    double* reflOut = refl.mutable_data();
    std::array<double*, 5> scalarOut{};
    for (std::size_t k = 0; k < scalars.size(); ++k) scalarOut[k] = scalars[k].mutable_data();
    RunRows(
        RowCount(shape), threadCount,
        [&](std::size_t row) {
            const canopy::CanopyInputs inputs{value[kLai].At(row),
                                              value[kSun].At(row),
                                              value[kView].At(row),
                                              value[kAzimuth].At(row),
                                              value[kHotSpot].At(row),
                                              lidfText,
                                              soilText,
                                              VisibilityOf(value[kVisibility].At(row)),
                                              mix};
            const SceneResult scene = SimulateScene(leafRows.At(row), inputs, fluxes);
            std::copy(scene.reflectance.begin(), scene.reflectance.end(),
                      reflOut + row * scene.reflectance.size());
            if (!scene.fluxes) return;
            const canopy::CanopyFluxes& f = *scene.fluxes;
            const double kept[] = {f.fAPAR, f.fCover, f.albedoShortwave, f.albedoPar, f.albedoNir};
            for (std::size_t k = 0; k < scalarOut.size(); ++k) scalarOut[k][row] = kept[k];
        },
        describe);
    CanopyResult result{refl, py::none(), py::none(), py::none(), py::none(), py::none()};
    if (fluxes) {
        result.fapar = Unwrapped(scalars[0]);
        result.fcover = Unwrapped(scalars[1]);
        result.albedo = Unwrapped(scalars[2]);
        result.albedoPar = Unwrapped(scalars[3]);
        result.albedoNir = Unwrapped(scalars[4]);
    }
    return result;
}

CanopyResult Canopy(const py::object& leaf, const py::object& lai, const py::object& sun,
                    const py::object& view, const py::object& azimuth, const py::object& hotspot,
                    const std::string& lidf, const std::string& soil, const py::object& visibility,
                    const std::string& skyMix, bool fluxes, const py::object& threads, bool exact)
{
    LeafArguments leafArguments = LeafArgumentsOf(leaf);
    CheckLeafArguments(leafArguments);
    std::vector<NumericArgument> canopyValues = {
        ToNumeric("lai", lai),         ToNumeric("sun", sun),
        ToNumeric("view", view),       ToNumeric("azimuth", azimuth),
        ToNumeric("hotspot", hotspot), ToNumeric("visibility", visibility)};
    using domain::Input;
    const Input ranged[] = {Input::Lai, Input::SunZenith, Input::ViewAngle, Input::RelAzimuth,
                            Input::HotSpot};
    for (int k = kLai; k <= kHotSpot; ++k) {
        CheckRange(canopyValues[static_cast<std::size_t>(k)], domain::AcceptedRange(ranged[k]));
    }
    const NumericArgument& km = canopyValues[kVisibility];
    for (py::ssize_t i = 0; i < km.values.size(); ++i) VisibilityOf(km.values.data()[i]);
    const std::string lidfText = LeafArchitectureText(lidf), soilText = SoilText(soil);
    const canopy::SkyMix mix = SkyMixOf(skyMix);
    const int threadCount = ThreadCount(threads);

    std::vector<NumericArgument> all = leafArguments.values;
    all.insert(all.end(), canopyValues.begin(), canopyValues.end());
    const std::vector<py::ssize_t> shape = Broadcast(all);
    const std::size_t leafCount = leafArguments.values.size();
    std::copy(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(leafCount),
              leafArguments.values.begin());
    const std::vector<NumericArgument> value(all.begin() + static_cast<std::ptrdiff_t>(leafCount),
                                             all.end());

    const LeafRows leafRows(leafArguments);
    const std::size_t count = RowCount(shape);
    const auto describe = [&](std::size_t row) {
        std::string text;
        for (const NumericArgument& argument : all) {
            text += (text.empty() ? "" : ", ") + argument.name + "=" + ValueText(argument.At(row));
        }
        return text;
    };
    if (shape.empty() || exact)
        return ExactCanopy(leafRows, value, shape, lidfText, soilText, mix, fluxes, threadCount,
                           describe);

    CanopyRowsRequest request{&leafRows, value,  lidfText, soilText,
                              mix,       fluxes, count,    threadCount};
    CanopyRows rows;
    RunFailingRows(count, describe, [&](const std::atomic<bool>* cancel) {
        rows = ComputeCanopyRows(request, cancel);
    });
    CanopyResult result{AdoptedArray(std::move(rows.refl), shape, kGridSize),
                        py::none(),
                        py::none(),
                        py::none(),
                        py::none(),
                        py::none()};
    if (fluxes) {
        result.fapar = AdoptedArray(std::move(rows.fluxes[0]), shape);
        result.fcover = AdoptedArray(std::move(rows.fluxes[1]), shape);
        result.albedo = AdoptedArray(std::move(rows.fluxes[2]), shape);
        result.albedoPar = AdoptedArray(std::move(rows.fluxes[3]), shape);
        result.albedoNir = AdoptedArray(std::move(rows.fluxes[4]), shape);
    }
    return result;
}

}  // namespace

void DefineCanopy(py::module_& m)
{
    py::class_<CanopyResult>(m, "Canopy",
                             "The reflectance and radiation budget of a canopy, as canopy() "
                             "returns them.")
        .def_readonly("reflectance", &CanopyResult::reflectance,
                      "Canopy reflectance in the view direction, fractions 0 .. 1, shape "
                      "(..., 421): the values tulmera-batch canopy writes to \"VS.dat\".")
        .def_readonly("fapar", &CanopyResult::fapar,
                      "Fraction of absorbed photosynthetically active radiation: the canopy's "
                      "absorptance averaged over 400 .. 700 nm (None with fluxes=False).")
        .def_readonly("fcover", &CanopyResult::fcover,
                      "Fraction of the ground the leaves cover seen from nadir: 1 - the gap "
                      "fraction at view 0.")
        .def_readonly("albedo", &CanopyResult::albedo,
                      "Shortwave albedo: the canopy's albedo averaged over 400 .. 2500 nm.")
        .def_readonly("albedo_par", &CanopyResult::albedoPar, "Albedo over 400 .. 700 nm.")
        .def_readonly("albedo_nir", &CanopyResult::albedoNir, "Albedo over 700 .. 1300 nm.")
        .def("__repr__", [](const CanopyResult& r) {
            return "<tulmera.Canopy reflectance shape "
                   + std::string(py::str(r.reflectance.attr("shape"))) + ">";
        });

    m.def("canopy", &Canopy, py::arg("leaf") = py::none(), py::arg("lai") = 3.0,
          py::arg("sun") = 30.0, py::arg("view") = 0.0, py::arg("azimuth") = 0.0,
          py::arg("hotspot") = 0.1, py::arg("lidf") = "spherical", py::arg("soil") = "S1",
          py::arg("visibility") = 15.0, py::arg("sky_mix") = "classic", py::kw_only(),
          py::arg("fluxes") = true, py::arg("threads") = py::none(), py::arg("exact") = false,
          "canopy(leaf=None, lai=3, sun=30, view=0, azimuth=0, hotspot=0.1, lidf=\"spherical\",\n"
          "       soil=\"S1\", visibility=15, sky_mix=\"classic\", *, fluxes=True, threads=None,\n"
          "       exact=False)"
          " -> Canopy\n\n"
          "The reflectance of a canopy from 400 to 2500 nm with the SAILH model, with its\n"
          "fAPAR, fCover and albedos: the same numbers as tulmera-batch canopy (the leaf\n"
          "spectra reach the canopy model as the leaf file passes them, at 15 digits).\n\n"
          "leaf        a Leaf from leaf(), a dict of leaf()'s arguments, or None (leaf()'s\n"
          "            defaults); its parameters broadcast with the canopy's\n"
          "lai         leaf area index, above 0 up to 100\n"
          "sun         sun zenith angle, degrees, 0 to 90\n"
          "view        view angle, degrees, -90 to 90 (the model uses its magnitude)\n"
          "azimuth     relative azimuth between sun and view, degrees, 0 to 360\n"
          "hotspot     hot-spot parameter, 0 to 100 (0: no hot spot)\n"
          "lidf        \"planophile\", \"erectophile\", \"plagiophile\", \"extremophile\" or\n"
          "            \"spherical\" (or the list's Spanish texts)\n"
          "soil        \"S1\" .. \"S4\"\n"
          "visibility  atmospheric visibility, 15 or 50 km\n"
          "sky_mix     \"classic\" (the program's) or \"physical\"\n"
          "fluxes      False skips fAPAR, fCover and albedos (None then), which cost as much\n"
          "            again as the reflectance\n\n"
          "Every number may be a numpy array; all broadcast together (the leaf's too) and\n"
          "the results get the broadcast shape (spectra followed by 421), computed on\n"
          "`threads` threads (None: every core) with the GIL released; Ctrl-C stops them\n"
          "(KeyboardInterrupt). With numbers only, the canopy is computed as tulmera-batch\n"
          "canopy computes it, to the last bit. Arrays run on the vectorised engine, which\n"
          "agrees with it within 1e-12 relative and gives the bits of tulmera-batch lut's\n"
          "rows; exact=True computes arrays row by row as the scalar form does (bit for bit,\n"
          "about 3 times slower). The thread count never changes a bit. Raises ValueError\n"
          "naming the argument for a value outside its range, arrays that do not broadcast,\n"
          "an unknown name or a model failure.");
}

}  // namespace tulmera::python
