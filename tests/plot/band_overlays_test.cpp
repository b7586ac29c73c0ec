#include "plot/band_overlays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "chart_test_support.h"
#include "testing/recording_surface.h"

namespace tulmera::plot {
namespace {

using namespace tulmera::plot::testing;

struct OverlayCase {
    int entry;
    const char* sensor;
    Rgb stripe;
    std::vector<Band> bands;  // as listed for the sensor
    int edgeCount;
    std::vector<int> drawnOnce;  // edges shared by two bands, and MODIS's close 672 and 673
};

// clang-format off
const std::vector<OverlayCase> kOverlays = {
    {2, "IRS-WIS", {250, 230, 255}, {{620, 680}, {770, 860}}, 4, {}},
    {3, "NOAA-AVHRR", {250, 230, 255}, {{580, 680}, {720, 1100}, {1580, 1640}}, 6, {}},
    {4, "Landsat-TM", {250, 240, 255},
     {{450, 520}, {520, 600}, {630, 690}, {760, 900}, {1550, 1750}, {2080, 2350}}, 11, {520}},
    {5, "SPOT-VEGETATION", {250, 230, 255}, {{430, 470}, {610, 680}, {780, 890}, {1580, 1750}},
     8, {}},
    {6, "IKONOS", {250, 230, 255}, {{450, 530}, {530, 610}, {640, 720}, {740, 880}}, 7, {530}},
    {7, "Terra-MODIS", {250, 230, 255},
     {{405, 420}, {438, 448}, {483, 493}, {526, 536}, {546, 556}, {662, 672}, {673, 683},
      {743, 753}, {862, 877}, {890, 920}, {931, 941}, {1230, 1250}, {1628, 1652},
      {2105, 2155}}, 28, {672, 673}},
    {8, "Terra-ASTER", {250, 240, 255},
     {{520, 600}, {630, 690}, {760, 860}, {1600, 1700}, {2145, 2185}, {2185, 2225},
      {2235, 2285}, {2295, 2365}, {2365, 2430}}, 16, {2185, 2365}},
    // Overlapping bands: every stripe in table order, each edge once.
    {9, "Sentinel-2 MSI", {225, 240, 255},
     {{433, 453}, {458, 523}, {543, 578}, {650, 680}, {698, 713}, {733, 748}, {773, 793},
      {785, 900}, {855, 875}, {935, 955}, {1360, 1390}, {1565, 1655}, {2100, 2280}}, 26, {}},
    {10, "Landsat-8/9 OLI", {225, 240, 255},
     {{435, 451}, {452, 512}, {533, 590}, {636, 673}, {851, 879}, {1363, 1384}, {1566, 1651},
      {2107, 2294}}, 16, {}},
};
// clang-format on

std::vector<double> EdgeLinesAt(const std::vector<ChartOp>& ops)
{
    std::vector<double> edges;
    for (const ChartOp& op : ops) {
        if (op.kind == ChartOp::Kind::Line && op.x1 == op.x2) edges.push_back(op.x1);
    }
    return edges;
}

TEST(BandOverlays, DrawStripesThenEachEdgeOnceThenHorizontalsOnBothCharts)
{
    for (const OverlayCase& c : kOverlays) {
        SCOPED_TRACE(c.sensor);
        RecordingSurface leafChart, canopyChart;
        PaintBackground({leafChart, canopyChart}, ChartBackground{c.entry});

        std::vector<ChartOp> expected{ClearOp(), ColorOp(100, 100, 100), WidthOp(1),
                                      StyleOp(PenStyle::Dashed)};
        std::vector<int> edges;
        for (const Band& band : c.bands) {
            expected.push_back(BoxOp(band.lowerNm, 100, band.upperNm, 0, c.stripe));
            edges.insert(edges.end(), {band.lowerNm, band.upperNm});
        }
        std::ranges::sort(edges);
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        ASSERT_EQ(static_cast<int>(edges.size()), c.edgeCount);
        for (const int edge : edges) expected.push_back(LineOp(edge, 0, edge, 100));
        for (int y = 0; y <= 100; y += 10) expected.push_back(LineOp(0, y, 2500, y));

        EXPECT_TRUE(SameOps(leafChart.ops(), expected));
        EXPECT_TRUE(SameOps(canopyChart.ops(), expected));
        const std::vector<double> drawn = EdgeLinesAt(leafChart.ops());
        for (const int edge : c.drawnOnce) EXPECT_EQ(std::ranges::count(drawn, edge), 1) << edge;
    }
}

// Entry 1 is the grid, 2 .. 10 the sensors; with no entry checked the charts are only cleared.
TEST(BandOverlays, TheCheckedEntrySelectsTheBackground)
{
    struct Row {
        int checkedEntry;
        Rgb firstPen;  // the first pen colour after the clear; unused without a background
        int boxes;
        int lines;
    };
    const std::vector<Row> rows = {
        {1, {200, 200, 200}, 0, 37},
        {2, {100, 100, 100}, 2, 15},
        {3, {100, 100, 100}, 3, 17},
        {4, {100, 100, 100}, 6, 22},
        {5, {100, 100, 100}, 4, 19},
        {6, {100, 100, 100}, 4, 18},
        {7, {100, 100, 100}, 14, 39},
        {8, {100, 100, 100}, 9, 27},
        {9, {100, 100, 100}, 13, 37},
        {10, {100, 100, 100}, 8, 27},
        {0, {}, 0, 0},
        {11, {}, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.checkedEntry);
        RecordingSurface leafChart, canopyChart;
        const MainCharts charts{leafChart, canopyChart};
        PaintBands(charts, kIrsWis);  // something left over from an earlier refresh
        leafChart.ForgetOps();
        canopyChart.ForgetOps();
        PaintBackground(charts, ChartBackground{row.checkedEntry});
        const std::vector<ChartOp>& ops = leafChart.ops();
        ASSERT_FALSE(ops.empty());
        EXPECT_EQ(ops.front(), ClearOp());
        const auto count = [&](ChartOp::Kind kind) {
            return std::ranges::count_if(ops, [&](const ChartOp& op) { return op.kind == kind; });
        };
        EXPECT_EQ(count(ChartOp::Kind::Clear), 1);
        EXPECT_EQ(count(ChartOp::Kind::FilledBox), row.boxes);
        EXPECT_EQ(count(ChartOp::Kind::Line), row.lines);
        if (ops.size() > 1) {
            EXPECT_EQ(ops[1], ColorOp(row.firstPen.r, row.firstPen.g, row.firstPen.b));
        }
        EXPECT_TRUE(SameOps(canopyChart.ops(), ops)) << "both charts alike";
    }
}

}  // namespace
}  // namespace tulmera::plot
