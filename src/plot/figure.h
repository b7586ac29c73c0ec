#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plot/chart_surface.h"
#include "plot/figure_surface.h"

// A complete figure of one chart, for slides and teaching material: the plot area as the chart
// procedure draws it, framed by numbered axes with their titles, a legend naming every curve
// and an optional title. Any chart can be made a figure: it describes its axes and curves in a
// Figure, and the same layout and frame serve them all.
namespace tulmera::plot {

// One axis along an edge of the plot area. The values at the two ends follow the chart's
// mapping: `atStart` lies on the first pixel (the left column for x, the bottom row for y) and
// `atEnd` on the last, so an axis may run downward (the leaf transmittance: 1 at the bottom, 0
// at the top).
struct FigureAxis {
    std::string title;          // with its unit: "Wavelength (nm)"
    double atStart = 0.0;       // value at the left or bottom edge
    double atEnd = 1.0;         // value at the right or top edge
    std::vector<double> ticks;  // the values that carry a tick and a number
    int decimals = 0;           // of the numbers
};

// The number of `axis` at its tick `value`, with the axis's decimals ("0.0", never "-0.0").
std::string TickText(const FigureAxis& axis, double value);

// A curve as the legend names it: its pen and its caption.
struct FigureLegendEntry {
    std::string caption;
    Rgb color;
    int penWidth = 1;
    PenStyle style = PenStyle::Solid;
};

// What a figure shows around its plot area. `chart` gives the chart units and, through its
// pixel size, the plot area's aspect ratio.
struct Figure {
    std::string title;  // above everything; none when empty
    ChartScale chart;
    FigureAxis x;
    FigureAxis y;                      // left
    std::optional<FigureAxis> yRight;  // right, when the chart has a second quantity
    std::vector<FigureLegendEntry> legend;
    // A short note in small grey text above the plot area's right end (how the figure was
    // computed, when that is not the usual way); none when empty.
    std::string note;
};

// Sizes of a figure's texts and pens, in figure units at 96 dpi.
struct FigureStyle {
    double textSize = 13.0;
    int axisPen = 1;
    // Every solid pen of the plot area drawn this many times wider (presentation mode).
    int curveScale = 1;

    static FigureStyle Normal() { return {}; }
    static FigureStyle Presentation() { return {19.0, 2, 2}; }
};

// Where a figure's parts lie, in figure units.
inline constexpr int kMinFigureWidth = 200;

struct FigureLayout {
    int width = 0;  // the whole figure
    int height = 0;
    FigureRect plot;       // whole units: left and top edge, size in pixels
    ChartScale plotScale;  // the chart's units over the plot area's pixels
    struct LegendItem {
        double x;  // swatch start
        double y;  // the row's middle
    };
    std::vector<LegendItem> legendItems;  // one per legend entry
    double swatchLength = 0.0;
    double noteBaseline = 0.0;  // of Figure::note, when there is one
};

// The layout of `figure` in a picture `width` figure units wide (at least kMinFigureWidth): the
// plot area as wide as the axes leave room for, as high as the chart's aspect makes it; the title
// and the legend rows (wrapped at the plot area's width) above, the numbers and titles around.
FigureLayout LayOutFigure(const Figure& figure, int width, const FigureStyle& style,
                          const TextMeasure& measure);

// Draws everything of the figure but the plot area's content, on the frame layer: the frame
// around the plot area, the ticks and numbers, the axis titles, the legend and the title.
void PaintFigureFrame(FigureSurface& surface, const Figure& figure, const FigureLayout& layout,
                      const FigureStyle& style);

// Draws the whole figure on `surface`: the plot area's content by `paintPlot` on the plot-area
// layer (through ThickPens when the style asks for thicker curves), then the frame. Throws
// what `paintPlot` throws; the frame is then not drawn.
void DrawFigure(FigureSurface& surface, const Figure& figure, const FigureLayout& layout,
                const FigureStyle& style, const std::function<void(ChartSurface&)>& paintPlot);

// About `maxCount` (at least 2) round values (1, 2 or 5 times a power of ten apart) covering
// low .. high (low < high), all within it, and the decimals they need.
struct Ticks {
    std::vector<double> values;
    int decimals = 0;
};
Ticks RoundTicks(double low, double high, int maxCount);

}  // namespace tulmera::plot
