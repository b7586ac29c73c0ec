#include "multi/sweep_quantity.h"

#include "sensor/band_values.h"
#include "sensor/indices.h"
#include "textio/number_text.h"

namespace tulmera::multi {
namespace {

constexpr std::string_view kBandWord = " band ";

std::optional<SweepQuantity> IndexNamed(std::string_view text)
{
    for (std::size_t i = 0; i < sensor::kIndices.size(); ++i) {
        if (sensor::kIndices[i].name == text) {
            return SweepQuantity{SweepQuantity::Kind::Index, i, nullptr, 0, std::string(text)};
        }
    }
    return std::nullopt;
}

std::optional<SweepQuantity> BandNamed(std::string_view text)
{
    const std::size_t at = text.rfind(kBandWord);
    if (at == std::string_view::npos) return std::nullopt;
    const sensor::Sensor* found = sensor::FindSensor(text.substr(0, at));
    if (found == nullptr) return std::nullopt;
    const std::string_view band = text.substr(at + kBandWord.size());
    for (std::size_t i = 0; i < found->bands.size(); ++i) {
        if (sensor::BandName(*found, i) == band) {
            return SweepQuantity{SweepQuantity::Kind::Band, 0, found, i, std::string(text)};
        }
    }
    return std::nullopt;
}

std::optional<SweepQuantity> WavelengthNamed(std::string_view text)
{
    std::string_view number = text;
    if (number.ends_with(" nm")) number.remove_suffix(3);
    const std::optional<double> nm = textio::ParseNumberText(number);
    if (!nm) return std::nullopt;
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        if (static_cast<double>(spectral::WavelengthNm(i)) == *nm) {
            return SweepQuantity{SweepQuantity::Kind::Wavelength, static_cast<std::size_t>(i),
                                 nullptr, 0, std::to_string(spectral::WavelengthNm(i)) + " nm"};
        }
    }
    return std::nullopt;
}

std::optional<SweepQuantity> FluxNamed(std::string_view text)
{
    for (std::size_t i = 0; i < kFluxQuantityNames.size(); ++i) {
        if (kFluxQuantityNames[i] == text) {
            return SweepQuantity{SweepQuantity::Kind::Flux, i, nullptr, 0, std::string(text)};
        }
    }
    return std::nullopt;
}

double FluxOf(const FluxScalars& f, std::size_t index)
{
    const std::array<double, 5> values = {f.fAPAR, f.fCover, f.albedoPar, f.albedoNir,
                                          f.albedoShortwave};
    return values[index];
}

}  // namespace

std::optional<SweepQuantity> ParseSweepQuantity(std::string_view text, bool withFluxes)
{
    if (auto index = IndexNamed(text)) return index;
    if (withFluxes) {
        if (auto flux = FluxNamed(text)) return flux;
    }
    if (auto band = BandNamed(text)) return band;
    return WavelengthNamed(text);
}

std::optional<double> QuantityValue(const SweepQuantity& quantity,
                                    const spectral::Spectrum& canopyReflPct,
                                    const std::optional<FluxScalars>& fluxes)
{
    if (quantity.kind == SweepQuantity::Kind::Flux) {
        return fluxes ? std::optional<double>(FluxOf(*fluxes, quantity.index)) : std::nullopt;
    }
    const spectral::Spectrum rho = sensor::FractionOfPercent(canopyReflPct);
    switch (quantity.kind) {
        case SweepQuantity::Kind::Index:
            return sensor::ComputeIndices(rho)[quantity.index];
        case SweepQuantity::Kind::Band:
            return sensor::BandMean(rho, quantity.sensor->bands[quantity.band]);
        case SweepQuantity::Kind::Wavelength:
            return rho[quantity.index];
        case SweepQuantity::Kind::Flux:
            break;  // above
    }
    return std::nullopt;
}

std::vector<std::optional<double>> QuantityValues(
    const SweepQuantity& quantity, const std::vector<spectral::Spectrum>& canopyReflPct,
    const std::vector<std::optional<FluxScalars>>& fluxes)
{
    std::vector<std::optional<double>> values;
    values.reserve(canopyReflPct.size());
    for (std::size_t i = 0; i < canopyReflPct.size(); ++i) {
        values.push_back(QuantityValue(quantity, canopyReflPct[i],
                                       i < fluxes.size() ? fluxes[i] : std::nullopt));
    }
    return values;
}

std::vector<std::string> SweepQuantityNames(bool withFluxes)
{
    std::vector<std::string> names;
    for (const sensor::IndexInfo& index : sensor::kIndices) names.emplace_back(index.name);
    names.emplace_back("800 nm");
    names.emplace_back("670 nm");
    if (withFluxes) names.insert(names.end(), kFluxQuantityNames.begin(), kFluxQuantityNames.end());
    for (const sensor::Sensor& known : sensor::kSensors) {
        for (std::size_t i = 0; i < known.bands.size(); ++i) {
            names.push_back(std::string(known.name) + std::string(kBandWord)
                            + sensor::BandName(known, i));
        }
    }
    return names;
}

}  // namespace tulmera::multi
