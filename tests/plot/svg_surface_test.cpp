// Charts drawn as SVG: a well-formed picture of the chart's size, one path per curve.
#include "plot/svg_surface.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QString>
#include <QXmlStreamReader>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <vector>

#include "chart_test_support.h"
#include "plot/chart_geometry.h"
#include "plot/main_charts.h"
#include "spectral/soil_library.h"
#include "support/work_dir.h"

namespace tulmera::plot {
namespace {

using namespace tulmera::plot::testing;
using tulmera::testing::ScopedWorkDir;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What an SVG file holds, as a viewer reads it.
struct SvgContent {
    QString error;  // the XML reader's complaint; empty for a well-formed file
    QString width, height, viewBox;
    std::vector<QString> pathStrokes;  // the stroke colour of each <path>, "#rrggbb"
    std::vector<bool> pathDashed;
    std::vector<QString> pathData;
    std::vector<QString> rectFills;  // the fill colour of each <rect> (the first is the white)
};

SvgContent Parse(const std::string& bytes)
{
    SvgContent content;
    QXmlStreamReader xml(QByteArray::fromStdString(bytes));
    std::vector<QXmlStreamAttributes> groups;  // the enclosing <g> attributes, innermost last
    const auto inherited = [&](const QString& name) {
        for (auto g = groups.rbegin(); g != groups.rend(); ++g) {
            if (g->hasAttribute(name)) return g->value(name).toString();
        }
        return QString();
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"g") groups.pop_back();
        if (!xml.isStartElement()) continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"svg") {
            content.width = attributes.value("width").toString();
            content.height = attributes.value("height").toString();
            content.viewBox = attributes.value("viewBox").toString();
        } else if (xml.name() == u"g") {
            groups.push_back(attributes);
        } else if (xml.name() == u"path") {
            content.pathStrokes.push_back(inherited("stroke"));
            content.pathDashed.push_back(!inherited("stroke-dasharray").isEmpty());
            content.pathData.push_back(attributes.value("d").toString());
        } else if (xml.name() == u"rect") {
            content.rectFills.push_back(inherited("fill"));
        }
    }
    if (xml.hasError()) content.error = xml.errorString();
    return content;
}

std::map<QString, int> PathsByColour(const SvgContent& content)
{
    std::map<QString, int> count;
    for (const QString& stroke : content.pathStrokes) ++count[stroke];
    return count;
}

// The main charts as a refresh draws them, grid and all: one path per curve, and one for the
// dashed grid lines, which share a pen.
TEST(SvgSurface, MainChartsHoldOnePathPerCurveAtTheChartsSize)
{
    ScopedWorkDir dir;
    WriteLeafFile(421);
    WriteCanopyFile(421);
    spectral::Spectrum soil{};
    spectral::LoadSoil(spectral::kSoilKeys[0], soil);
    struct Row {
        const char* name;
        ChartScale scale;
        std::function<void(SvgSurface&)> paint;
        std::map<QString, int> paths;
    };
    const std::vector<Row> rows = {
        {"leaf",
         kLeafChartScale,
         [](SvgSurface& chart) { PaintProspect(chart); },
         {{"#c8c8c8", 1}, {"#00c800", 1}, {"#c80000", 1}}},
        {"canopy",
         kCanopyChartScale,
         [&](SvgSurface& chart) {
             PaintSailh(chart);
             PaintSoil(chart, soil);
         },
         {{"#c8c8c8", 1}, {"#00c800", 1}, {"#c86400", 1}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SvgSurface leafChart(kLeafChartScale), canopyChart(kCanopyChartScale);
        PaintBackground({leafChart, canopyChart}, ChartBackground{});
        SvgSurface& chart = row.scale.top == kLeafChartScale.top ? leafChart : canopyChart;
        row.paint(chart);
        const SvgContent content = Parse(chart.Bytes("chart.svg", "Gráfico"));
        ASSERT_TRUE(content.error.isEmpty()) << content.error.toStdString();
        EXPECT_EQ(content.width, "317");
        EXPECT_EQ(content.height, "165");
        EXPECT_EQ(content.viewBox, "0 0 317 165");
        EXPECT_EQ(PathsByColour(content), row.paths);
        // Each curve runs across the whole chart: 421 or 420 samples, after its first point.
        for (std::size_t i = 0; i < content.pathStrokes.size(); ++i) {
            if (content.pathStrokes[i] == "#c8c8c8") continue;
            EXPECT_GE(content.pathData[i].count('L'), 420) << content.pathStrokes[i].toStdString();
            EXPECT_EQ(content.pathData[i].count('M'), 1) << content.pathStrokes[i].toStdString();
        }
    }
}

// The mapping, pens, boxes and clipping, one drawing each; numbers are written with a point
// even when the program runs under a Spanish locale.
TEST(SvgSurface, DrawsOperationsAsPathsAndBoxes)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    struct Row {
        const char* name;
        std::function<void(SvgSurface&)> draw;
        std::vector<QString> pathData;
        std::vector<bool> dashed;
        std::vector<QString> boxes;  // after the white background
    };
    const std::vector<Row> rows = {
        {"corners on pixel centres",
         [](SvgSurface& s) { s.Line(400, 0, 2500, 100); },
         {"M0.5,164.5 L316.5,0.5"},
         {false},
         {}},
        {"a polyline is one path, colour set again or not",
         [](SvgSurface& s) {
             s.PlotPoint(0, 0);
             s.SetPenColor({0, 200, 0});
             s.LineTo(400, 50);
             s.SetPenColor({0, 200, 0});
             s.LineTo(2500, 50);
         },
         {"M-59.6905,164.5 L0.5,82.5 L316.5,82.5"},
         {false},
         {}},
        {"a new colour starts a new path",
         [](SvgSurface& s) {
             s.Line(400, 0, 2500, 0);
             s.SetPenColor({200, 0, 0});
             s.LineTo(2500, 100);
         },
         {"M0.5,164.5 L316.5,164.5", "M316.5,164.5 L316.5,0.5"},
         {false, false},
         {}},
        {"dashed lines share a path, one subpath each",
         [](SvgSurface& s) {
             s.SetPenStyle(PenStyle::Dashed);
             s.Line(400, 0, 400, 100);
             s.Line(400, 100, 2500, 100);
         },
         {"M0.5,164.5 L0.5,0.5 M0.5,0.5 L316.5,0.5"},
         {true},
         {}},
        {"a wide pen draws solid whatever its style",
         [](SvgSurface& s) {
             s.SetPenStyle(PenStyle::Dashed);
             s.SetPenWidth(2);
             s.Line(400, 0, 2500, 0);
         },
         {"M0.5,164.5 L316.5,164.5"},
         {false},
         {}},
        {"non-finite ends draw nothing, the polyline goes on",
         [](SvgSurface& s) {
             s.Line(400, 0, kNaN, 0);
             s.LineTo(400, 100);
             s.LineTo(2500, 100);
         },
         {"M0.5,0.5 L316.5,0.5"},
         {false},
         {}},
        {"boxes inside are kept, wholly outside left out",
         [](SvgSurface& s) {
             s.FilledBox(400, 0, 2500, 100, {1, 2, 3});
             s.FilledBox(100, 0, 300, 100, {4, 5, 6});
             s.PlotPoint(0, 0);
             s.PlotPoint(2500, 100);
         },
         {},
         {},
         {"#010203", "#000000"}},
        {"clear forgets what was drawn",
         [](SvgSurface& s) {
             s.Line(400, 0, 2500, 100);
             s.FilledBox(400, 0, 2500, 100, {1, 2, 3});
             s.Clear();
         },
         {},
         {},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SvgSurface surface(kLeafChartScale);
        row.draw(surface);
        const SvgContent content = Parse(surface.Bytes("chart.svg"));
        ASSERT_TRUE(content.error.isEmpty()) << content.error.toStdString();
        EXPECT_EQ(content.pathData, row.pathData);
        EXPECT_EQ(content.pathDashed, row.dashed);
        ASSERT_FALSE(content.rectFills.empty());
        EXPECT_EQ(content.rectFills.front(), "#ffffff");
        EXPECT_EQ(std::vector<QString>(content.rectFills.begin() + 1, content.rectFills.end()),
                  row.boxes);
    }
    QLocale::setDefault(QLocale::c());
}

TEST(SvgSurface, SavesWholeFilesOrNamesTheFile)
{
    ScopedWorkDir dir;
    SvgSurface chart(kSweepChartScale);
    chart.Line(0, 0, 2500, 100);
    SaveSvg(chart, "sweep.svg");
    EXPECT_TRUE(Parse(chart.Bytes("sweep.svg")).error.isEmpty());
    EXPECT_EQ(std::filesystem::file_size("sweep.svg"), chart.Bytes("sweep.svg").size());

    const std::string message = ErrorOf([&] { SaveSvg(chart, "no-such-dir/sweep.svg"); });
    EXPECT_NE(message.find("\"no-such-dir/sweep.svg\""), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists("no-such-dir"));
}

}  // namespace
}  // namespace tulmera::plot
