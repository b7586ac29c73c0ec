// The hemispherical view's figure: the principal plane and the CSV read the grid where its
// directions lie, the map paints each direction's colour where it lies (grey where there is no
// value), and the figure's note and title reach the SVG.
#include "plot/hemisphere_figure.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "plot/figure_text.h"
#include "plot/raster_figure.h"
#include "plot/svg_figure.h"
#include "plot/text_recorder.h"

namespace tulmera::plot {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Value zenith·1000 + azimuth (degrees) at each direction, none at zenith 70°, azimuth 45°.
HemisphereValues Grid()
{
    HemisphereValues grid;
    grid.sunZenithDeg = 30;
    for (int i = 0; i < grid.ZenithCount(); ++i) {
        for (int j = 0; j < grid.AzimuthCount(); ++j) {
            grid.values.push_back(i * 5.0 * 1000.0 + j * 5.0);
        }
    }
    grid.values[static_cast<std::size_t>(14 * grid.AzimuthCount() + 9)].reset();
    return grid;
}

TEST(HemisphereFigure, PlaneAndCsvReadTheirDirections)
{
    const HemisphereValues grid = Grid();
    ASSERT_EQ(grid.ZenithCount(), 17);
    ASSERT_EQ(grid.AzimuthCount(), 72);
    const PlaneCut cut = PrincipalPlane(grid);
    ASSERT_EQ(cut.viewAngle.size(), 33u);
    const struct {
        std::size_t at;
        double angle, value;
    } cases[] = {
        {0, -80, 80180},                               // backward: relative azimuth 180
        {8, -40, 40180}, {16, 0, 0}, {22, 30, 30000},  // the hot spot's side: azimuth 0
        {32, 80, 80000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cut.viewAngle[c.at], c.angle);
        ASSERT_TRUE(cut.value[c.at].has_value()) << c.angle;
        EXPECT_EQ(*cut.value[c.at], c.value) << c.angle;
    }
    const std::string csv = HemisphereCsv(grid);
    EXPECT_TRUE(csv.starts_with("view_zenith,azimuth,value\n0,0,0\n0,5,5\n"));
    EXPECT_NE(csv.find("\n70,40,70040\n70,45,\n70,50,70050\n"), std::string::npos);
    EXPECT_TRUE(csv.ends_with("\n80,355,80355\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 17 * 72);
}

TEST(HemisphereFigure, MapPaintsEachDirectionWhereItLies)
{
    const HemisphereValues grid = Grid();
    HemisphereTexts texts;
    texts.title = "Canopy reflectance at 670 nm";
    const FigureStyle style = FigureStyle::Normal();
    const HemisphereLayout layout = LayOutHemisphere(grid, texts, 900, style, FigureTextMeasure());
    EXPECT_EQ(layout.low, 0.0);
    EXPECT_EQ(layout.high, 80355.0);
    // The map, its bar and the cut side by side, none over another.
    EXPECT_LE(layout.centreX + layout.radius, layout.bar.left);
    EXPECT_LE(layout.bar.right(), layout.frame.plot.left);
    EXPECT_LE(layout.frame.plot.right(), layout.frame.width);
    RasterFigure surface(layout.frame, 1, layout.frame.width);
    DrawHemisphereFigure(surface, grid, texts, layout, style);
    const QImage image = surface.Image();
    const double perDegree = layout.radius / 82.5;
    const auto pixelAt = [&](double zenith, double azimuth) {
        const double r = zenith * perDegree, a = azimuth * kDegree;
        return image.pixel(static_cast<int>(std::lround(layout.centreX + r * std::sin(a))),
                           static_cast<int>(std::lround(layout.centreY - r * std::cos(a))));
    };
    const auto rgb = [](Rgb c) { return qRgb(c.r, c.g, c.b); };
    const struct {
        double zenith, azimuth;
    } directions[] = {{10, 45}, {35, 120}, {50, 200}, {75, 300}, {65, 10}};
    for (const auto& d : directions) {
        const double value = d.zenith * 1000.0 + d.azimuth;
        EXPECT_EQ(pixelAt(d.zenith, d.azimuth), rgb(RampColour(value / 80355.0)))
            << d.zenith << "/" << d.azimuth;
    }
    EXPECT_EQ(pixelAt(70, 45), rgb(kNoValueGrey));
    EXPECT_EQ(pixelAt(70, 40), rgb(RampColour(70040.0 / 80355.0)));
    // Outside the disc, nothing but white.
    EXPECT_EQ(pixelAt(86, 45), qRgb(255, 255, 255));
}

TEST(HemisphereFigure, RampRunsFromDarkToLightAndKeepsToItsEnds)
{
    const Rgb dark = RampColour(0.0), light = RampColour(1.0);
    EXPECT_EQ(RampColour(-3.0), dark);
    EXPECT_EQ(RampColour(7.0), light);
    EXPECT_EQ(RampColour(std::nan("")), dark);
    double previous = -1.0;
    for (int k = 0; k <= 20; ++k) {  // brightness rises along the ramp: it reads in grey too
        const Rgb c = RampColour(k / 20.0);
        const double luma = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
        EXPECT_GT(luma, previous) << k;
        previous = luma;
    }
    EXPECT_NE(RampColour(0.5), kNoValueGrey);
}

// In either style, from the narrowest figure to a saved one, every horizontal text lies
// inside the picture (the long axis title of the cut too) and the cut's angles do not touch.
TEST(HemisphereFigure, TextsStayInsideAndAnglesApartInEitherStyle)
{
    const HemisphereValues grid = Grid();
    HemisphereTexts texts;
    texts.title = "Reflectividad de la cubierta a 670 nm";
    texts.planeAxis = "Ángulo de observación en el plano principal (°)";
    for (const FigureStyle& style : {FigureStyle::Normal(), FigureStyle::Presentation()}) {
        for (const int width : {SmallestHemisphereWidth(style), 900, 1200}) {
            const std::string label = std::to_string(width) + " at text size "
                                      + std::to_string(static_cast<int>(style.textSize));
            const HemisphereLayout layout =
                LayOutHemisphere(grid, texts, width, style, FigureTextMeasure());
            testing::TextRecorder surface;
            DrawHemisphereFigure(surface, grid, texts, layout, style);
            std::vector<std::pair<double, double>> angles;  // start and end of each number
            for (const auto& placed : surface.texts) {
                if (placed.style.vertical) continue;
                const double w = FigureTextWidth(placed.text, placed.style.size);
                double start = placed.x;
                if (placed.style.anchor == TextAnchor::Middle) start -= w / 2;
                if (placed.style.anchor == TextAnchor::End) start -= w;
                EXPECT_GE(start, 0.0) << label << ": " << placed.text;
                EXPECT_LE(start + w, layout.frame.width + 0.5) << label << ": " << placed.text;
                const bool underCut =
                    placed.y > layout.frame.plot.bottom() && placed.x >= layout.frame.plot.left - w;
                if (underCut && placed.text != texts.planeAxis)
                    angles.emplace_back(start, start + w);
            }
            ASSERT_GE(angles.size(), 5u) << label;
            std::sort(angles.begin(), angles.end());
            for (std::size_t i = 1; i < angles.size(); ++i) {
                EXPECT_GT(angles[i].first, angles[i - 1].second) << label << " at number " << i;
            }
        }
    }
}

TEST(HemisphereFigure, SvgKeepsTitleNoteAndAxes)
{
    HemisphereValues grid = Grid();
    for (auto& v : grid.values) v = 0.25;  // one value everywhere: a widened scale
    HemisphereTexts texts;
    texts.title = "Reflectividad a 670 nm";
    texts.note = "Mezcla de cielo física";
    const FigureStyle style = FigureStyle::Normal();
    const HemisphereLayout layout = LayOutHemisphere(grid, texts, 800, style, FigureTextMeasure());
    EXPECT_LT(layout.low, 0.25);
    EXPECT_GT(layout.high, 0.25);
    SvgFigure surface(layout.frame);
    DrawHemisphereFigure(surface, grid, texts, layout, style);
    const std::string svg = surface.Bytes("h.svg", texts.title);
    for (const std::string& text : {texts.title, texts.note, texts.planeAxis, std::string("180°"),
                                    std::string("Sun (30°)"), texts.noValue}) {
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tulmera::plot
