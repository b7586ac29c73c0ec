// The readout's inverse of the chart mapping: which sample lies under a pixel.
#include "plot/chart_readout.h"

#include <gtest/gtest.h>

#include "plot/chart_geometry.h"

namespace tulmera::plot {
namespace {

TEST(ChartReadout, APixelGivesTheSampleDrawnThereAndNoneBeyondTheCurve)
{
    ChartScale wide = kCanopyChartScale;
    wide.widthPx = 634;  // a window that grew the chart to twice its width
    const struct {
        const char* name;
        ChartScale scale;
        double X;
        int sampleCount;
        std::optional<int> index;
    } cases[] = {
        {"first column", kLeafChartScale, 0, 421, 0},
        {"last column", kLeafChartScale, 316, 421, 420},
        {"800 nm", kLeafChartScale, PixelXOf(kLeafChartScale, 80), 421, 80},
        {"800 nm, grown chart", wide, PixelXOf(wide, 80), 421, 80},
        {"just under half a step past 800 nm", wide, PixelXOf(wide, 80) + 0.3, 421, 80},
        {"canopy curve ends at 2495 nm", kCanopyChartScale, 316, 420, std::nullopt},
        {"canopy 2495 nm", kCanopyChartScale, PixelXOf(kCanopyChartScale, 419), 420, 419},
        {"left of the chart", kLeafChartScale, -3, 421, std::nullopt},
    };
    for (const auto& c : cases) {
        const ChartPoint point = ChartPointAt(c.scale, c.X, 0);
        EXPECT_EQ(NearestSample(point.x, c.sampleCount), c.index) << c.name;
    }
    EXPECT_DOUBLE_EQ(ChartPointAt(kLeafChartScale, 0, 0).y, 100);
    EXPECT_DOUBLE_EQ(ChartPointAt(kLeafChartScale, 0, 164).y, 0);
    EXPECT_DOUBLE_EQ(ChartPointAt(kLeafChartScale, 316, 0).x, 2500);
}

TEST(ChartReadout, TheCurveNearestThePointerIsChosen)
{
    spectral::Spectrum low{}, high{};
    low.fill(10);
    high.fill(40);
    high[5] = 12;  // the curves nearly meet at one sample
    const std::vector<const spectral::Spectrum*> curves = {&low, &high};
    EXPECT_EQ(NearestCurve(curves, 0, 30), 1U);
    EXPECT_EQ(NearestCurve(curves, 0, 20), 0U);
    EXPECT_EQ(NearestCurve(curves, 5, 12.5), 1U);
    EXPECT_EQ(NearestCurve(curves, 0, 25), 0U) << "the first of equally near curves";
    EXPECT_EQ(NearestCurve({}, 0, 25), std::nullopt);
}

}  // namespace
}  // namespace tulmera::plot
