#include "plot/figure.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "plot/thick_pens.h"
#include "textio/number_text.h"

namespace tulmera::plot {
namespace {

constexpr Rgb kAxisGrey{60, 60, 60};

// Proportions of the text size that space the figure's parts.
constexpr double kGap = 0.5;         // between neighbouring parts
constexpr double kTickLength = 0.4;  // of a tick, outside the plot area
constexpr double kLineHeight = 1.3;  // of a row of text
constexpr double kSwatch = 2.2;      // a legend swatch's length
constexpr double kEntryGap = 1.2;    // between legend entries in a row
constexpr double kTitleSize = 1.2;   // the title's size
constexpr double kNoteSize = 0.85;   // the note's size

double WidestTick(const FigureAxis& axis, double size, const TextMeasure& measure)
{
    double widest = 0.0;
    for (const double value : axis.ticks) {
        widest = std::max(widest, measure.TextWidth(TickText(axis, value), size));
    }
    return widest;
}

// The room beside the plot area that a y axis takes: ticks, numbers, the vertical title.
double YAxisRoom(const FigureAxis& axis, double size, const TextMeasure& measure)
{
    const double title = axis.title.empty() ? 0.0 : kLineHeight * size + kGap * size;
    return kTickLength * size + kGap * size + WidestTick(axis, size, measure) + title;
}

// Fraction of the way from an axis's start to its end at which `value` lies.
double Along(const FigureAxis& axis, double value)
{
    return (value - axis.atStart) / (axis.atEnd - axis.atStart);
}

double CaptionWidth(const FigureLegendEntry& entry, double size, const TextMeasure& measure)
{
    return kSwatch * size + kGap * size + measure.TextWidth(entry.caption, size);
}

}  // namespace

std::string TickText(const FigureAxis& axis, double value)
{
    // -0 would read "-0.0": ticks at zero come from sums that may land just below it.
    return textio::FixedText(value == 0.0 ? 0.0 : value, axis.decimals);
}

FigureLayout LayOutFigure(const Figure& figure, int width, const FigureStyle& style,
                          const TextMeasure& measure)
{
    assert(width >= 200);
    const double s = style.textSize;
    FigureLayout layout;
    layout.width = width;
    layout.swatchLength = kSwatch * s;
    const double left = std::ceil(kGap * s + YAxisRoom(figure.y, s, measure));
    const double lastTick =
        figure.x.ticks.empty()
            ? 0.0
            : measure.TextWidth(TickText(figure.x, figure.x.ticks.back()), s) / 2;
    const double right =
        std::ceil(kGap * s + (figure.yRight ? YAxisRoom(*figure.yRight, s, measure) : lastTick));
    const int plotWidth = std::max(2, width - static_cast<int>(left + right));
    const int plotHeight =
        std::max(2, static_cast<int>(std::lround(static_cast<double>(plotWidth)
                                                 * figure.chart.heightPx / figure.chart.widthPx)));

    double y = kGap * s;
    if (!figure.title.empty()) y += kLineHeight * kTitleSize * s + kGap * s;
    if (!figure.note.empty()) {
        layout.noteBaseline = y + kNoteSize * s;
        y += kLineHeight * kNoteSize * s;
    }
    // Legend entries side by side from the plot area's left edge, a new row where the next
    // one would pass its right edge.
    double x = left;
    const double rowEnd = left + plotWidth;
    bool rowUsed = false;
    for (const FigureLegendEntry& entry : figure.legend) {
        const double entryWidth = CaptionWidth(entry, s, measure);
        if (rowUsed && x + entryWidth > rowEnd) {
            x = left;
            y += kLineHeight * s;
        }
        layout.legendItems.push_back({x, y + kLineHeight * s / 2});
        x += entryWidth + kEntryGap * s;
        rowUsed = true;
    }
    if (rowUsed) y += kLineHeight * s + kGap * s;

    const double top = std::ceil(y + kGap * s);
    layout.plot = {left, top, static_cast<double>(plotWidth), static_cast<double>(plotHeight)};
    layout.plotScale = figure.chart;
    layout.plotScale.widthPx = plotWidth;
    layout.plotScale.heightPx = plotHeight;
    const double below = kTickLength * s + kGap * s + kLineHeight * s
                         + (figure.x.title.empty() ? 0.0 : kLineHeight * s) + kGap * s;
    layout.height = static_cast<int>(std::ceil(top + plotHeight + below));
    return layout;
}

namespace {

void PaintXAxis(FigureSurface& surface, const FigureAxis& axis, const FigureRect& plot,
                const FigureStyle& style)
{
    const double s = style.textSize;
    const double bottom = plot.bottom();  // the frame's row under the plot area
    TextStyle numbers{s, false, {0, 0, 0}, TextAnchor::Middle, false, false};
    const double baseline = bottom + kTickLength * s + kGap * s + s;
    for (const double value : axis.ticks) {
        const double column = plot.left + Along(axis, value) * (plot.width - 1);
        surface.Line(column, bottom, column, bottom + kTickLength * s);
        surface.Text(column, baseline, TickText(axis, value), numbers);
    }
    surface.Text(plot.left + plot.width / 2, baseline + kLineHeight * s, axis.title, numbers);
}

// A y axis on the left (`side` -1) or the right (`side` +1) edge of the plot area.
void PaintYAxis(FigureSurface& surface, const FigureAxis& axis, const FigureRect& plot,
                const FigureStyle& style, int side)
{
    const double s = style.textSize;
    const double edge = side < 0 ? plot.left - 1 : plot.right();  // the frame's column
    const double tickEnd = edge + side * kTickLength * s;
    TextStyle numbers{s,    false, {0, 0, 0}, side < 0 ? TextAnchor::End : TextAnchor::Start,
                      true, false};
    const double numberAt = tickEnd + side * kGap * s;
    for (const double value : axis.ticks) {
        const double row = plot.top + (1.0 - Along(axis, value)) * (plot.height - 1);
        surface.Line(edge, row, tickEnd, row);
        surface.Text(numberAt, row, TickText(axis, value), numbers);
    }
    const double widest = WidestTick(axis, s, surface);
    // The vertical title's baseline: its letters lie towards the plot area.
    const double titleAt =
        side < 0 ? numberAt - widest - kGap * s : numberAt + widest + kGap * s + s;
    TextStyle title{s, false, {0, 0, 0}, TextAnchor::Middle, false, true};
    surface.Text(titleAt, plot.top + plot.height / 2, axis.title, title);
}

void PaintLegend(FigureSurface& surface, const Figure& figure, const FigureLayout& layout,
                 const FigureStyle& style)
{
    const double s = style.textSize;
    TextStyle caption{s, false, {0, 0, 0}, TextAnchor::Start, true, false};
    for (std::size_t i = 0; i < figure.legend.size(); ++i) {
        const FigureLegendEntry& entry = figure.legend[i];
        const FigureLayout::LegendItem& at = layout.legendItems[i];
        surface.SetPenColor(entry.color);
        const int width =
            entry.style == PenStyle::Solid ? entry.penWidth * style.curveScale : entry.penWidth;
        // Legend swatches are thick enough to show their colour even for 1-pixel curves.
        surface.SetPenWidth(std::max(width, 2 * style.axisPen));
        surface.SetPenStyle(entry.style);
        surface.Line(at.x, at.y, at.x + layout.swatchLength, at.y);
        surface.Text(at.x + layout.swatchLength + kGap * s, at.y, entry.caption, caption);
    }
}

}  // namespace

void PaintFigureFrame(FigureSurface& surface, const Figure& figure, const FigureLayout& layout,
                      const FigureStyle& style)
{
    const FigureRect& plot = layout.plot;
    const double s = style.textSize;
    surface.SetPenColor(kAxisGrey);
    surface.SetPenWidth(style.axisPen);
    surface.SetPenStyle(PenStyle::Solid);
    // The frame on the pixels just outside the plot area, so that it hides none of it.
    const double l = plot.left - 1, t = plot.top - 1, r = plot.right(), b = plot.bottom();
    surface.Line(l, t, r, t);
    surface.LineTo(r, b);
    surface.LineTo(l, b);
    surface.LineTo(l, t);
    PaintXAxis(surface, figure.x, plot, style);
    PaintYAxis(surface, figure.y, plot, style, -1);
    if (figure.yRight) PaintYAxis(surface, *figure.yRight, plot, style, +1);
    PaintLegend(surface, figure, layout, style);
    if (!figure.note.empty()) {
        TextStyle note{kNoteSize * s, false, {90, 90, 90}, TextAnchor::End, false, false};
        surface.Text(plot.right(), layout.noteBaseline, figure.note, note);
    }
    if (!figure.title.empty()) {
        TextStyle title{kTitleSize * s, true, {0, 0, 0}, TextAnchor::Middle, false, false};
        surface.Text(plot.left + plot.width / 2, kGap * s + kTitleSize * s, figure.title, title);
    }
}

void DrawFigure(FigureSurface& surface, const Figure& figure, const FigureLayout& layout,
                const FigureStyle& style, const std::function<void(ChartSurface&)>& paintPlot)
{
    surface.Clear();
    ChartSurface& plot = surface.PlotArea();
    plot.Clear();
    if (style.curveScale > 1) {
        ThickPens thick(plot, style.curveScale);
        paintPlot(thick);
    } else {
        paintPlot(plot);
    }
    PaintFigureFrame(surface, figure, layout, style);
}

Ticks RoundTicks(double low, double high, int maxCount)
{
    assert(low < high && maxCount >= 2);
    const double rough = (high - low) / (maxCount - 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    Ticks ticks;
    ticks.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    // Whole multiples of the step, so that 0.1 + 0.2 never reads 0.30000000000000004.
    const double first = std::ceil(low / step - 1e-9);
    const double last = std::floor(high / step + 1e-9);
    for (double k = first; k <= last; k += 1.0) ticks.values.push_back(k * step);
    return ticks;
}

}  // namespace tulmera::plot
