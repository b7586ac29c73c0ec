#include "plot/sweep_chart.h"

#include <gtest/gtest.h>

#include <string>

#include "support/work_dir.h"
#include "testing/recording_surface.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::plot {
namespace {

using ::tulmera::testing::ChartOp;
using ::tulmera::testing::RecordingSurface;
using Kind = ChartOp::Kind;
using testing::ScopedWorkDir;

TEST(SweepColours, FollowTheCurveNumber)
{
    const struct {
        int curve;
        Rgb colour;
    } cases[] = {
        {1, {0, 60, 0}},     {2, {0, 70, 0}},       {19, {0, 240, 0}},   {20, {5, 250, 0}},
        {21, {10, 255, 0}},  {25, {30, 255, 0}},    {69, {250, 255, 0}}, {70, {255, 255, 0}},
        {77, {255, 255, 0}}, {1000, {255, 255, 0}},
    };
    for (const auto& c : cases) {
        SweepColours colours = SweepColours::ForSweep(c.curve);
        for (int k = 0; k < c.curve; ++k) colours.Advance();
        EXPECT_EQ(colours.CurveColour(), c.colour) << "curve " << c.curve;
    }
}

// A curve file of 421 records: reflectance i / 1000, transmittance from `transmittance`.
std::string CurveFile(double (*transmittance)(int))
{
    std::string text;
    for (int i = 0; i < 421; ++i) {
        text += " " + textio::NumberText(400 + 5 * i) + "  " + textio::NumberText(i / 1000.0) + "  "
                + textio::NumberText(transmittance(i)) + " \r\n";
    }
    return text;
}

TEST(PaintMultiProspect, DrawsGridThenCurveThenLegendBox)
{
    ScopedWorkDir dir;
    textio::ReplaceTextFile(kSweepCurveFile, CurveFile([](int) { return 0.25; }));
    RecordingSurface chart, legend;
    SweepColours colours = SweepColours::ForSweep(8);
    colours.legendLeft = 50.0;
    colours.Advance();
    PaintMultiProspect({chart, legend}, colours);

    const std::vector<ChartOp>& ops = chart.ops();
    ASSERT_EQ(ops.size(), 3u + 11u + 26u + 4u + 421u);
    EXPECT_EQ(ops[0], (ChartOp{.kind = Kind::SetPenColor, .color = {200, 200, 200}}));
    EXPECT_EQ(ops[1], (ChartOp{.kind = Kind::SetPenWidth, .width = 1}));
    EXPECT_EQ(ops[2], (ChartOp{.kind = Kind::SetPenStyle, .style = PenStyle::Dashed}));
    for (int j = 0; j < 11; ++j) {
        const double y = 10.0 * j;
        EXPECT_EQ(ops[3 + j], (ChartOp{.kind = Kind::Line, .y1 = y, .x2 = 2500, .y2 = y}));
    }
    for (int j = 0; j < 26; ++j) {
        const double x = 100.0 * j;
        EXPECT_EQ(ops[14 + j], (ChartOp{.kind = Kind::Line, .x1 = x, .x2 = x, .y2 = 100}));
    }
    EXPECT_EQ(ops[40], (ChartOp{.kind = Kind::PlotPoint, .x1 = 0, .y1 = 0}));
    EXPECT_EQ(ops[41], (ChartOp{.kind = Kind::SetPenStyle, .style = PenStyle::Solid}));
    EXPECT_EQ(ops[42], (ChartOp{.kind = Kind::SetPenWidth, .width = 2}));
    EXPECT_EQ(ops[43], (ChartOp{.kind = Kind::SetPenColor, .color = {0, 60, 0}}));
    for (int i = 0; i < 421; ++i) {
        // Like every chart sample, the reflectance is plotted in single precision.
        const float percent = 100.0F * static_cast<float>(i / 1000.0);
        ASSERT_EQ(
            ops[44 + static_cast<std::size_t>(i)],
            (ChartOp{
                .kind = Kind::LineTo, .x1 = 400.0 + 5 * i, .y1 = static_cast<double>(percent)}))
            << i;
    }

    ASSERT_EQ(legend.ops().size(), 1u);
    EXPECT_EQ(
        legend.ops()[0],
        (ChartOp{
            .kind = Kind::FilledBox, .x1 = 50, .y1 = 20, .x2 = 75, .y2 = 0, .color = {0, 60, 0}}));
    EXPECT_EQ(colours.legendLeft, 75.0);
}

TEST(PaintMultiProspect, IgnoresTheTransmittance)
{
    ScopedWorkDir dir;
    RecordingSurface chartA, chartB, legend;
    SweepColours colours = SweepColours::ForSweep(1);
    textio::ReplaceTextFile(kSweepCurveFile, CurveFile([](int) { return 0.0; }));
    PaintMultiProspect({chartA, legend}, colours);
    textio::ReplaceTextFile(kSweepCurveFile, CurveFile([](int i) { return 1e-7 * i * i; }));
    PaintMultiProspect({chartB, legend}, colours);
    EXPECT_EQ(chartA.ops(), chartB.ops());
}

TEST(PaintMultiProspect, ABadCurveFileDrawsNothingAndKeepsTheState)
{
    const std::string good = CurveFile([](int) { return 0.5; });
    const struct {
        const char* name;
        std::string content;  // empty: no file at all
        const char* expected;
    } cases[] = {
        {"missing file", "", "\"MVPaint.dat\""},
        {"420 records", good.substr(0, good.rfind(" 2500 ")), "the file ends before"},
        {"not a number", " 400  0.05x  0.01 \r\n" + good.substr(good.find('\n') + 1),
         "\"0.05x\" is not a number"},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        if (!c.content.empty()) textio::ReplaceTextFile(kSweepCurveFile, c.content);
        RecordingSurface chart, legend;
        SweepColours colours = SweepColours::ForSweep(4);
        colours.Advance();
        const SweepColours before = colours;
        try {
            PaintMultiProspect({chart, legend}, colours);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos)
                << c.name << ": " << e.what();
        }
        EXPECT_TRUE(chart.ops().empty()) << c.name;
        EXPECT_TRUE(legend.ops().empty()) << c.name;
        EXPECT_EQ(colours.legendLeft, before.legendLeft) << c.name;
    }
}

}  // namespace
}  // namespace tulmera::plot
