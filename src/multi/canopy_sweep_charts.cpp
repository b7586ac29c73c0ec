#include "multi/canopy_sweep_charts.h"

#include "textio/number_text.h"

namespace tulmera::multi {

void PaintCanopySweepCurves(const plot::SweepCharts& charts, const CanopySweepResult& result)
{
    charts.chart.Clear();
    charts.legend.Clear();
    plot::SweepColours colours =
        plot::SweepColours::ForSweep(static_cast<int>(result.canopyReflPct.size()));
    for (const spectral::Spectrum& spectrum : result.canopyReflPct) {
        colours.Advance();
        plot::PaintSweepSpectrum(charts, colours, spectrum);
    }
}

namespace {

bool FromZero(const SweepQuantity& quantity, QuantityZoom zoom)
{
    return zoom == QuantityZoom::Whole && quantity.kind != SweepQuantity::Kind::Index;
}

}  // namespace

plot::QuantityAxes SweepQuantityAxes(const CanopySweepResult& result, const SweepQuantity& quantity,
                                     QuantityZoom zoom)
{
    return plot::QuantityAxesOf(result.values, QuantityValues(quantity, result.canopyReflPct),
                                FromZero(quantity, zoom));
}

plot::QuantityAxes PaintSweepQuantity(plot::ChartSurface& chart, const CanopySweepResult& result,
                                      const SweepQuantity& quantity, QuantityZoom zoom)
{
    return plot::PaintQuantityChart(chart, result.values,
                                    QuantityValues(quantity, result.canopyReflPct),
                                    FromZero(quantity, zoom));
}

std::string SweepQuantityCsv(const CanopySweepResult& result, const SweepQuantity& quantity)
{
    std::string csv = std::string(CanopyParameterName(result.swept)) + "," + quantity.name + "\n";
    const std::vector<std::optional<double>> y = QuantityValues(quantity, result.canopyReflPct);
    for (std::size_t i = 0; i < result.values.size(); ++i) {
        csv += textio::ShortestNumberText(result.values[i]);
        csv += ',';
        if (y[i]) csv += textio::ShortestNumberText(*y[i]);
        csv += '\n';
    }
    return csv;
}

}  // namespace tulmera::multi
