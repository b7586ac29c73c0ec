// The main charts drawn on the raster surface: what the pixels of a refresh show.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "chart_test_support.h"
#include "leaf/leaf_run.h"
#include "plot/band_tables.h"
#include "plot/chart_geometry.h"
#include "plot/main_charts.h"
#include "plot/raster_surface.h"
#include "spectral/soil_library.h"
#include "support/work_dir.h"
#include "textio/field_reader.h"

namespace tulmera::plot {
namespace {

using namespace tulmera::plot::testing;
using tulmera::testing::ScopedWorkDir;

const QRgb kGridGrey = qRgb(200, 200, 200);
const QRgb kGreen = qRgb(0, 200, 0);
const QRgb kRed = qRgb(200, 0, 0);
const QRgb kBrown = qRgb(200, 100, 0);

spectral::Spectrum Soil()
{
    spectral::Spectrum soil{};
    spectral::LoadSoil(spectral::kSoilKeys[0], soil);
    return soil;
}

// The rows of `image` in which at least half the pixels have `color` (dashed lines: 4 of 6).
std::set<int> LineRows(const QImage& image, QRgb color)
{
    std::set<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == color;
        if (2 * count >= image.width()) rows.insert(y);
    }
    return rows;
}

std::set<int> LineColumns(const QImage& image, QRgb color)
{
    return LineRows(image.transformed(QTransform(0, 1, 1, 0, 0, 0)), color);
}

bool ColumnHas(const QImage& image, int x, QRgb color)
{
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(x, y) == color) return true;
    }
    return false;
}

// Both charts at pixel scale `k` as a refresh draws them from the working files: the
// background, the leaf curves and, when `soil` is given, the canopy and soil curves.
struct DrawnCharts {
    RasterSurface leaf;
    RasterSurface canopy;
};

DrawnCharts Draw(const ChartBackground& background, int k, const spectral::Spectrum* soil = nullptr)
{
    DrawnCharts charts{RasterSurface(kLeafChartScale, k), RasterSurface(kCanopyChartScale, k)};
    PaintBackground({charts.leaf, charts.canopy}, background);
    PaintProspect(charts.leaf);
    if (soil != nullptr) {
        PaintSailh(charts.canopy);
        PaintSoil(charts.canopy, *soil);
    }
    return charts;
}

// The K pixels that a 1-pixel pen covers around each of `pixels` at scale K.
std::set<int> PenPixels(const std::vector<int>& pixels, int k)
{
    std::set<int> covered;
    for (const int p : pixels) {
        for (int i = 0; i < k; ++i) covered.insert(p - k / 2 + i);
    }
    return covered;
}

TEST(MainChartsOnRaster, TheGridShowsOnlyTheLinesInsideEachChart)
{
    for (const int k : {1, 3}) {
        SCOPED_TRACE(k);
        RasterSurface leafChart(kLeafChartScale, k), canopyChart(kCanopyChartScale, k);
        PaintBackground({leafChart, canopyChart}, ChartBackground{});
        const QImage& canopy = canopyChart.image();

        std::vector<int> leafRows, canopyRows, columns;
        for (int y = 0; y <= 100; y += 10) leafRows.push_back(leafChart.RowOf(y));
        for (int y = 0; y <= 70; y += 10) canopyRows.push_back(canopyChart.RowOf(y));
        for (int x = 400; x <= 2500; x += 100) columns.push_back(leafChart.ColumnOf(x));
        const int lastRow = canopy.height() - 1, lastColumn = canopy.width() - 1;
        ASSERT_EQ(canopyRows.front() - k / 2 + k - 1, lastRow);
        ASSERT_EQ(canopyRows.back() - k / 2, 0);
        ASSERT_EQ(columns.front() - k / 2, 0);  // the first visible vertical line: left edge
        ASSERT_EQ(columns.back() - k / 2 + k - 1, lastColumn);
        EXPECT_EQ(LineRows(canopy, kGridGrey), PenPixels(canopyRows, k));
        EXPECT_EQ(LineColumns(canopy, kGridGrey), PenPixels(columns, k));
        EXPECT_EQ(LineRows(leafChart.image(), kGridGrey), PenPixels(leafRows, k));
        EXPECT_EQ(LineColumns(leafChart.image(), kGridGrey), PenPixels(columns, k));
    }
}

TEST(MainChartsOnRaster, CanopyAndSoilCurvesEndAt2495WhileLeafCurvesReachTheEdge)
{
    ScopedWorkDir dir;
    leaf::RunProspect(leaf::kStartLeafParameters);
    WriteCanopyFile(420);  // exactly the records drawn: no error
    const spectral::Spectrum soil = Soil();
    const DrawnCharts charts = Draw(ChartBackground{}, 1, &soil);
    const QImage& canopy = charts.canopy.image();
    for (const QRgb curve : {kGreen, kBrown}) {
        EXPECT_TRUE(ColumnHas(canopy, 315, curve));   // 2495 nm
        EXPECT_FALSE(ColumnHas(canopy, 316, curve));  // 2500 nm
    }
    for (const QRgb curve : {kGreen, kRed}) EXPECT_TRUE(ColumnHas(charts.leaf.image(), 316, curve));
    // Both canopy curves rise from the lower left corner along the left edge.
    EXPECT_EQ(canopy.pixel(0, 164), kBrown);
    EXPECT_EQ(canopy.pixel(0, 163), kBrown);
}

TEST(MainChartsOnRaster, AShortLeafFileStopsTheDrawingAndKeepsWhatWasDrawn)
{
    ScopedWorkDir dir;
    WriteLeafFile(420);
    RasterSurface leafChart(kLeafChartScale), canopyChart(kCanopyChartScale);
    PaintBackground({leafChart, canopyChart}, ChartBackground{});
    const std::string message = ErrorOf([&] { PaintProspect(leafChart); });
    EXPECT_NE(message.find("\"VP.dat\", line 421"), std::string::npos) << message;
    const QImage& image = leafChart.image();
    EXPECT_TRUE(ColumnHas(image, 315, kGreen));  // reflectance up to 2495 nm
    EXPECT_FALSE(ColumnHas(image, 316, kGreen));
    for (int x = 0; x < image.width(); ++x) ASSERT_FALSE(ColumnHas(image, x, kRed));
    EXPECT_EQ(LineRows(image, kGridGrey).size(), 11u);  // the background stays
}

// Every sample of a leaf curve inside a band shows in a curve colour, not in the stripe's or
// the dashed lines' colour.
TEST(MainChartsOnRaster, CurvesStayVisibleOverTheStripes)
{
    const struct {
        int entry;
        QRgb stripe;
        int stripeNm;  // a wavelength inside a band
    } cases[] = {
        {4, qRgb(250, 240, 255), 800},
        {7, qRgb(250, 230, 255), 870},
        {9, qRgb(225, 240, 255), 800},  // Sentinel-2 MSI: overlapping bands, pale blue
    };
    for (const auto& [entry, stripe, stripeNm] : cases) {
        SCOPED_TRACE(entry);
        ScopedWorkDir dir;
        leaf::RunProspect(leaf::kStartLeafParameters);
        const DrawnCharts charts = Draw(ChartBackground{entry}, 1);
        const RasterSurface unit(kLeafChartScale);
        const SensorBands& sensor = kSensorOverlays[static_cast<std::size_t>(entry - 2)];
        textio::FieldReader reader = textio::FieldReader::Open("VP.dat");
        int inBands = 0;
        while (!reader.AtEnd()) {
            const double wavelength = reader.ReadNumber("wavelength");
            const double refl = reader.ReadNumber("reflectance");
            reader.ReadNumber("transmittance");
            bool inBand = false;
            for (const Band& band : sensor.bands) {
                inBand |= band.lowerNm <= wavelength && wavelength <= band.upperNm;
            }
            if (!inBand) continue;
            ++inBands;
            const QRgb pixel =
                charts.leaf.image().pixel(unit.ColumnOf(wavelength), unit.RowOf(100 * refl));
            EXPECT_TRUE(pixel == kGreen || pixel == kRed) << wavelength << " nm";
        }
        EXPECT_GT(inBands, 20);
        EXPECT_TRUE(ColumnHas(charts.canopy.image(), unit.ColumnOf(stripeNm), stripe));
    }
}

}  // namespace
}  // namespace tulmera::plot
