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

}  // namespace

std::optional<SweepQuantity> ParseSweepQuantity(std::string_view text)
{
    if (auto index = IndexNamed(text)) return index;
    if (auto band = BandNamed(text)) return band;
    return WavelengthNamed(text);
}

std::optional<double> QuantityValue(const SweepQuantity& quantity,
                                    const spectral::Spectrum& canopyReflPct)
{
    const spectral::Spectrum rho = sensor::FractionOfPercent(canopyReflPct);
    switch (quantity.kind) {
        case SweepQuantity::Kind::Index:
            return sensor::ComputeIndices(rho)[quantity.index];
        case SweepQuantity::Kind::Band:
            return sensor::BandMean(rho, quantity.sensor->bands[quantity.band]);
        case SweepQuantity::Kind::Wavelength:
            return rho[quantity.index];
    }
    return std::nullopt;
}

std::vector<std::optional<double>> QuantityValues(
    const SweepQuantity& quantity, const std::vector<spectral::Spectrum>& canopyReflPct)
{
    std::vector<std::optional<double>> values;
    values.reserve(canopyReflPct.size());
    for (const spectral::Spectrum& spectrum : canopyReflPct) {
        values.push_back(QuantityValue(quantity, spectrum));
    }
    return values;
}

std::vector<std::string> SweepQuantityNames()
{
    std::vector<std::string> names;
    for (const sensor::IndexInfo& index : sensor::kIndices) names.emplace_back(index.name);
    names.emplace_back("800 nm");
    names.emplace_back("670 nm");
    for (const sensor::Sensor& known : sensor::kSensors) {
        for (std::size_t i = 0; i < known.bands.size(); ++i) {
            names.push_back(std::string(known.name) + std::string(kBandWord)
                            + sensor::BandName(known, i));
        }
    }
    return names;
}

}  // namespace tulmera::multi
