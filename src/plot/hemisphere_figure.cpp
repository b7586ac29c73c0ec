#include "plot/hemisphere_figure.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <numbers>

#include "plot/thick_pens.h"
#include "textio/csv_text.h"
#include "textio/number_text.h"

namespace tulmera::plot {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Proportions of the text size, as the chart figures space their parts.
constexpr double kGap = 0.5;
constexpr double kLineHeight = 1.3;
constexpr double kTitleSize = 1.2;
constexpr double kNoteSize = 0.85;
constexpr double kBarWidth = 1.1;  // the colour bar's width
constexpr double kTickLength = 0.4;
constexpr double kMapShare = 0.55;  // of the width, for the map and its bar

constexpr Rgb kRingGrey{235, 235, 235};
constexpr Rgb kTextBlack{0, 0, 0};
constexpr Rgb kCurveBlue{20, 60, 160};
constexpr Rgb kSunGrey{120, 120, 120};

// Round and whole-unit positions keep the map's rows on whole pixels of the raster.
double Whole(double x) { return std::round(x); }

std::string Degrees(double value) { return textio::FixedText(value, 0) + "°"; }

struct Range {
    double low;
    double high;
};

// The least to the greatest value; widened around a single value, 0 .. 1 without any.
Range ValueRange(const std::vector<std::optional<double>>& values)
{
    bool any = false;
    double low = 0.0, high = 0.0;
    for (const std::optional<double>& v : values) {
        if (!v) continue;
        low = any ? std::min(low, *v) : *v;
        high = any ? std::max(high, *v) : *v;
        any = true;
    }
    if (!any) return {0.0, 1.0};
    if (high - low <= 1e-12 * std::max(1.0, std::abs(high))) {
        const double widen = std::max(1e-4, 0.05 * std::abs(high));
        return {low - widen, high + widen};
    }
    return {low, high};
}

}  // namespace

int HemisphereValues::ZenithCount() const
{
    return static_cast<int>(std::lround(maxZenithDeg / stepDeg)) + 1;
}

int HemisphereValues::AzimuthCount() const
{
    return static_cast<int>(std::lround(360.0 / stepDeg));
}

const std::optional<double>& HemisphereValues::At(int zenith, int azimuth) const
{
    return values[static_cast<std::size_t>(zenith * AzimuthCount() + azimuth)];
}

PlaneCut PrincipalPlane(const HemisphereValues& grid)
{
    PlaneCut cut;
    const int last = grid.ZenithCount() - 1;
    const int backward = grid.AzimuthCount() / 2;  // relative azimuth 180
    for (int i = -last; i <= last; ++i) {
        cut.viewAngle.push_back(i * grid.stepDeg);
        cut.value.push_back(i >= 0 ? grid.At(i, 0) : grid.At(-i, backward));
    }
    return cut;
}

Rgb RampColour(double fraction)
{
    // clang-format off
    constexpr std::array<Rgb, 9> kStops = {{
        {68, 1, 84}, {71, 44, 122}, {59, 81, 139}, {44, 113, 142}, {33, 144, 141},
        {39, 173, 129}, {92, 200, 99}, {170, 220, 50}, {253, 231, 37}}};
    // clang-format on
    const double f = std::clamp(std::isfinite(fraction) ? fraction : 0.0, 0.0, 1.0);
    const double at = f * static_cast<double>(kStops.size() - 1);
    const auto below = std::min(static_cast<std::size_t>(at), kStops.size() - 2);
    const double t = at - static_cast<double>(below);
    const Rgb& a = kStops[below];
    const Rgb& b = kStops[below + 1];
    const auto mix = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

int SmallestHemisphereWidth(const FigureStyle& style)
{
    return static_cast<int>(std::ceil(560.0 * style.textSize / FigureStyle::Normal().textSize));
}

HemisphereLayout LayOutHemisphere(const HemisphereValues& grid, const HemisphereTexts& texts,
                                  int width, const FigureStyle& style, const TextMeasure& measure)
{
    assert(width >= kMinFigureWidth);
    const double s = style.textSize;
    HemisphereLayout layout;
    const Range range = ValueRange(grid.values);
    layout.low = range.low;
    layout.high = range.high;
    layout.ticks = RoundTicks(range.low, range.high, 6);

    double y = kGap * s;
    if (!texts.title.empty()) {
        layout.titleBaseline = y + kTitleSize * s;
        y += kLineHeight * kTitleSize * s;
    }
    if (!texts.note.empty()) {
        layout.noteBaseline = y + kNoteSize * s;
        y += kLineHeight * kNoteSize * s;
    }
    const double header = Whole(y + kGap * s);

    // The cut: a chart figure of its own, placed right of the map under the header.
    Figure& cut = layout.cut;
    const double maxAngle = grid.maxZenithDeg;
    cut.chart = {-maxAngle, maxAngle, range.low, range.high, 400, 300};
    cut.x.title = texts.planeAxis;
    cut.x.atStart = -maxAngle;
    cut.x.atEnd = maxAngle;
    cut.y.title = texts.valueAxis;
    cut.y.atStart = range.low;
    cut.y.atEnd = range.high;
    cut.y.ticks = layout.ticks.values;
    cut.y.decimals = layout.ticks.decimals;
    // Large texts in a narrow figure: the cut's angles every 40° when every 20° would touch,
    // and the map narrower when the cut's axis title, centred under its plot, would reach past
    // the picture's right edge.
    double mapWidth = Whole(kMapShare * width);
    const double axisTitleWidth = measure.TextWidth(texts.planeAxis, s);
    int cutWidth = 0;
    FigureLayout frame;
    for (int pass = 0; pass < 3; ++pass) {
        cutWidth = std::max(kMinFigureWidth, width - static_cast<int>(mapWidth));
        for (const int count : {9, 5}) {
            const Ticks angles = RoundTicks(-maxAngle, maxAngle, count);
            cut.x.ticks = angles.values;
            cut.x.decimals = angles.decimals;
            frame = LayOutFigure(cut, cutWidth, style, measure);
            double widest = 0.0;
            for (const double v : angles.values) {
                widest =
                    std::max(widest, measure.TextWidth(textio::FixedText(v, angles.decimals), s));
            }
            const double spacing = frame.plot.width / static_cast<double>(angles.values.size() - 1);
            if (spacing >= widest + kGap * s) break;
        }
        const double centre = frame.plot.left + frame.plot.width / 2;
        const double over = centre + axisTitleWidth / 2 + kGap * s - cutWidth;
        if (over <= 0 || mapWidth <= kMinFigureWidth) break;
        mapWidth = std::max(double(kMinFigureWidth), Whole(mapWidth - 2 * over - 1));
    }

    // The map: azimuth labels around the disc, the colour bar with its numbers and title right
    // of it.
    double widestTick = 0.0;
    for (const double v : layout.ticks.values) {
        widestTick =
            std::max(widestTick, measure.TextWidth(textio::FixedText(v, layout.ticks.decimals), s));
    }
    const double side = kGap * s + measure.TextWidth("270°", s) + kGap * s;
    const double barRoom =
        kGap * s + kBarWidth * s + kTickLength * s + kGap * s + widestTick + kLineHeight * s;
    const double radius = std::max(20.0, Whole((mapWidth - 2 * side - barRoom) / 2));
    layout.radius = radius;
    layout.centreX = Whole(side + radius);
    layout.centreY = Whole(header + kLineHeight * s + radius);
    const double barLeft = Whole(layout.centreX + radius + side);
    layout.bar = {barLeft, layout.centreY - radius, Whole(kBarWidth * s), 2 * radius};
    layout.legendY = layout.centreY + radius + 2 * kLineHeight * s;
    const double mapBottom = layout.legendY + kLineHeight * s;

    frame.plot.left += mapWidth;
    frame.plot.top += header;
    frame.width = static_cast<int>(mapWidth) + cutWidth;
    frame.height = static_cast<int>(std::ceil(std::max(mapBottom, frame.height + header)));
    layout.frame = frame;
    return layout;
}

namespace {

// The map's cells on the frame layer, row by row of figure units: each run of units that fall
// into one grid cell (the nearest grid direction) is one box of its colour.
void PaintMapCells(FigureSurface& surface, const HemisphereValues& grid,
                   const HemisphereLayout& layout)
{
    const double reach = grid.maxZenithDeg + grid.stepDeg / 2;  // degrees at the disc's edge
    const double perUnit = reach / layout.radius;
    const int count = grid.AzimuthCount();
    const auto top = static_cast<int>(layout.centreY - layout.radius);
    const auto bottom = static_cast<int>(layout.centreY + layout.radius);
    for (int row = top; row <= bottom; ++row) {
        const double dy = (layout.centreY - row) * perUnit;
        const double half = std::sqrt(std::max(0.0, reach * reach - dy * dy)) / perUnit;
        const auto first = static_cast<int>(std::ceil(layout.centreX - half));
        const auto last = static_cast<int>(std::floor(layout.centreX + half));
        int runStart = first;
        int runCell = -1;
        Rgb runColour{};
        const auto flush = [&](int end) {
            if (runCell >= 0) surface.FilledBox(runStart, row, end, row, runColour);
        };
        for (int column = first; column <= last; ++column) {
            const double dx = (column - layout.centreX) * perUnit;
            const double zenith = std::sqrt(dx * dx + dy * dy);
            double azimuth = std::atan2(dx, dy) / kDegree;
            if (azimuth < 0) azimuth += 360.0;
            const int iz = std::min(static_cast<int>(std::lround(zenith / grid.stepDeg)),
                                    grid.ZenithCount() - 1);
            const int ia = static_cast<int>(std::lround(azimuth / grid.stepDeg)) % count;
            const int cell = iz * count + ia;
            if (cell == runCell) continue;
            flush(column - 1);
            runStart = column;
            runCell = cell;
            const std::optional<double>& v = grid.At(iz, ia);
            runColour =
                v ? RampColour((*v - layout.low) / (layout.high - layout.low)) : kNoValueGrey;
        }
        flush(last);
    }
}

// Rings every 20° of view zenith and the lines of the four main azimuths, light over the map.
void PaintMapGrid(FigureSurface& surface, const HemisphereValues& grid,
                  const HemisphereLayout& layout, const FigureStyle& style)
{
    const double perDegree = layout.radius / (grid.maxZenithDeg + grid.stepDeg / 2);
    const double s = style.textSize;
    surface.SetPenColor(kRingGrey);
    surface.SetPenWidth(1);
    surface.SetPenStyle(PenStyle::Solid);
    // The rings' zeniths where they cross the lower right diagonal (135°), dark on a pale box
    // so that they read over any colour.
    const double size = kNoteSize * s;
    const TextStyle label{size, false, {40, 40, 40}, TextAnchor::Start, true, false};
    for (double zenith = 20.0; zenith <= grid.maxZenithDeg + 1e-9; zenith += 20.0) {
        const double r = zenith * perDegree;
        for (int k = 0; k <= 96; ++k) {
            const double a = k * (2 * std::numbers::pi / 96);
            const double x = layout.centreX + r * std::sin(a), y = layout.centreY - r * std::cos(a);
            if (k == 0) {
                surface.PlotPoint(x, y);
            } else {
                surface.LineTo(x, y);
            }
        }
        const double a = 135.0 * kDegree;
        const double x = Whole(layout.centreX + r * std::sin(a) + 2);
        const double y = Whole(layout.centreY - r * std::cos(a));
        const std::string text = Degrees(zenith);
        surface.FilledBox(x - 1, y - size / 2 - 1, x + surface.TextWidth(text, size) + 1,
                          y + size / 2, {250, 250, 250});
        surface.Text(x, y, text, label);
    }
    surface.SetPenColor(kRingGrey);
    for (const double azimuth : {0.0, 90.0, 180.0, 270.0}) {
        const double a = azimuth * kDegree;
        surface.Line(layout.centreX, layout.centreY, layout.centreX + layout.radius * std::sin(a),
                     layout.centreY - layout.radius * std::cos(a));
    }
}

// The sun's direction: a white star with a dark one inside, at the sun's zenith on the side of
// azimuth 0 (at the disc's edge when the sun lies beyond it).
void PaintSun(FigureSurface& surface, double x, double y, double size)
{
    for (const auto& [colour, width] : {std::pair{Rgb{255, 255, 255}, 4}, {Rgb{0, 0, 0}, 2}}) {
        surface.SetPenColor(colour);
        surface.SetPenWidth(width);
        for (int k = 0; k < 4; ++k) {
            const double a = k * std::numbers::pi / 4;
            surface.Line(x - size * std::cos(a), y - size * std::sin(a), x + size * std::cos(a),
                         y + size * std::sin(a));
        }
    }
}

void PaintColourBar(FigureSurface& surface, const HemisphereTexts& texts,
                    const HemisphereLayout& layout, const FigureStyle& style)
{
    const FigureRect& bar = layout.bar;
    const double s = style.textSize;
    const auto top = static_cast<int>(bar.top), bottom = static_cast<int>(bar.bottom());
    for (int row = top; row <= bottom; ++row) {
        const double fraction = (bottom - row) / std::max(1.0, bar.height);
        surface.FilledBox(bar.left, row, bar.right(), row, RampColour(fraction));
    }
    surface.SetPenColor({60, 60, 60});
    surface.SetPenWidth(style.axisPen);
    surface.SetPenStyle(PenStyle::Solid);
    const TextStyle numbers{s, false, kTextBlack, TextAnchor::Start, true, false};
    double widest = 0.0;
    for (const double v : layout.ticks.values) {
        const double row =
            bar.bottom() - (v - layout.low) / (layout.high - layout.low) * bar.height;
        surface.Line(bar.right() + 1, row, bar.right() + kTickLength * s, row);
        const std::string text = textio::FixedText(v == 0.0 ? 0.0 : v, layout.ticks.decimals);
        surface.Text(bar.right() + kTickLength * s + kGap * s, row, text, numbers);
        widest = std::max(widest, surface.TextWidth(text, s));
    }
    const TextStyle title{s, false, kTextBlack, TextAnchor::Middle, false, true};
    surface.Text(bar.right() + kTickLength * s + kGap * s + widest + kGap * s + s,
                 bar.top + bar.height / 2, texts.valueAxis, title);
}

// The azimuths around the disc, and under it the keys of the sun's mark and of "no value".
void PaintMapTexts(FigureSurface& surface, const HemisphereValues& grid,
                   const HemisphereTexts& texts, const HemisphereLayout& layout,
                   const FigureStyle& style)
{
    const double s = style.textSize, r = layout.radius, cx = layout.centreX, cy = layout.centreY;
    const TextStyle middle{s, false, kTextBlack, TextAnchor::Middle, true, false};
    surface.Text(cx, cy - r - kLineHeight * s / 2 - 1, Degrees(0), middle);
    surface.Text(cx, cy + r + kLineHeight * s / 2 + 1, Degrees(180), middle);
    const TextStyle left{s, false, kTextBlack, TextAnchor::Start, true, false};
    const TextStyle right{s, false, kTextBlack, TextAnchor::End, true, false};
    surface.Text(cx + r + kGap * s, cy, Degrees(90), left);
    surface.Text(cx - r - kGap * s, cy, Degrees(270), right);

    const double keyY = layout.legendY;
    double x = Whole(cx - r);
    PaintSun(surface, x + s / 2, keyY, s / 2);
    const TextStyle key{s, false, kTextBlack, TextAnchor::Start, true, false};
    const std::string sun = texts.sun + " (" + Degrees(grid.sunZenithDeg) + ")";
    surface.Text(x + 1.5 * s, keyY, sun, key);
    x += 1.5 * s + surface.TextWidth(sun, s) + 2 * s;
    surface.FilledBox(x, keyY - s / 2, x + s, keyY + s / 2, kNoValueGrey);
    surface.Text(x + 1.5 * s, keyY, texts.noValue, key);
}

void PaintCut(ChartSurface& plot, const HemisphereValues& grid, const HemisphereLayout& layout)
{
    const PlaneCut cut = PrincipalPlane(grid);
    // The sun's side: a dashed line at the hot spot's view angle.
    plot.SetPenColor(kSunGrey);
    plot.SetPenWidth(1);
    plot.SetPenStyle(PenStyle::Dashed);
    plot.Line(grid.sunZenithDeg, layout.low, grid.sunZenithDeg, layout.high);
    plot.SetPenStyle(PenStyle::Solid);
    plot.SetPenColor(kCurveBlue);
    plot.SetPenWidth(2);
    bool joined = false;  // a direction without value breaks the line
    for (std::size_t i = 0; i < cut.viewAngle.size(); ++i) {
        if (!cut.value[i]) {
            joined = false;
            continue;
        }
        if (joined) {
            plot.LineTo(cut.viewAngle[i], *cut.value[i]);
        } else {
            plot.PlotPoint(cut.viewAngle[i], *cut.value[i]);
        }
        joined = true;
    }
}

}  // namespace

void DrawHemisphereFigure(FigureSurface& surface, const HemisphereValues& grid,
                          const HemisphereTexts& texts, const HemisphereLayout& layout,
                          const FigureStyle& style)
{
    surface.Clear();
    ChartSurface& plot = surface.PlotArea();
    plot.Clear();
    if (style.curveScale > 1) {
        ThickPens thick(plot, style.curveScale);
        PaintCut(thick, grid, layout);
    } else {
        PaintCut(plot, grid, layout);
    }
    PaintMapCells(surface, grid, layout);
    PaintMapGrid(surface, grid, layout, style);
    const double perDegree = layout.radius / (grid.maxZenithDeg + grid.stepDeg / 2);
    PaintSun(surface, layout.centreX,
             layout.centreY - std::min(grid.sunZenithDeg * perDegree, layout.radius),
             style.textSize / 2);
    PaintColourBar(surface, texts, layout, style);
    PaintMapTexts(surface, grid, texts, layout, style);
    PaintFigureFrame(surface, layout.cut, layout.frame, style);
    const double s = style.textSize;
    if (!texts.title.empty()) {
        const TextStyle title{kTitleSize * s, true, kTextBlack, TextAnchor::Middle, false, false};
        surface.Text(layout.frame.width / 2.0, layout.titleBaseline, texts.title, title);
    }
    if (!texts.note.empty()) {
        const TextStyle note{kNoteSize * s, false, {90, 90, 90}, TextAnchor::End, false, false};
        surface.Text(layout.frame.width - kGap * s, layout.noteBaseline, texts.note, note);
    }
}

std::string HemisphereCsv(const HemisphereValues& grid)
{
    textio::CsvText csv;
    csv.Text("view_zenith").Text("azimuth").Text("value").EndRow();
    for (int i = 0; i < grid.ZenithCount(); ++i) {
        for (int j = 0; j < grid.AzimuthCount(); ++j) {
            csv.Number(i * grid.stepDeg).Number(j * grid.stepDeg);
            const std::optional<double>& v = grid.At(i, j);
            if (v) {
                csv.Number(*v);
            } else {
                csv.Empty();
            }
            csv.EndRow();
        }
    }
    return csv.Take();
}

}  // namespace tulmera::plot
