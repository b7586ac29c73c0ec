#include "plot/chart_readout.h"

#include <cmath>

namespace tulmera::plot {

ChartPoint ChartPointAt(const ChartScale& scale, double X, double Y)
{
    const double x = scale.left + X * (scale.right - scale.left) / (scale.widthPx - 1);
    const double y = scale.top - Y * (scale.top - scale.bottom) / (scale.heightPx - 1);
    return {x, y};
}

double PixelXOf(const ChartScale& scale, int index)
{
    return (spectral::WavelengthNm(index) - scale.left) * (scale.widthPx - 1)
           / (scale.right - scale.left);
}

std::optional<int> NearestSample(double wavelengthNm, int sampleCount)
{
    const double steps =
        (wavelengthNm - spectral::kFirstWavelengthNm) / spectral::kWavelengthStepNm;
    if (!std::isfinite(steps)) return std::nullopt;
    const double nearest = std::round(steps);
    if (nearest < 0 || nearest >= sampleCount) return std::nullopt;
    return static_cast<int>(nearest);
}

std::optional<std::size_t> NearestCurve(const std::vector<const spectral::Spectrum*>& curves,
                                        int index, double y)
{
    std::optional<std::size_t> nearest;
    double distance = 0;
    for (std::size_t c = 0; c < curves.size(); ++c) {
        const double d = std::abs((*curves[c])[static_cast<std::size_t>(index)] - y);
        if (!nearest || d < distance) {
            nearest = c;
            distance = d;
        }
    }
    return nearest;
}

}  // namespace tulmera::plot
