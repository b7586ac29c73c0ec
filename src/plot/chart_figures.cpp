#include "plot/chart_figures.h"

#include "plot/chart_geometry.h"
#include "plot/main_charts.h"
#include "plot/measured_curve.h"
#include "plot/sweep_chart.h"
#include "textio/number_text.h"

namespace tulmera::plot {
namespace {

constexpr int kQuantityTicks = 6;

// The wavelength axis of the spectrum charts, numbered every 300 nm as on screen.
FigureAxis WavelengthAxis(const FigureTexts& texts)
{
    FigureAxis axis{texts.wavelengthAxis, 400, 2500, {}, 0};
    for (int nm = 400; nm <= 2500; nm += 300) axis.ticks.push_back(nm);
    return axis;
}

// A fraction axis over a chart in percent: `bottomPct` .. `topPct` up (or down when
// bottomPct > topPct), a number every `stepPct`.
FigureAxis FractionAxis(const std::string& title, int bottomPct, int topPct, int stepPct)
{
    FigureAxis axis{title, bottomPct / 100.0, topPct / 100.0, {}, 1};
    const int low = std::min(bottomPct, topPct), high = std::max(bottomPct, topPct);
    for (int pct = low; pct <= high; pct += stepPct) axis.ticks.push_back(pct / 100.0);
    return axis;
}

// A data axis of the quantity chart: the chart's units 0 .. 1 hold `low` .. `high` inside the
// margin, so its ends lie a margin beyond them.
FigureAxis DataAxis(const std::string& title, double low, double high)
{
    const double beyond = (high - low) * kQuantityMargin / (1.0 - 2.0 * kQuantityMargin);
    const Ticks ticks = RoundTicks(low, high, kQuantityTicks);
    return {title, low - beyond, high + beyond, ticks.values, ticks.decimals};
}

}  // namespace

Figure LeafChartFigure(const FigureTexts& texts, const MeasuredCurves& measured)
{
    Figure figure;
    figure.chart = kLeafChartScale;
    figure.x = WavelengthAxis(texts);
    figure.y = FractionAxis(texts.reflectanceAxis, 0, 100, 20);
    // 100 − 100·T is drawn: T = 0 at the top, T = 1 at the bottom.
    figure.yRight = FractionAxis(texts.transmittanceAxis, 100, 0, 20);
    figure.legend = {{texts.leafReflectance, kReflectanceGreen, 2},
                     {texts.leafTransmittance, kTransmittanceRed, 2}};
    if (measured.leafReflectance) {
        figure.legend.push_back({texts.measuredLeafReflectance, kMeasuredBlack, 1});
    }
    if (measured.leafTransmittance) {
        figure.legend.push_back({texts.measuredLeafTransmittance, kMeasuredBlack, 1});
    }
    if (measured.fittedLeaf) {
        figure.legend.push_back({texts.fitted, kFittedMagenta, kFittedPenWidth});
    }
    return figure;
}

Figure CanopyChartFigure(const FigureTexts& texts, const MeasuredCurves& measured)
{
    Figure figure;
    figure.chart = kCanopyChartScale;
    figure.x = WavelengthAxis(texts);
    figure.y = FractionAxis(texts.reflectanceAxis, 0, 70, 10);
    figure.legend = {{texts.canopyReflectance, kReflectanceGreen, 2},
                     {texts.soilReflectance, kSoilBrown, 1}};
    if (measured.canopyReflectance) {
        figure.legend.push_back({texts.measuredCanopyReflectance, kMeasuredBlack, 1});
    }
    if (measured.fittedCanopy) {
        figure.legend.push_back({texts.fitted, kFittedMagenta, kFittedPenWidth});
    }
    return figure;
}

Figure SweepChartFigure(const FigureTexts& texts, const std::string& title,
                        const std::vector<std::string>& curveCaptions)
{
    Figure figure;
    figure.title = title;
    figure.chart = kSweepChartScale;
    figure.x = WavelengthAxis(texts);
    figure.y = FractionAxis(texts.reflectanceAxis, 0, 100, 20);
    const std::size_t count = curveCaptions.size();
    if (count == 0) return figure;
    SweepColours colours = SweepColours::ForSweep(static_cast<int>(count));
    // Every curve when they fit, else every step-th counted back from the last, which is named.
    const std::size_t step = (count + kMaxSweepLegendCurves - 1) / kMaxSweepLegendCurves;
    for (std::size_t k = 0; k < count; ++k) {
        colours.Advance();
        if (step > 1 && (count - 1 - k) % step != 0 && k != 0) continue;
        figure.legend.push_back({curveCaptions[k], colours.CurveColour(), 2});
    }
    return figure;
}

std::vector<std::string> SweepCurveCaptions(std::string_view parameter,
                                            const std::vector<double>& values)
{
    std::vector<std::string> captions;
    for (const double value : values) {
        captions.push_back(std::string(parameter) + " = " + textio::NumberText(value, 6));
    }
    return captions;
}

Figure QuantityChartFigure(const QuantityAxes& axes, const std::string& xTitle,
                           const std::string& quantity)
{
    Figure figure;
    figure.chart = kQuantityChartScale;
    figure.x = DataAxis(xTitle, axes.xMin, axes.xMax);
    figure.y = DataAxis(quantity, axes.yMin, axes.yMax);
    figure.legend = {{quantity, kPointColour, 2}};
    return figure;
}

}  // namespace tulmera::plot
