#include "gsa/quantities.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "sensor/band_tables.h"
#include "sensor/band_values.h"
#include "sensor/indices.h"
#include "textio/error.h"

namespace tulmera::gsa {
namespace {

constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();

const sensor::Sensor& SensorOf(const GsaSpec& spec)
{
    const sensor::Sensor* found = sensor::FindSensor(spec.sensor);
    if (!found) throw Error("\"" + spec.sensor + "\" is not a sensor of the list.");
    return *found;
}

void AppendOptional(const std::optional<double>& value, std::vector<double>& out)
{
    out.push_back(value ? *value : kUndefined);
}

}  // namespace

bool NeedsFluxes(const GsaSpec& spec)
{
    return std::ranges::find(spec.quantities, QuantitySet::Fluxes) != spec.quantities.end();
}

std::vector<std::string> QuantityNames(const GsaSpec& spec)
{
    std::vector<std::string> names;
    for (const QuantitySet set : spec.quantities) {
        switch (set) {
            case QuantitySet::Spectrum:
                for (int i = 0; i < spectral::kWavelengthCount; ++i) {
                    names.push_back(std::to_string(spectral::WavelengthNm(i)));
                }
                break;
            case QuantitySet::Indices:
                for (const sensor::IndexInfo& index : sensor::kIndices) {
                    names.emplace_back(index.name);
                }
                break;
            case QuantitySet::Fluxes:
                for (const char* name :
                     {"fAPAR", "fCover", "albedoPAR", "albedoNIR", "albedoShortwave"}) {
                    names.emplace_back(name);
                }
                break;
            case QuantitySet::Bands: {
                const sensor::Sensor& bands = SensorOf(spec);
                for (std::size_t b = 0; b < bands.bands.size(); ++b) {
                    names.push_back(sensor::BandName(bands, b));
                }
                break;
            }
        }
    }
    return names;
}

void AppendQuantities(const GsaSpec& spec, const double* reflectance,
                      const engine::FluxScalars& fluxes, std::vector<double>& out)
{
    std::optional<spectral::Spectrum> spectrum;  // copied once, for the indices and bands
    const auto whole = [&]() -> const spectral::Spectrum& {
        if (!spectrum) {
            spectrum.emplace();
            std::copy(reflectance, reflectance + spectral::kWavelengthCount, spectrum->begin());
        }
        return *spectrum;
    };
    for (const QuantitySet set : spec.quantities) {
        switch (set) {
            case QuantitySet::Spectrum:
                out.insert(out.end(), reflectance, reflectance + spectral::kWavelengthCount);
                break;
            case QuantitySet::Indices:
                for (const std::optional<double>& value : sensor::ComputeIndices(whole())) {
                    AppendOptional(value, out);
                }
                break;
            case QuantitySet::Fluxes:
                out.insert(out.end(), {fluxes.fAPAR, fluxes.fCover, fluxes.albedoPar,
                                       fluxes.albedoNir, fluxes.albedoShortwave});
                break;
            case QuantitySet::Bands:
                for (const std::optional<double>& value :
                     sensor::BandMeans(whole(), SensorOf(spec))) {
                    AppendOptional(value, out);
                }
                break;
        }
    }
}

}  // namespace tulmera::gsa
