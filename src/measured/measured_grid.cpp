#include "measured/measured_grid.h"

#include <cmath>

#include "textio/error.h"

namespace tulmera::measured {

MeasuredSpectrum SpectrumOnGrid(const MeasuredTable& table, std::size_t column)
{
    const MeasuredColumn& source = table.columns.at(column);
    MeasuredSpectrum spectrum{
        table.fileName, source.name, {}, source.negativeCount, source.aboveOneCount};
    const std::vector<double>& w = table.wavelengthNm;
    std::size_t next = 0;              // first row at or after the grid wavelength
    std::optional<std::size_t> prior;  // last row with a value before it
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const auto at = static_cast<double>(spectral::WavelengthNm(i));
        for (; next < w.size() && w[next] < at; ++next) {
            if (source.value[next]) prior = next;
        }
        std::size_t after = next;
        while (after < w.size() && !source.value[after]) ++after;
        if (after == w.size()) break;  // no value from here on
        const double valueAfter = *source.value[after];
        if (w[after] == at) {
            spectrum.value[static_cast<std::size_t>(i)] = valueAfter;
        } else if (prior) {
            const double w0 = w[*prior], v0 = *source.value[*prior];
            spectrum.value[static_cast<std::size_t>(i)] =
                v0 + (valueAfter - v0) * (at - w0) / (w[after] - w0);
        }
    }
    if (DataCount(spectrum.value) < kMinGridPoints) {
        throw Error("The measured spectrum \"" + source.name + "\" of \"" + table.fileName
                    + "\" covers " + std::to_string(DataCount(spectrum.value))
                    + " wavelengths of the 5 nm grid from 400 to 2500 nm; at least "
                    + std::to_string(kMinGridPoints) + " are needed.");
    }
    return spectrum;
}

int DataCount(const GridValues& values)
{
    int count = 0;
    for (const std::optional<double>& v : values) count += v ? 1 : 0;
    return count;
}

bool InWaterBand(int wavelengthNm)
{
    return (wavelengthNm >= 1340 && wavelengthNm <= 1450)
           || (wavelengthNm >= 1800 && wavelengthNm <= 1960);
}

ComparedPoints PointsCompared(const GridValues& measured, bool leaveOutWaterBands)
{
    ComparedPoints compared;
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!measured[at] || (leaveOutWaterBands && InWaterBand(spectral::WavelengthNm(i)))) {
            continue;
        }
        compared.index.push_back(at);
        compared.value.push_back(*measured[at]);
    }
    return compared;
}

std::optional<double> RmsePercent(const spectral::Spectrum& model, const GridValues& measured,
                                  bool leaveOutWaterBands)
{
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!measured[at] || (leaveOutWaterBands && InWaterBand(spectral::WavelengthNm(i)))) {
            continue;
        }
        const double difference = (model[at] - *measured[at]) * 100.0;
        sum += difference * difference;
        ++count;
    }
    if (count == 0) return std::nullopt;
    return std::sqrt(sum / count);
}

}  // namespace tulmera::measured
