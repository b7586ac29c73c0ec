#include "spectrum_argument.h"

#include <algorithm>
#include <cmath>

#include "arguments.h"

namespace tulmera::python {

SpectraArgument ToSpectra(const std::string& name, const py::object& value, bool missingAllowed)
{
    SpectraArgument spectra;
    spectra.values = ToNumeric(name, value).values;
    const py::array& array = spectra.values;
    if (array.ndim() == 0 || array.shape(array.ndim() - 1) != spectral::kWavelengthCount) {
        throw py::value_error(name + " must hold spectra on the grid: its last axis must have "
                              "421 values, 400 to 2500 nm (tulmera.wavelengths()).");
    }
    for (py::ssize_t d = 0; d + 1 < array.ndim(); ++d) spectra.shape.push_back(array.shape(d));
    spectra.rows = static_cast<std::size_t>(array.size()) / spectral::kWavelengthCount;
    const double* data = spectra.values.data();
    for (std::size_t i = 0; i < static_cast<std::size_t>(array.size()); ++i) {
        if (std::isfinite(data[i]) || (missingAllowed && std::isnan(data[i]))) continue;
        const std::size_t row = i / spectral::kWavelengthCount;
        const int nm = spectral::WavelengthNm(static_cast<int>(i % spectral::kWavelengthCount));
        throw py::value_error(name + " holds " + ValueText(data[i]) + " at " + std::to_string(nm)
                              + " nm" + (spectra.rows > 1 ? " of row " + std::to_string(row) : "")
                              + (missingAllowed ? "; NaN marks a wavelength not measured, "
                                                  "nothing else may be infinite."
                                                : "; every value must be finite."));
    }
    return spectra;
}

measured::GridValues GridValuesOf(const SpectraArgument& spectra, std::size_t row,
                                  const std::string& name)
{
    measured::GridValues grid{};
    const double* values = spectra.Row(row);
    for (std::size_t i = 0; i < grid.size(); ++i) {
        if (!std::isnan(values[i])) grid[i] = values[i];
    }
    if (measured::DataCount(grid) < measured::kMinGridPoints) {
        throw py::value_error(name + (spectra.rows > 1 ? " row " + std::to_string(row) : "")
                              + " has " + std::to_string(measured::DataCount(grid))
                              + " measured wavelengths; a fit needs at least "
                              + std::to_string(measured::kMinGridPoints) + ".");
    }
    return grid;
}

spectral::Spectrum SpectrumOf(const SpectraArgument& spectra, std::size_t row)
{
    spectral::Spectrum spectrum{};
    std::copy(spectra.Row(row), spectra.Row(row) + spectrum.size(), spectrum.begin());
    return spectrum;
}

}  // namespace tulmera::python
