// Complete figures: the layout leaves the texts room, the plot area is the chart's own picture
// at its place, the axes are numbered where their values lie, and the SVG keeps its texts.
#include "plot/figure.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QXmlStreamReader>
#include <algorithm>
#include <string>
#include <vector>

#include "plot/chart_figures.h"
#include "plot/figure_text.h"
#include "plot/raster_figure.h"
#include "plot/svg_figure.h"
#include "plot/sweep_chart.h"
#include "plot/text_recorder.h"
#include "plot/thick_pens.h"
#include "testing/recording_surface.h"

namespace tulmera::plot {
namespace {

using tulmera::testing::ChartOp;
using tulmera::testing::RecordingSurface;

using TextRecorder = tulmera::plot::testing::TextRecorder;

// A plot area with what a chart draws: a dashed grid line from outside the chart, a 2-pixel
// curve, a stripe.
void PaintSample(ChartSurface& chart)
{
    chart.FilledBox(630, 100, 690, 0, {250, 230, 255});
    chart.SetPenColor({200, 200, 200});
    chart.SetPenWidth(1);
    chart.SetPenStyle(PenStyle::Dashed);
    chart.Line(0, 50, 2500, 50);
    chart.SetPenColor({0, 200, 0});
    chart.SetPenWidth(2);
    chart.SetPenStyle(PenStyle::Solid);
    chart.PlotPoint(400, 5);
    for (int nm = 400; nm <= 2500; nm += 5) chart.LineTo(nm, 5 + (nm - 400) / 30.0);
}

struct NamedFigure {
    const char* name;
    Figure figure;
};

std::vector<NamedFigure> ProgramFigures()
{
    const FigureTexts english;
    return {
        {"leaf", LeafChartFigure(english, {true, true, false})},
        {"canopy", CanopyChartFigure(english, {false, false, true})},
        {"sweep",
         SweepChartFigure(english, "Leaf reflectance", {"Cab = 10", "Cab = 20", "Cab = 30"})},
        {"quantity", QuantityChartFigure({0.5, 8, 0.04669, 0.06062}, "LAI", "670 nm")},
    };
}

// Every figure at every size leaves its texts inside the picture and off the plot area, and
// keeps the chart's aspect.
TEST(FigureLayout, TextsStayInsideThePictureAndOffThePlotArea)
{
    for (const NamedFigure& named : ProgramFigures()) {
        for (const int width : {kMinFigureWidth + 200, kFigureUnitsWide, 1600}) {
            for (const FigureStyle& style : {FigureStyle::Normal(), FigureStyle::Presentation()}) {
                TextRecorder surface;
                const FigureLayout layout =
                    LayOutFigure(named.figure, width, style, FigureTextMeasure());
                PaintFigureFrame(surface, named.figure, layout, style);
                const FigureRect& plot = layout.plot;
                const std::string label = std::string(named.name) + " at " + std::to_string(width);
                EXPECT_NEAR(plot.height / plot.width,
                            double(named.figure.chart.heightPx) / named.figure.chart.widthPx,
                            1.0 / plot.width)
                    << label;
                EXPECT_EQ(layout.plotScale.widthPx, int(plot.width)) << label;
                for (const auto& text : surface.texts) {
                    const double w = FigureTextWidth(text.text, text.style.size);
                    double start = text.x;  // of the advance, along x when horizontal
                    if (text.style.anchor == TextAnchor::Middle) start -= w / 2;
                    if (text.style.anchor == TextAnchor::End) start -= w;
                    if (!text.style.vertical) {
                        EXPECT_GE(start, 0.0) << label << ": " << text.text;
                        EXPECT_LE(start + w, layout.width + 0.5) << label << ": " << text.text;
                    } else {
                        EXPECT_GE(text.x - text.style.size, 0.0) << label << ": " << text.text;
                    }
                    EXPECT_LE(text.y, layout.height) << label << ": " << text.text;
                    const bool insidePlot = text.x > plot.left && text.x < plot.right()
                                            && text.y > plot.top && text.y < plot.bottom();
                    EXPECT_FALSE(insidePlot) << label << ": " << text.text;
                }
            }
        }
    }
}

// The numbers sit where their values are drawn: the leaf transmittance runs from 0 at the top
// to 1 at the bottom, the reflectance the other way, 400 and 2500 nm on the first and last
// columns.
TEST(FigureLayout, NumbersLieAtTheirValues)
{
    const Figure figure = LeafChartFigure(FigureTexts{});
    TextRecorder surface;
    const FigureStyle style;
    const FigureLayout layout = LayOutFigure(figure, 800, style, FigureTextMeasure());
    PaintFigureFrame(surface, figure, layout, style);
    const FigureRect& plot = layout.plot;
    const auto rowsOf = [&](const std::string& text) {
        std::vector<double> rows;
        for (const auto& placed : surface.texts) {
            if (placed.text == text && !placed.style.vertical) rows.push_back(placed.y);
        }
        return rows;
    };
    // "0.0" and "1.0" each appear on both y axes: reflectance 0 at the bottom row and
    // transmittance 0 at the top row.
    const std::vector<double> zero = rowsOf("0.0"), one = rowsOf("1.0");
    ASSERT_EQ(zero.size(), 2u);
    ASSERT_EQ(one.size(), 2u);
    const double top = plot.top, bottom = plot.top + plot.height - 1;
    EXPECT_EQ(std::ranges::count(zero, bottom), 1);
    EXPECT_EQ(std::ranges::count(zero, top), 1);
    EXPECT_EQ(std::ranges::count(one, top), 1);
    EXPECT_EQ(std::ranges::count(one, bottom), 1);
    ASSERT_NE(surface.Find("400"), nullptr);
    ASSERT_NE(surface.Find("2500"), nullptr);
    EXPECT_EQ(surface.Find("400")->x, plot.left);
    EXPECT_EQ(surface.Find("2500")->x, plot.left + plot.width - 1);
    for (const char* title : {"Wavelength (nm)", "Reflectance", "Transmittance", "Leaf reflectance",
                              "Leaf transmittance"}) {
        EXPECT_NE(surface.Find(title), nullptr) << title;
    }
}

TEST(RoundTicks, StepsOfOneTwoOrFiveWithinTheRange)
{
    struct Case {
        double low, high;
        std::vector<double> values;
        int decimals;
    };
    const std::vector<Case> cases = {
        {0.0, 1.0, {0.0, 0.2, 0.4, 0.6, 0.8, 1.0}, 1},
        {0.04669, 0.06062, {0.05, 0.055, 0.06}, 3},  // a narrow reflectance range
        {0.5, 8.0, {2, 4, 6, 8}, 0},
        {-1.0, 1.0, {-1.0, -0.5, 0.0, 0.5, 1.0}, 1},
        {0.0, 90.0, {0, 20, 40, 60, 80}, 0},
    };
    for (const Case& c : cases) {
        const Ticks ticks = RoundTicks(c.low, c.high, 6);
        EXPECT_EQ(ticks.decimals, c.decimals) << c.low << " .. " << c.high;
        ASSERT_EQ(ticks.values.size(), c.values.size()) << c.low << " .. " << c.high;
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_NEAR(ticks.values[i], c.values[i], 1e-12) << c.low << " .. " << c.high;
        }
    }
}

// Projection pens: solid curves wider, the dashed 1-pixel grid as it is, whichever of width
// and style a chart sets first.
TEST(ThickPens, WidenSolidPensOnly)
{
    RecordingSurface target;
    ThickPens thick(target, 2);
    const auto lastWidth = [&] {
        const auto& ops = target.ops();
        const auto at =
            std::ranges::find(ops.rbegin(), ops.rend(), ChartOp::Kind::SetPenWidth, &ChartOp::kind);
        return at == ops.rend() ? 0 : at->width;
    };
    thick.SetPenWidth(1);
    thick.SetPenStyle(PenStyle::Dashed);
    EXPECT_EQ(lastWidth(), 1);
    thick.SetPenStyle(PenStyle::Solid);
    EXPECT_EQ(lastWidth(), 2);
    thick.SetPenWidth(2);
    EXPECT_EQ(lastWidth(), 4);
}

// The PNG: as wide as asked, the plot area pixel for pixel the chart's own picture at its
// size and scale, text in the margins left of and under it.
TEST(RasterFigure, HoldsTheChartsPictureAndTextInItsMargins)
{
    const Figure figure = LeafChartFigure(FigureTexts{});
    for (const int width : {1600, 1000, 2401}) {
        const QImage image = FigureImage(figure, width, FigureStyle::Normal(), PaintSample);
        ASSERT_EQ(image.width(), width);
        const RasterFigureSize size = RasterFigureSizeFor(width);
        const FigureLayout layout =
            LayOutFigure(figure, size.width, FigureStyle::Normal(), FigureTextMeasure());
        RasterSurface alone(layout.plotScale, size.pixelScale);
        alone.Clear();
        PaintSample(alone);
        const int k = size.pixelScale;
        const QImage placed = image.copy(int(layout.plot.left) * k, int(layout.plot.top) * k,
                                         alone.image().width(), alone.image().height());
        EXPECT_EQ(placed.convertToFormat(QImage::Format_RGB32),
                  alone.image().convertToFormat(QImage::Format_RGB32))
            << width;
        const auto inkIn = [&](int x0, int y0, int x1, int y1) {
            int ink = 0;
            for (int y = y0; y < y1; ++y) {
                for (int x = x0; x < x1; ++x) ink += image.pixel(x, y) != qRgb(255, 255, 255);
            }
            return ink;
        };
        const int left = int(layout.plot.left) * k - 2 * k;  // left of the frame
        const int below = int(layout.plot.bottom()) * k + 2 * k;
        EXPECT_GT(inkIn(0, int(layout.plot.top) * k, left, below), 100) << width;
        EXPECT_GT(inkIn(0, below, image.width(), image.height()), 100) << width;
    }
}

// The SVG: real texts for the numbers, titles and captions, and the plot area clipped.
TEST(SvgFigure, WritesTextsAndClipsThePlotArea)
{
    Figure figure = SweepChartFigure(FigureTexts{}, "Leaf sweep", {"Cab = 10", "Cab = 80"});
    const std::string svg = FigureSvg(figure, FigureStyle::Normal(), PaintSample, "f.svg");
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    std::vector<std::string> texts;
    bool clipped = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == u"text") texts.push_back(xml.readElementText().toStdString());
        if (xml.name() == u"g" && xml.attributes().value("clip-path") == u"url(#plotArea)") {
            clipped = true;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(clipped);
    for (const char* expected : {"400", "1300", "2500", "0.0", "0.6", "1.0", "Wavelength (nm)",
                                 "Reflectance", "Cab = 10", "Cab = 80", "Leaf sweep"}) {
        EXPECT_NE(std::ranges::find(texts, expected), texts.end()) << expected;
    }
}

// A long sweep names about kMaxSweepLegendCurves of its curves, the first and the last among
// them, each in its own colour.
TEST(SweepChartFigure, NamesTheFirstAndLastOfALongSweep)
{
    std::vector<std::string> captions;
    for (int k = 1; k <= 40; ++k) captions.push_back("N = " + std::to_string(k));
    const Figure figure = SweepChartFigure(FigureTexts{}, "", captions);
    ASSERT_LE(figure.legend.size(), kMaxSweepLegendCurves + 1);
    EXPECT_EQ(figure.legend.front().caption, "N = 1");
    EXPECT_EQ(figure.legend.back().caption, "N = 40");
    SweepColours colours = SweepColours::ForSweep(40);
    for (int k = 0; k < 40; ++k) colours.Advance();
    EXPECT_EQ(figure.legend.back().color, colours.CurveColour());
}

}  // namespace
}  // namespace tulmera::plot
