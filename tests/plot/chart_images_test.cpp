#include "plot/chart_images.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "chart_test_support.h"
#include "plot/chart_geometry.h"
#include "plot/main_charts.h"
#include "plot/raster_surface.h"
#include "support/work_dir.h"

namespace tulmera::plot {
namespace {

using namespace tulmera::plot::testing;

TEST(ChartImages, SavesPngFilesWhole)
{
    tulmera::testing::ScopedWorkDir dir;
    RasterSurface leafChart(kLeafChartScale, 3), canopyChart(kCanopyChartScale, 3);
    PaintBackground({leafChart, canopyChart}, ChartBackground{8});  // every colour of a stripe
    const QImage& image = leafChart.image();
    ASSERT_EQ(image.size(), QSize(951, 495));
    SavePng(image, "leaf.png");
    const QImage back("leaf.png");
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);

    const std::string message = ErrorOf([&] { SavePng(image, "no-such-dir/leaf.png"); });
    EXPECT_NE(message.find("\"no-such-dir/leaf.png\""), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists("no-such-dir"));
}

}  // namespace
}  // namespace tulmera::plot
