#include "plot/measured_curve.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "chart_test_support.h"
#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"
#include "testing/recording_surface.h"

namespace tulmera::plot {
namespace {

using namespace tulmera::plot::testing;

// Data at the grid indices [first, last], value index / 1000.
void Fill(MeasuredValues& values, int first, int last)
{
    for (int i = first; i <= last; ++i) values[static_cast<std::size_t>(i)] = i / 1000.0;
}

std::vector<ChartOp> PenOps() { return {ColorOp(0, 0, 0), WidthOp(1), StyleOp(PenStyle::Solid)}; }

TEST(PaintMeasured, DrawsOnePolylinePerRunOfData)
{
    struct Row {
        const char* name;
        std::vector<std::pair<int, int>> runs;  // grid index ranges with data
        MeasuredDirection direction;
    };
    const std::vector<Row> rows = {
        {"nothing measured", {}, MeasuredDirection::Upward},
        {"two runs, reflectance", {{2, 4}, {7, 8}}, MeasuredDirection::Upward},
        {"lone sample then the last point, transmittance",
         {{0, 0}, {419, 420}},
         MeasuredDirection::Downward},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MeasuredValues values;
        std::vector<ChartOp> expected = PenOps();
        for (const auto& [first, last] : row.runs) {
            Fill(values, first, last);
            for (int i = first; i <= last; ++i) {
                const double x = 400 + 5 * i;
                const double percent = 100.0 * (i / 1000.0);
                const double y =
                    row.direction == MeasuredDirection::Upward ? percent : 100.0 - percent;
                expected.push_back(i == first ? PointOp(x, y) : LineToOp(x, y));
            }
        }
        RecordingSurface chart;
        PaintMeasured(chart, values, row.direction);
        EXPECT_TRUE(SameOps(chart.ops(), expected));
    }
}

// On the raster surface the gap stays white between the two runs' black pixels.
TEST(PaintMeasured, LeavesTheGapUndrawnOnTheRaster)
{
    MeasuredValues values;
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        if (i < 100 || i > 200) values[static_cast<std::size_t>(i)] = 0.5;  // gap 900 .. 1400 nm
    }
    RasterSurface chart(kLeafChartScale, 1);
    chart.Clear();
    PaintMeasured(chart, values, MeasuredDirection::Upward);
    std::set<int> blackColumns;
    const QImage& image = chart.image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(0, 0, 0)) blackColumns.insert(x);
        }
    }
    EXPECT_TRUE(blackColumns.count(chart.ColumnOf(800)));
    EXPECT_TRUE(blackColumns.count(chart.ColumnOf(2000)));
    for (int nm = 920; nm <= 1380; nm += 10) {
        EXPECT_FALSE(blackColumns.count(chart.ColumnOf(nm))) << nm << " nm";
    }
}

}  // namespace
}  // namespace tulmera::plot
