#include "multi/canopy_sweep_charts.h"

#include "textio/csv_text.h"

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
    return plot::QuantityAxesOf(result.values,
                                QuantityValues(quantity, result.canopyReflPct, result.fluxes),
                                FromZero(quantity, zoom));
}

plot::QuantityAxes PaintSweepQuantity(plot::ChartSurface& chart, const CanopySweepResult& result,
                                      const SweepQuantity& quantity, QuantityZoom zoom)
{
    return plot::PaintQuantityChart(chart, result.values,
                                    QuantityValues(quantity, result.canopyReflPct, result.fluxes),
                                    FromZero(quantity, zoom));
}

std::string SweepQuantityCsv(const CanopySweepResult& result, const SweepQuantity& quantity)
{
    textio::CsvText csv;
    csv.Text(CanopyParameterName(result.swept)).Text(quantity.name).EndRow();
    const std::vector<std::optional<double>> y =
        QuantityValues(quantity, result.canopyReflPct, result.fluxes);
    for (std::size_t i = 0; i < result.values.size(); ++i) {
        // The swept value as typed and as "MVS.dat" prints it (15 digits: 0.3, not the
        // 0.30000000000000004 that 0.1 + 0.2 gives); the quantity to the last bit.
        csv.Rounded(result.values[i]);
        if (y[i]) {
            csv.Number(*y[i]);
        } else {
            csv.Empty();
        }
        csv.EndRow();
    }
    return csv.Take();
}

}  // namespace tulmera::multi
