#include <algorithm>
#include <optional>

#include "arguments.h"
#include "gsa/gsa_files.h"
#include "gsa/gsa_run.h"
#include "gsa/quantities.h"
#include "interruptible.h"
#include "module_parts.h"
#include "sensor/band_tables.h"
#include "table_arguments.h"
#include "textio/error.h"

namespace tulmera::python {
namespace {

// As tulmera-batch gsa: base samples a power of two up to 2^20, the design's outputs held in
// memory up to 2^28 values (2 GiB), at most 100,000 bootstrap resamples.
constexpr std::uint64_t kMostSamples = std::uint64_t{1} << 20;
constexpr std::uint64_t kMostHeldValues = std::uint64_t{1} << 28;
constexpr double kMostBootstrap = 100000;

// What gsa() returns.
struct GsaResult {
    py::tuple quantities, parameters;
    // Each (quantities, parameters), masked for a quantity without indices.
    py::object S1, S1Low, S1High, ST, STLow, STHigh;
    std::string settings;
};

std::vector<gsa::QuantitySet> QuantitiesOf(const py::object& quantity, std::string& sensorName)
{
    std::vector<std::string> texts;
    if (py::isinstance<py::str>(quantity)) {
        texts.push_back(quantity.cast<std::string>());
    } else if (py::isinstance<py::sequence>(quantity) && py::len(quantity) > 0) {
        for (const py::handle item : quantity) {
            if (!py::isinstance<py::str>(item)) {
                throw py::value_error("quantity must be a name or a list of names.");
            }
            texts.push_back(item.cast<std::string>());
        }
    } else {
        throw py::value_error("quantity must be a name or a list of names.");
    }
    std::vector<gsa::QuantitySet> sets;
    for (const std::string& text : texts) {
        gsa::QuantitySet set = gsa::QuantitySet::Bands;
        if (text == "spectrum") {
            set = gsa::QuantitySet::Spectrum;
        } else if (text == "indices") {
            set = gsa::QuantitySet::Indices;
        } else if (text == "fluxes") {
            set = gsa::QuantitySet::Fluxes;
        } else if (!sensorName.empty()) {
            throw py::value_error("quantity \"" + text
                                  + "\": an analysis explains the bands of one sensor only.");
        } else {
            sensorName = std::string(SensorOf(text).name);  // else a ValueError listing them
        }
        if (std::find(sets.begin(), sets.end(), set) != sets.end()) {
            throw py::value_error("quantity \"" + text + "\" is given twice.");
        }
        sets.push_back(set);
    }
    return sets;
}

// A (quantities, parameters) array of one estimate of every index, masked where a quantity
// has none.
py::object IndexArray(const std::vector<gsa::QuantityIndices>& indices, std::size_t parameters,
                      double (*read)(const gsa::ParameterIndices&))
{
    const auto rows = static_cast<py::ssize_t>(indices.size());
    const auto columns = static_cast<py::ssize_t>(parameters);
    py::array_t<double> values({rows, columns});
    py::array_t<bool> mask({rows, columns});
    double* value = values.mutable_data();
    bool* masked = mask.mutable_data();
    for (std::size_t q = 0; q < indices.size(); ++q) {
        for (std::size_t p = 0; p < parameters; ++p) {
            const std::size_t at = q * parameters + p;
            masked[at] = !indices[q].has_value();
            value[at] = indices[q] ? read((*indices[q])[p]) : 0.0;
        }
    }
    return py::module_::import("numpy.ma").attr("MaskedArray")(values, mask);
}

GsaResult Gsa(const py::object& ranges, const py::object& samples, const py::object& seed,
              const py::object& quantity, const py::object& bootstrap, const py::object& threads,
              const py::object& N, const py::object& Cab, const py::object& Cw,
              const py::object& Cm, const py::object& lai, const py::object& sun,
              const py::object& view, const py::object& azimuth, const py::object& hotspot,
              const std::string& lidf, const std::string& soil, const py::object& visibility,
              const std::string& skyMix)
{
    gsa::GsaSpec spec;
    spec.model = HeldSpecOf(N, Cab, Cw, Cm, lai, sun, view, azimuth, hotspot, lidf, soil,
                            visibility, skyMix);
    ReadRanges(ranges, spec.model);
    for (std::size_t p = 0; p < spec.model.ranges.size(); ++p) {
        const lut::ParameterRange& range = spec.model.ranges[p];
        if (range.varies && range.lo == range.hi) {
            throw py::value_error("ranges[\"" + std::string(lut::kParameterNames[p])
                                  + "\"] is empty; a varied parameter needs lo < hi.");
        }
    }
    const std::size_t k = gsa::VariedParameters(spec).size();
    if (k < 2) {
        throw py::value_error("ranges must vary at least two parameters (" + std::to_string(k)
                              + " given).");
    }
    spec.samples = WholeOf("samples", samples, 2, static_cast<double>(kMostSamples) + 1,
                           "from 2 to 1048576, a power of two");
    if ((spec.samples & (spec.samples - 1)) != 0) {
        throw py::value_error("samples = " + std::to_string(spec.samples)
                              + " is not a power of two; the Sobol sequence is balanced only "
                                "over powers of two (use 1024, 2048, 4096, ...).");
    }
    spec.seed = WholeOf("seed", seed, 0, kLargestSeed, "from 0 to 999999999999999");
    spec.bootstrap = static_cast<int>(
        WholeOf("bootstrap", bootstrap, 1, kMostBootstrap + 1, "from 1 to 100000"));
    spec.quantities = QuantitiesOf(quantity, spec.sensor);
    const std::vector<std::string> names = gsa::QuantityNames(spec);
    if (spec.samples * (k + 2) * names.size() > kMostHeldValues) {
        throw py::value_error("samples = " + std::to_string(spec.samples)
                              + " would hold more than 2^28 outputs in memory; use fewer "
                                "samples or quantities.");
    }
    const int threadCount = ThreadCount(threads);

    std::vector<gsa::QuantityIndices> indices;
    RunInterruptibly([&](const std::atomic<bool>* cancel) {
        try {
            const gsa::DesignOutputs outputs =
                gsa::ComputeOutputs(spec, {0, spec.samples}, {threadCount, cancel, {}});
            indices = gsa::AnalyseOutputs(spec, outputs, threadCount);
        } catch (const Error& e) {
            throw py::value_error(e.what());
        }
    });

    GsaResult result;
    result.quantities = py::tuple(names.size());
    for (std::size_t q = 0; q < names.size(); ++q) result.quantities[q] = names[q];
    const std::vector<std::string> varied = gsa::VariedNames(spec);
    result.parameters = py::tuple(varied.size());
    for (std::size_t p = 0; p < varied.size(); ++p) result.parameters[p] = varied[p];
    result.S1 = IndexArray(indices, k, [](const gsa::ParameterIndices& i) { return i.S1.value; });
    result.S1Low = IndexArray(indices, k, [](const gsa::ParameterIndices& i) { return i.S1.low; });
    result.S1High =
        IndexArray(indices, k, [](const gsa::ParameterIndices& i) { return i.S1.high; });
    result.ST = IndexArray(indices, k, [](const gsa::ParameterIndices& i) { return i.ST.value; });
    result.STLow = IndexArray(indices, k, [](const gsa::ParameterIndices& i) { return i.ST.low; });
    result.STHigh =
        IndexArray(indices, k, [](const gsa::ParameterIndices& i) { return i.ST.high; });
    result.settings = gsa::SettingsText(spec);
    return result;
}

}  // namespace

void DefineGsa(py::module_& m)
{
    py::class_<GsaResult>(m, "Sensitivity",
                          "The Sobol indices of a sensitivity analysis, as gsa() returns them.")
        .def_readonly("quantities", &GsaResult::quantities,
                      "the quantities explained: wavelengths (\"400\" .. \"2500\"), index, flux "
                      "or band names, the rows of every index array")
        .def_readonly("parameters", &GsaResult::parameters,
                      "the varied parameters in table order, the columns of every index array")
        .def_readonly("S1", &GsaResult::S1,
                      "first-order indices, (quantities, parameters), masked for a quantity "
                      "without indices (undefined or constant over the design)")
        .def_readonly("S1_low", &GsaResult::S1Low, "2.5th bootstrap percentile of S1")
        .def_readonly("S1_high", &GsaResult::S1High, "97.5th bootstrap percentile of S1")
        .def_readonly("ST", &GsaResult::ST, "total-order indices, (quantities, parameters)")
        .def_readonly("ST_low", &GsaResult::STLow, "2.5th bootstrap percentile of ST")
        .def_readonly("ST_high", &GsaResult::STHigh, "97.5th bootstrap percentile of ST")
        .def_readonly("settings", &GsaResult::settings,
                      "the run's settings, as the first line of tulmera-batch gsa's file")
        .def("__repr__", [](const GsaResult& r) {
            return "<tulmera.Sensitivity " + std::to_string(py::len(r.quantities))
                   + " quantities x " + std::to_string(py::len(r.parameters)) + " parameters>";
        });

    m.def("gsa", &Gsa, py::arg("ranges"), py::arg("samples") = 1024, py::kw_only(),
          py::arg("seed") = 0, py::arg("quantity") = "spectrum", py::arg("bootstrap") = 200,
          py::arg("threads") = py::none(), py::arg("N") = 1.5, py::arg("Cab") = 40.0,
          py::arg("Cw") = 0.01, py::arg("Cm") = 0.009, py::arg("lai") = 3.0, py::arg("sun") = 30.0,
          py::arg("view") = 0.0, py::arg("azimuth") = 0.0, py::arg("hotspot") = 0.1,
          py::arg("lidf") = "spherical", py::arg("soil") = "S1", py::arg("visibility") = 15.0,
          py::arg("sky_mix") = "classic",
          "gsa(ranges, samples=1024, *, seed=0, quantity=\"spectrum\", bootstrap=200,\n"
          "    threads=None, N=1.5, Cab=40, Cw=0.01, Cm=0.009, lai=3, sun=30, view=0,\n"
          "    azimuth=0, hotspot=0.1, lidf=\"spherical\", soil=\"S1\", visibility=15,\n"
          "    sky_mix=\"classic\") -> Sensitivity\n\n"
          "Global sensitivity analysis of the leaf + canopy model, as tulmera-batch gsa\n"
          "computes it (the same numbers as its CSV): the first- and total-order Sobol\n"
          "indices, with bootstrap 95 % intervals, of each quantity for the parameters of\n"
          "`ranges` (a dict such as {\"lai\": (0.5, 6), \"Cab\": (10, 80)}, at least two;\n"
          "names N, Cab, Cw, Cm, LAI (or lai), sun, view, azimuth, hotspot), the others held\n"
          "at the keyword values. Saltelli's design over a Sobol sequence of `samples` base\n"
          "rows (a power of two): samples * (k + 2) simulations in memory.\n\n"
          "quantity   \"spectrum\" (every wavelength), \"indices\", \"fluxes\" or a sensor's\n"
          "           name (its bands), or a list of them\n"
          "bootstrap  resamples for the intervals, drawn from `seed`\n\n"
          "Runs on `threads` threads (None: every core) with the GIL released; Ctrl-C stops\n"
          "it (KeyboardInterrupt). The thread count changes no bit. Raises ValueError for a\n"
          "range outside the models' domain, an unknown name or a failing simulation.");
}

}  // namespace tulmera::python
