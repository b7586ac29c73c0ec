#include "plot/measured_curve.h"

namespace tulmera::plot {

void PaintMeasured(ChartSurface& chart, const MeasuredValues& values, MeasuredDirection direction)
{
    chart.SetPenColor(kMeasuredBlack);
    chart.SetPenWidth(1);
    chart.SetPenStyle(PenStyle::Solid);
    bool inRun = false;
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const std::optional<double>& value = values[static_cast<std::size_t>(i)];
        if (!value) {
            inRun = false;  // a gap: the next sample starts a new polyline
            continue;
        }
        const double percent = 100.0 * *value;
        const double y = direction == MeasuredDirection::Upward ? percent : 100.0 - percent;
        const double x = spectral::WavelengthNm(i);
        if (inRun) {
            chart.LineTo(x, y);
        } else {
            chart.PlotPoint(x, y);
            inRun = true;
        }
    }
}

void PaintFitted(ChartSurface& chart, const spectral::Spectrum& fitted, MeasuredDirection direction,
                 int lastNm)
{
    chart.SetPenColor(kFittedMagenta);
    chart.SetPenWidth(kFittedPenWidth);
    chart.SetPenStyle(PenStyle::Solid);
    for (int i = 0; i < spectral::kWavelengthCount && spectral::WavelengthNm(i) <= lastNm; ++i) {
        const double percent = 100.0 * fitted[static_cast<std::size_t>(i)];
        const double y = direction == MeasuredDirection::Upward ? percent : 100.0 - percent;
        const double x = spectral::WavelengthNm(i);
        if (i == 0) {
            chart.PlotPoint(x, y);
        } else {
            chart.LineTo(x, y);
        }
    }
}

}  // namespace tulmera::plot
