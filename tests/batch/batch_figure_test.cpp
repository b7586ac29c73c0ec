// --figure of tulmera-batch: complete figures in place of the plot areas, PNG at a chosen
// width and SVG with its texts; the plain plot areas stay the default.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/text_file.h"

namespace tulmera::batch {
namespace {

namespace fs = std::filesystem;
using testing::RunCommand;
using testing::ScopedWorkDir;

std::vector<std::string> SvgTexts(const fs::path& file)
{
    std::vector<std::string> texts;
    QXmlStreamReader xml(QByteArray::fromStdString(textio::ReadTextFile(file.string())));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text") {
            texts.push_back(xml.readElementText().toStdString());
        }
    }
    EXPECT_FALSE(xml.hasError()) << file << ": " << xml.errorString().toStdString();
    return texts;
}

QImage Png(const fs::path& file) { return QImage(QString::fromStdString(file.string())); }

// Every command's charts as figures: the PNG as wide as asked, the SVG with its axis titles,
// numbers and legend; the sweeps' legend strip stays a plain strip.
TEST(BatchFigure, EveryCommandWritesFiguresOfItsCharts)
{
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::string> figures;
        std::vector<std::string> captions;  // among the SVG texts of the first figure
    } cases[] = {
        {{"leaf", "--background", "4"}, {"leaf"}, {"Leaf reflectance", "Transmittance", "1.0"}},
        {{"canopy"}, {"leaf", "canopy"}, {"Leaf transmittance", "Wavelength (nm)", "2500"}},
        {{"sweep", "--param", "Cab", "--from", "20", "--to", "40", "--step", "10"},
         {"sweep"},
         {"Cab = 20", "Cab = 40", "Reflectance"}},
        {{"sweep-canopy", "--from", "1", "--to", "3", "--step", "1", "--quantity",
          "Landsat-TM band 7"},
         {"quantity", "sweep"},
         {"Landsat-TM band 7", "LAI", "0.0"}},  // a reflectance axis from zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        ScopedWorkDir dir;
        fs::create_directories("png");
        fs::create_directories("svg");
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(),
                         {"--png", "png", "--svg", "svg", "--figure", "--width", "1000"});
        const auto [status, text] = RunCommand(arguments);
        ASSERT_EQ(status, 0) << text;
        for (const std::string& name : c.figures) {
            const QImage png = Png(dir.path() / "png" / (name + ".png"));
            EXPECT_EQ(png.width(), 1000) << name;
            EXPECT_GT(png.height(), 400) << name;
        }
        const std::vector<std::string> texts =
            SvgTexts(dir.path() / "svg" / (c.figures[0] + ".svg"));
        for (const std::string& caption : c.captions) {
            EXPECT_NE(std::ranges::find(texts, caption), texts.end()) << caption;
        }
        if (fs::exists("png/legend.png")) {
            EXPECT_EQ(Png(dir.path() / "png/legend.png").height(), 17);
        }
    }
}

// Projection: the same figure with larger texts is taller at the same width.
TEST(BatchFigure, PresentationFiguresHaveLargerTexts)
{
    ScopedWorkDir dir;
    fs::create_directories("a");
    fs::create_directories("b");
    ASSERT_EQ(RunCommand({"leaf", "--png", "a", "--figure"}).first, 0);
    ASSERT_EQ(RunCommand({"leaf", "--png", "b", "--figure", "--presentation"}).first, 0);
    const QImage normal = Png(dir.path() / "a/leaf.png");
    const QImage presenting = Png(dir.path() / "b/leaf.png");
    EXPECT_EQ(normal.width(), 1600);
    EXPECT_EQ(presenting.width(), 1600);
    EXPECT_NE(normal, presenting);
}

}  // namespace
}  // namespace tulmera::batch
