// --svg DIR of tulmera-batch: the same charts as --png, as vector pictures, staged with the
// run's other files.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::batch {
namespace {

namespace fs = std::filesystem;
using testing::ScopedWorkDir;

using testing::RunCommand;

std::set<std::string> FileNames(const fs::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    names.erase(kLockFile);
    return names;
}

// The size an SVG file declares and its number of paths; an XML error fails the test.
struct SvgFacts {
    int width = 0;
    int height = 0;
    int paths = 0;
};

SvgFacts ReadSvg(const fs::path& file)
{
    SvgFacts facts;
    QXmlStreamReader xml(QByteArray::fromStdString(textio::ReadTextFile(file.string())));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"svg") {
            facts.width = xml.attributes().value("width").toInt();
            facts.height = xml.attributes().value("height").toInt();
        }
        facts.paths += xml.name() == u"path";
    }
    EXPECT_FALSE(xml.hasError()) << file << ": " << xml.errorString().toStdString();
    return facts;
}

// Each command's charts: an SVG beside every PNG, of the PNG's size at scale 1. Charts with
// curves hold paths; the legend strip is boxes alone.
TEST(BatchSvg, EachCommandWritesItsChartsBesideThePngFiles)
{
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::string> curveCharts;
        std::vector<std::string> boxCharts;
    } cases[] = {
        {{"leaf", "--background", "3"}, {"leaf"}, {}},
        {{"canopy"}, {"leaf", "canopy"}, {}},
        {{"sweep", "--param", "Cab", "--from", "20", "--to", "40", "--step", "10"},
         {"sweep"},
         {"legend"}},
        {{"sweep-canopy", "--from", "1", "--to", "3", "--step", "1"},
         {"sweep", "quantity"},
         {"legend"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        ScopedWorkDir dir;
        fs::create_directories("png");
        fs::create_directories("svg");
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--png", "png", "--svg", "svg"});
        const auto [status, text] = RunCommand(arguments);
        ASSERT_EQ(status, 0) << text;
        std::set<std::string> expected;
        for (const auto* charts : {&c.curveCharts, &c.boxCharts}) {
            for (const std::string& name : *charts) {
                expected.insert(name + ".svg");
                const SvgFacts svg = ReadSvg(dir.path() / "svg" / (name + ".svg"));
                const QImage png(QString::fromStdString((dir.path() / "png" / name).string())
                                 + QStringLiteral(".png"));
                EXPECT_EQ(svg.width, png.width()) << name;
                EXPECT_EQ(svg.height, png.height()) << name;
                EXPECT_EQ(svg.paths > 0, charts == &c.curveCharts) << name;
            }
        }
        EXPECT_EQ(FileNames("svg"), expected);
    }
}

TEST(BatchSvg, BadSvgOptionsFailBeforeAnythingIsWritten)
{
    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* expected;
    } cases[] = {
        {{"leaf", "--svg", ""}, 2, "--svg needs a directory name"},
        {{"sweep", "--svg", "img", "--scale", "2"}, 2, "--scale is only used with --png DIR"},
        {{"sweep-canopy", "--svg", "img", "--csv", ""}, 2, "--csv needs a file name"},
        {{"sweep-canopy", "--svg", "missing"}, 1, "\"missing\": No such file or directory"},
        {{"canopy", "--png", "img", "--svg", "file.txt"}, 1, "\"file.txt\": not a directory"},
        {{"sweep", "--svg", "missing", "--csv", "s.csv"}, 1, "\"missing\": No such file"},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        fs::create_directory("img");
        std::ofstream("file.txt") << "x";
        const auto [status, text] = RunCommand(c.arguments);
        EXPECT_EQ(status, c.status) << text;
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
        EXPECT_EQ(FileNames("."), (std::set<std::string>{"img", "file.txt"})) << c.expected;
        EXPECT_TRUE(fs::is_empty("img")) << c.expected;
    }
}

}  // namespace
}  // namespace tulmera::batch
