#include <functional>

#include "arguments.h"
#include "module_parts.h"
#include "sensor/band_values.h"
#include "sensor/indices.h"
#include "spectrum_argument.h"

namespace tulmera::python {
namespace {

// Named values of each spectrum, some undefined (a zero denominator, an empty band).
using NamedValues = std::vector<std::pair<std::string, std::optional<double>>>;

// For a single spectrum, a dict of floats (None where undefined); for an array of spectra, a
// dict of masked arrays of the rows' shape, masked where undefined.
py::dict Collected(const SpectraArgument& spectra,
                   const std::function<NamedValues(const spectral::Spectrum&)>& compute)
{
    std::vector<NamedValues> rows;
    for (std::size_t row = 0; row < spectra.rows; ++row) {
        rows.push_back(compute(SpectrumOf(spectra, row)));
    }
    const NamedValues names = rows.empty() ? compute(spectral::Spectrum{}) : rows.front();
    py::dict result;
    if (spectra.shape.empty()) {
        for (const auto& [name, value] : rows.front()) {
            result[name.c_str()] = value ? py::object(py::float_(*value)) : py::none();
        }
        return result;
    }
    const py::module_ masked = py::module_::import("numpy.ma");
    for (std::size_t k = 0; k < names.size(); ++k) {
        py::array_t<double> data(spectra.shape);
        py::array_t<bool> mask(spectra.shape);
        for (std::size_t row = 0; row < spectra.rows; ++row) {
            const std::optional<double>& value = rows[row][k].second;
            data.mutable_data()[row] = value.value_or(0.0);
            mask.mutable_data()[row] = !value.has_value();
        }
        result[names[k].first.c_str()] = masked.attr("MaskedArray")(data, mask);
    }
    return result;
}

py::dict Bands(const py::object& spectrum, const std::string& sensorName)
{
    const sensor::Sensor& sensor = SensorOf(sensorName);
    const SpectraArgument spectra = ToSpectra("spectrum", spectrum, false);
    return Collected(spectra, [&sensor](const spectral::Spectrum& s) {
        const std::vector<std::optional<double>> means = sensor::BandMeans(s, sensor);
        NamedValues values;
        for (std::size_t i = 0; i < means.size(); ++i) {
            values.emplace_back(sensor::BandName(sensor, i), means[i]);
        }
        return values;
    });
}

py::dict Indices(const py::object& spectrum, const py::object& sensorName)
{
    const sensor::Sensor* sensor =
        sensorName.is_none() ? nullptr : &SensorOf(sensorName.cast<std::string>());
    const SpectraArgument spectra = ToSpectra("spectrum", spectrum, false);
    return Collected(spectra, [sensor](const spectral::Spectrum& s) {
        const sensor::IndexValues indices = sensor::ComputeIndices(s);
        NamedValues values;
        for (std::size_t i = 0; i < indices.size(); ++i) {
            values.emplace_back(std::string(sensor::kIndices[i].name), indices[i]);
        }
        if (sensor) {
            values.emplace_back(std::string(sensor->name) + " NDVI",
                                sensor::BroadbandNdvi(s, *sensor));
        }
        return values;
    });
}

}  // namespace

void DefineSensors(py::module_& m)
{
    py::tuple sensors(sensor::kSensors.size());
    for (std::size_t i = 0; i < sensor::kSensors.size(); ++i) {
        sensors[i] = py::str(std::string(sensor::kSensors[i].name));
    }
    m.attr("sensors") = sensors;
    m.def("bands", &Bands, py::arg("spectrum"), py::arg("sensor"),
          "bands(spectrum, sensor) -> dict\n\n"
          "The band values of a spectrum (shape (..., 421), any unit) for one of the\n"
          "sensors of tulmera.sensors (any case): the mean of the grid samples inside each\n"
          "band, by band name (\"B8A\", or the band's number \"3\"). For one spectrum the\n"
          "values are floats (None for a band without grid samples); for an array of\n"
          "spectra, masked arrays of the leading shape. Raises ValueError for an unknown\n"
          "sensor or a spectrum that is not 421 finite values.");
    m.def("indices", &Indices, py::arg("spectrum"), py::arg("sensor") = py::none(),
          "indices(spectrum, sensor=None) -> dict\n\n"
          "The 17 narrow-band vegetation indices of a reflectance spectrum (fractions,\n"
          "shape (..., 421)): NDVI, EVI, SAVI, MSAVI, OSAVI, NDRE, MTCI, REIP (nm), CIre,\n"
          "CIgreen, NDWI, NDII, MSI, PRI, MCARI, TCARI/OSAVI, ARI, as tulmera-batch indices\n"
          "prints them; with a sensor also its broadband NDVI under \"<sensor> NDVI\". An\n"
          "undefined index (a zero denominator) is None, or masked in arrays.");
}

}  // namespace tulmera::python
