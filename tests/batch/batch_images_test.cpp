// The chart images and the sweep workbook of tulmera-batch: drawn and written as the windows
// draw and write them.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "batch/batch_runner.h"
#include "export/sweep_export.h"
#include "multi/sweep.h"
#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"
#include "refresh/refresh.h"
#include "spectral/soil_library.h"
#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/working_files.h"

namespace tulmera::batch {
namespace {

namespace fs = std::filesystem;
using testing::ScopedWorkDir;

using testing::RunCommand;

std::vector<std::string> Joined(std::vector<std::string> arguments,
                                const std::vector<std::string>& more)
{
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// Makes `directory` the current directory, creating it first.
void Enter(const fs::path& directory)
{
    fs::create_directories(directory);
    fs::current_path(directory);
}

QImage ReadPng(const fs::path& file)
{
    const QImage image(QString::fromStdString(file.string()));
    EXPECT_FALSE(image.isNull()) << file;
    return image.convertToFormat(QImage::Format_RGB32);
}

bool HasColour(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour) return true;
        }
    }
    return false;
}

std::set<std::string> FileNames(const fs::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    names.erase(kLockFile);  // the run's lock, left in place for the next run
    return names;
}

// A thick leaf over a dense erectophile canopy on the third soil, as options and as inputs.
const std::vector<std::string> kLeafArguments = {"--N",  "2.2",  "--Cab", "60",
                                                 "--Cw", "0.02", "--Cm",  "0.01"};
const leaf::LeafParameters kLeaf{2.2, 60, 0.02, 0.01};
const std::vector<std::string> kCanopyArguments = {
    "--lai",     "2",   "--sun",  "30",         "--view", "30",
    "--hotspot", "0.1", "--lidf", "Erectofilo", "--soil", std::string(spectral::kSoilKeys[2])};
const canopy::CanopyInputs kCanopy{
    2, 30, 30, 0, 0.1, "Erectofilo", std::string(spectral::kSoilKeys[2]), canopy::Visibility::Km15};

TEST(BatchImages, MainChartsAreTheWindowsRecomputation)
{
    const struct {
        int background, k;
    } cases[] = {{1, 1}, {1, 3}, {4, 1}, {7, 3}};  // the grid, Landsat-TM, Terra-MODIS
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "background " << c.background << ", K " << c.k);
        ScopedWorkDir dir;
        fs::create_directories(dir.path() / "canopy" / "img");
        fs::create_directories(dir.path() / "leaf");
        const auto imageArguments = [&c](const std::string& directory) {
            return std::vector<std::string>{"--png",        directory,
                                            "--background", std::to_string(c.background),
                                            "--scale",      std::to_string(c.k)};
        };
        // "img" is taken from the -C directory.
        const auto [canopyStatus, canopyText] = RunCommand(
            Joined(Joined({"canopy", "-C", (dir.path() / "canopy").string()}, kLeafArguments),
                   Joined(kCanopyArguments, imageArguments("img"))));
        ASSERT_EQ(canopyStatus, 0) << canopyText;
        Enter(dir.path() / "leaf");
        const auto [leafStatus, leafText] =
            RunCommand(Joined(Joined({"leaf"}, kLeafArguments), imageArguments(".")));
        ASSERT_EQ(leafStatus, 0) << leafText;

        Enter(dir.path() / "window");
        plot::RasterSurface leafChart(plot::kLeafChartScale, c.k);
        plot::RasterSurface canopyChart(plot::kCanopyChartScale, c.k);
        canopy::CanopyState state;
        refresh::Recompute(kLeaf, kCanopy, state, {leafChart, canopyChart}, {c.background});

        const QImage leafPng = ReadPng(dir.path() / "canopy" / "img" / "leaf.png");
        const QImage canopyPng = ReadPng(dir.path() / "canopy" / "img" / "canopy.png");
        EXPECT_EQ(leafPng.size(), QSize(317 * c.k, 165 * c.k));
        EXPECT_EQ(canopyPng.size(), QSize(317 * c.k, 165 * c.k));
        EXPECT_TRUE(leafPng == leafChart.image());
        EXPECT_TRUE(canopyPng == canopyChart.image());
        EXPECT_TRUE(HasColour(canopyPng, qRgb(0, 200, 0))
                    && HasColour(canopyPng, qRgb(200, 100, 0)))
            << "the canopy and soil curves";
        EXPECT_TRUE(ReadPng(dir.path() / "leaf" / "leaf.png") == leafChart.image());
        EXPECT_EQ(FileNames(dir.path() / "leaf"), (std::set<std::string>{"VP.dat", "leaf.png"}));
    }
}

TEST(BatchImages, SweepChartAndLegendAreTheWindowsDrawing)
{
    for (const int k : {1, 3}) {
        SCOPED_TRACE(k);
        ScopedWorkDir dir;
        fs::create_directory("img");
        const auto [status, text] =
            RunCommand({"sweep", "--param", "Cab", "--from", "15", "--to", "39", "--step", "1",
                        "--png", "img", "--scale", std::to_string(k)});
        ASSERT_EQ(status, 0) << text;

        Enter(dir.path() / "window");
        multi::SweepRequest request;
        request.swept = multi::SweptParameter::Cab;
        request.lower = 15;
        request.upper = 39;
        request.interval = 1;
        plot::RasterSurface chart(plot::kSweepChartScale, k);
        plot::RasterSurface legend(plot::kLegendStripScale, k);
        ASSERT_EQ(multi::RunSweep(request, {chart, legend}), 25);

        const QImage sweepPng = ReadPng(dir.path() / "img" / "sweep.png");
        const QImage legendPng = ReadPng(dir.path() / "img" / "legend.png");
        EXPECT_EQ(sweepPng.size(), QSize(365 * k, 245 * k));
        EXPECT_EQ(legendPng.size(), QSize(369 * k, 17 * k));
        EXPECT_TRUE(sweepPng == chart.image());
        EXPECT_TRUE(legendPng == legend.image());
        EXPECT_EQ(legendPng.pixel(legendPng.width() - 1, 0), qRgb(30, 255, 0));  // curve 25
    }
}

// The image and figure options: each outside its range or without its companion.
TEST(BatchImages, BadImageOptionsAreUsageErrorsNamingTheRange)
{
    const struct {
        std::vector<std::string> arguments;
        const char* expected;
    } cases[] = {
        {{"leaf", "--png", "img", "--background", "0"},
         "--background must be a whole number from 1 to 10"},
        {{"canopy", "--png", "img", "--background", "11"},
         "--background must be a whole number from 1 to 10"},
        {{"leaf", "--png", "img", "--scale", "0"}, "--scale must be a whole number from 1 to 16"},
        {{"canopy", "--png", "img", "--scale", "17"},
         "--scale must be a whole number from 1 to 16"},
        {{"sweep", "--png", "img", "--scale", "2.5"},
         "--scale must be a whole number from 1 to 16"},
        {{"sweep", "--png", "img", "--background", "2"}, "Unknown option \"--background\""},
        {{"leaf", "--scale", "2"}, "--scale is only used with --png DIR"},
        {{"canopy", "--background", "3"}, "--background is only used with --png DIR"},
        {{"leaf", "--png", ""}, "--png needs a directory name"},
        {{"sweep", "--xlsx", ""}, "--xlsx needs a file name"},
        {{"leaf", "--figure"}, "--figure is only used with --png DIR or --svg DIR"},
        {{"leaf", "--png", "img", "--width", "800"}, "--width is only used with --figure"},
        {{"leaf", "--svg", "img", "--presentation"}, "--presentation is only used with --figure"},
        {{"leaf", "--png", "img", "--figure", "--scale", "2"}, "--scale is not used with --figure"},
        {{"leaf", "--png", "img", "--figure", "--width", "199"}, "--width"},
        {{"sweep", "--png", "img", "--figure", "--width", "12801"}, "--width"},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        fs::create_directory("img");
        const auto [status, text] = RunCommand(c.arguments);
        EXPECT_EQ(status, 2) << text;
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
        EXPECT_EQ(FileNames("."), std::set<std::string>{"img"}) << c.expected;
        EXPECT_TRUE(fs::is_empty("img")) << c.expected;
    }
}

// A directory that cannot take the images is found before the run writes anything.
TEST(BatchImages, AMissingImageDirectoryFailsTheRunNamingIt)
{
    const struct {
        std::vector<std::string> arguments;
        const char* expected;
    } cases[] = {
        {{"leaf", "--png", "missing"}, "\"missing\": No such file or directory"},
        {{"canopy", "--png", "missing/img"}, "\"missing/img\": No such file or directory"},
        {{"sweep", "--png", "missing", "--xlsx", "s.xlsx"}, "\"missing\": No such file"},
        {{"leaf", "--png", "file.txt"}, "\"file.txt\": not a directory"},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        std::ofstream("file.txt") << "x";
        const auto [status, text] = RunCommand(c.arguments);
        EXPECT_EQ(status, 1) << text;
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
        EXPECT_EQ(FileNames("."), std::set<std::string>{"file.txt"}) << c.expected;
    }
}

TEST(BatchImages, SweepWritesTheWorkbookOfItsOwnValues)
{
    ScopedWorkDir dir;
    fs::create_directory("run");
    const auto [status, text] =
        RunCommand({"sweep", "-C", "run", "--param", "Cw", "--from", "0.0001", "--to", "0.07",
                    "--step", "0.01", "--xlsx", "cw.xlsx"});
    ASSERT_EQ(status, 0) << text;
    // The runner changed into "run"; the workbook went there, whole, beside the sweep's files.
    EXPECT_EQ(FileNames("."), (std::set<std::string>{"MVP.dat", "MVPaint.dat", "cw.xlsx"}));
    const std::string bytes = testing::FileBytes("cw.xlsx");
    EXPECT_EQ(bytes.substr(0, 4), "PK\x03\x04");
    EXPECT_NE(bytes.find("xl/worksheets/sheet1.xml"), std::string::npos);

    // The workbook holds SweepWorkbook(valueCount) for the valueCount the sweep returned: 8
    // blocks, down to row 8 × 426. The export refuses any count but that of "MVP.dat", so a
    // wrong valueCount fails the run instead of writing a different workbook.
    const exports::Workbook workbook = exports::SweepWorkbook(8);
    ASSERT_EQ(workbook.sheets.size(), 1u);
    EXPECT_EQ(workbook.sheets.front().cells.size(), 8u * (5 + 3 * 421));
    EXPECT_EQ(workbook.sheets.front().cells.back().row, 8 * 426);
    EXPECT_THROW(exports::SweepWorkbook(7), tulmera::Error);

    fs::current_path(dir.path());
    const auto [failed, message] =
        RunCommand({"sweep", "--param", "Cab", "--to", "20", "--xlsx", "missing/s.xlsx"});
    EXPECT_EQ(failed, 1);
    EXPECT_NE(message.find("\"missing/s.xlsx\""), std::string::npos) << message;
}

}  // namespace
}  // namespace tulmera::batch
