#include "plot/raster_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "plot/chart_geometry.h"

namespace tulmera::plot {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kInk = qRgb(10, 20, 30);
constexpr Rgb kInkRgb{10, 20, 30};

// The rows (or columns) holding at least one pixel of `color`.
std::set<int> RowsWith(const QImage& image, QRgb color)
{
    std::set<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == color) rows.insert(y);
        }
    }
    return rows;
}

std::set<int> ColumnsWith(const QImage& image, QRgb color)
{
    return RowsWith(image.transformed(QTransform(0, 1, 1, 0, 0, 0)), color);
}

std::set<int> Range(int first, int last, int size)
{
    std::set<int> values;
    for (int v = std::max(first, 0); v <= std::min(last, size - 1); ++v) values.insert(v);
    return values;
}

int CountOf(const QImage& image, QRgb color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == color;
    }
    return count;
}

TEST(RasterSurface, MapsTheChartEdgesOntoTheOuterPixels)
{
    struct Row {
        const char* name;
        ChartScale scale;
        int k;
        double x, y;
        int column, row;
    };
    const std::vector<Row> rows = {
        {"leaf lower left", kLeafChartScale, 1, 400, 0, 0, 164},
        {"leaf upper right", kLeafChartScale, 1, 2500, 100, 316, 0},
        {"leaf middle", kLeafChartScale, 1, 1450, 50, 158, 82},
        {"canopy top is 70", kCanopyChartScale, 1, 2495, 70, 315, 0},
        {"canopy half height", kCanopyChartScale, 1, 400, 35, 0, 82},
        // At K = 2 a K = 1 pixel centre falls between two pixels: rounded half up.
        {"K = 2 lower left", kLeafChartScale, 2, 400, 0, 1, 329},
        {"K = 3 upper right", kCanopyChartScale, 3, 2500, 70, 949, 1},
        {"legend strip", kLegendStripScale, 1, 200, 0, 368, 16},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const RasterSurface surface(r.scale, r.k);
        EXPECT_EQ(surface.image().width(), r.scale.widthPx * r.k);
        EXPECT_EQ(surface.image().height(), r.scale.heightPx * r.k);
        EXPECT_EQ(surface.ColumnOf(r.x), r.column);
        EXPECT_EQ(surface.RowOf(r.y), r.row);
    }
}

// The documented pixel of a user coordinate at scale K: floor(K · (P + 0.5)), where P is the
// coordinate's pixel position at K = 1 (first pixel centre 0, last W − 1 or H − 1).
int PixelOf(double position, int k) { return static_cast<int>(std::floor(k * (position + 0.5))); }

// A horizontal or vertical line covers exactly the pen's rows (columns) around the pixel of
// its coordinate, across the whole chart. Where that coordinate is a K = 1 pixel centre (0,
// 50, 100 here), they are the K × K blocks of the K = 1 pixels.
TEST(RasterSurface, AxisLinesLandOnThePredictedPixels)
{
    for (const int k : {1, 2, 3}) {
        for (const int width : {1, 2}) {
            for (const double at : {0.0, 10.0, 33.3, 50.0, 70.0, 99.9, 100.0}) {
                SCOPED_TRACE(::testing::Message()
                             << "K " << k << ", width " << width << ", at " << at);
                const int before = k / 2 + k * (width / 2);
                RasterSurface surface(kLeafChartScale, k);
                surface.SetPenColor(kInkRgb);
                surface.SetPenWidth(width);
                surface.Line(0, at, 2500, at);
                const QImage& image = surface.image();
                const int row = PixelOf((100 - at) * 164 / 100, k);
                const std::set<int> rows = RowsWith(image, kInk);
                EXPECT_EQ(rows, Range(row - before, row - before + k * width - 1, image.height()));
                EXPECT_EQ(CountOf(image, kInk), image.width() * static_cast<int>(rows.size()));
                if (at == 0 || at == 50 || at == 100) {
                    const int unitRow = static_cast<int>((100 - at) * 164 / 100);
                    const int first = k * (unitRow - width / 2);
                    EXPECT_EQ(rows, Range(first, first + k * width - 1, image.height()));
                }

                surface.Clear();
                const double x = 400 + 21 * at;
                surface.Line(x, -50, x, 150);
                const int column = PixelOf((x - 400) * 316 / 2100, k);
                EXPECT_EQ(ColumnsWith(image, kInk),
                          Range(column - before, column - before + k * width - 1, image.width()));
            }
        }
    }
}

TEST(RasterSurface, DashesOnlyOnePixelPens)
{
    for (const int k : {1, 3}) {
        RasterSurface surface(kLeafChartScale, k);
        surface.SetPenColor(kInkRgb);
        surface.SetPenStyle(PenStyle::Dashed);
        surface.Line(400, 50, 2500, 50);
        const int row = surface.RowOf(50);
        ASSERT_EQ(surface.ColumnOf(400), k / 2);  // the dashes start at column 0
        const QImage& image = surface.image();
        for (int x = 0; x < image.width(); ++x) {
            const bool on =
                x / k % (RasterSurface::kDashOn + RasterSurface::kDashOff) < RasterSurface::kDashOn;
            ASSERT_EQ(image.pixel(x, row) == kInk, on) << "K " << k << ", column " << x;
        }
        surface.Clear();
        surface.SetPenWidth(2);
        surface.Line(400, 50, 2500, 50);
        EXPECT_EQ(CountOf(image, kInk), image.width() * 2 * k) << "a wide pen draws solid";
    }
}

TEST(RasterSurface, ClipsToTheInteriorWhateverTheCoordinates)
{
    const double huge = 1e30, nan = std::numeric_limits<double>::quiet_NaN();
    RasterSurface surface(kCanopyChartScale, 2);
    surface.SetPenColor(kInkRgb);
    surface.SetPenWidth(2);
    surface.Line(300, 0, 300, 100);           // left of the chart
    surface.Line(0, 80, 2500, 80);            // above the canopy chart
    surface.Line(-huge, -huge, huge, -huge);  // far below
    surface.Line(nan, 10, 1000, 10);
    surface.PlotPoint(0, 0);
    surface.FilledBox(2600, 0, 3000, 70, kInkRgb);
    EXPECT_EQ(CountOf(surface.image(), kInk), 0);

    // From inside to far outside: drawn up to the edge, at the slope of the true line.
    surface.Line(1450, 35, 1450, huge);
    EXPECT_EQ(ColumnsWith(surface.image(), kInk).size(), 4u);
    EXPECT_EQ(*RowsWith(surface.image(), kInk).begin(), 0);
    EXPECT_EQ(*RowsWith(surface.image(), kInk).rbegin(), surface.RowOf(35));
}

TEST(RasterSurface, BoxesReachTheEdgeLinesOfTheirCorners)
{
    for (const int k : {1, 3}) {
        SCOPED_TRACE(k);
        RasterSurface surface(kCanopyChartScale, k);
        surface.FilledBox(450, 100, 520, 0, kInkRgb);  // clipped at 70
        const QImage& image = surface.image();
        const std::set<int> boxColumns = ColumnsWith(image, kInk);
        EXPECT_EQ(boxColumns, Range(surface.ColumnOf(450) - k / 2,
                                    surface.ColumnOf(520) - k / 2 + k - 1, image.width()));
        EXPECT_EQ(RowsWith(image, kInk), Range(0, image.height() - 1, image.height()));
        // The edge lines at 450 and 520 cover the box's first and last columns.
        const QRgb edge = qRgb(1, 2, 3);
        surface.SetPenColor({1, 2, 3});
        surface.Line(450, 0, 450, 100);
        surface.Line(520, 0, 520, 100);
        const std::set<int> edgeColumns = ColumnsWith(image, edge);
        EXPECT_EQ(edgeColumns.size(), 2u * k);
        EXPECT_EQ(*edgeColumns.begin(), *boxColumns.begin());
        EXPECT_EQ(*edgeColumns.rbegin(), *boxColumns.rbegin());
    }
}

TEST(RasterSurface, PointsAreSquaresOfThePenWidth)
{
    RasterSurface surface(kLeafChartScale, 1);
    surface.SetPenColor(kInkRgb);
    surface.SetPenWidth(2);
    surface.PlotPoint(1450, 50);
    EXPECT_EQ(RowsWith(surface.image(), kInk), (std::set<int>{81, 82}));
    EXPECT_EQ(ColumnsWith(surface.image(), kInk), (std::set<int>{157, 158}));
    surface.Clear();
    EXPECT_EQ(CountOf(surface.image(), kWhite), 317 * 165);
}

// A window keeps the image it was handed while the surface draws the next one.
TEST(RasterSurface, AnImageHandedOutKeepsItsPixels)
{
    RasterSurface surface(kCanopyChartScale, 2);
    surface.SetPenColor(kInkRgb);
    surface.Line(400, 35, 2500, 35);
    const QImage shown = surface.image();
    const int inked = CountOf(shown, kInk);
    surface.Clear();
    EXPECT_EQ(CountOf(surface.image(), kWhite), 317 * 165 * 4);
    EXPECT_EQ(surface.image().size(), shown.size());
    EXPECT_EQ(surface.image().format(), shown.format());
    surface.Line(1000, 0, 1000, 70);
    EXPECT_EQ(CountOf(shown, kInk), inked);
    EXPECT_EQ(ColumnsWith(shown, kInk).size(), 634u);  // the first line only, 317 · 2 wide
}

}  // namespace
}  // namespace tulmera::plot
