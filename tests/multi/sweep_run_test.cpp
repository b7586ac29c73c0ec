// Whole sweeps: the two files, the curves and legend boxes, and every way a sweep can fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "multi/sweep.h"
#include "multi/sweep_step.h"
#include "support/golden.h"
#include "support/work_dir.h"
#include "testing/recording_surface.h"
#include "textio/error.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::multi {
namespace {

using Kind = testing::ChartOp::Kind;
using testing::ChartOp;
using testing::FileBytes;
using testing::GoldenDir;
using testing::Lines;
using testing::MatchesGolden;
using testing::RecordingSurface;
using testing::ScopedWorkDir;

constexpr int kBlockLines = 426;

// The two surfaces of a sweep, recording what is drawn.
struct Charts {
    RecordingSurface chart;
    RecordingSurface legend;
    plot::SweepCharts surfaces() { return {chart, legend}; }

    // The colour of every curve, in drawing order (the pen colours set with width 2).
    std::vector<plot::Rgb> CurveColours() const
    {
        std::vector<plot::Rgb> colours;
        const auto& ops = chart.ops();
        for (std::size_t i = 1; i < ops.size(); ++i) {
            if (ops[i].kind == Kind::SetPenColor && ops[i - 1].kind == Kind::SetPenWidth
                && ops[i - 1].width == 2) {
                colours.push_back(ops[i].color);
            }
        }
        return colours;
    }
};

SweepRequest Request(SweptParameter swept, double lower, double upper, double interval,
                     leaf::LeafParameters fixed = leaf::kStartLeafParameters)
{
    return {swept, fixed, upper, lower, interval};
}

TEST(Sweep, ReproducesTheReferenceFiles)
{
    for (const auto& [golden, request] :
         {std::pair{"sweep-N", Request(SweptParameter::N, 1, 4, 0.1)},
          std::pair{"sweep-Cw", Request(SweptParameter::Cw, 0.0001, 0.07, 0.01)}}) {
        ScopedWorkDir dir;
        Charts charts;
        const int valueCount = RunSweep(request, charts.surfaces());
        EXPECT_EQ(valueCount, std::string(golden) == "sweep-N" ? 31 : 8);
        EXPECT_EQ(Lines(FileBytes(kSweepFile)).size(),
                  static_cast<std::size_t>(valueCount * kBlockLines));
        EXPECT_TRUE(MatchesGolden(kSweepFile, GoldenDir(golden) / "MVP.dat"));
        EXPECT_TRUE(MatchesGolden(kSweepCurveFile, GoldenDir(golden) / "MVPaint.dat"));
    }
}

TEST(Sweep, EachBlockHeaderShowsItsOwnParameters)
{
    ScopedWorkDir dir;
    Charts charts;
    ASSERT_EQ(RunSweep(Request(SweptParameter::Cab, 15, 18, 1, {1.5, 0, 0.0001, 0.002}),
                       charts.surfaces()),
              4);
    const std::vector<std::string> lines = Lines(FileBytes(kSweepFile));
    ASSERT_EQ(lines.size(), 4u * kBlockLines);
    const char* cab[] = {"Ca+b = 15  u.g.cm-2", "Ca+b = 16  u.g.cm-2", "Ca+b = 17  u.g.cm-2",
                         "Ca+b = 18  u.g.cm-2"};
    for (std::size_t b = 0; b < 4; ++b) {
        const std::size_t top = b * kBlockLines;
        EXPECT_EQ(lines[top], "N = 1.5 ");
        EXPECT_EQ(lines[top + 1], cab[b]);
        EXPECT_EQ(lines[top + 2], "Cw = 0.0001  cm");
        EXPECT_EQ(lines[top + 3], "Cm = 0.002  g.cm-2");
        EXPECT_EQ(lines[top + 4], "Lon.onda    Reflectividad     Transmisividad");
        EXPECT_EQ(lines[top + 5].substr(0, 6), " 400  ");
        EXPECT_EQ(lines[top + 425].substr(0, 7), " 2500  ");
    }
    // "MVPaint.dat" is the last block's data lines, without the header.
    const std::vector<std::string> curve = Lines(FileBytes(kSweepCurveFile));
    EXPECT_TRUE(std::equal(curve.begin(), curve.end(), lines.end() - 421, lines.end()));
}

TEST(Sweep, LegendBoxesShareTheStripInCurveColours)
{
    const struct {
        const char* name;
        SweepRequest request;
        int count;
        double width;
    } cases[] = {
        {"one value", Request(SweptParameter::Cab, 15, 15, 1), 1, 200},
        {"four values", Request(SweptParameter::Cab, 15, 18, 1), 4, 50},
        {"Cw by 0.01", Request(SweptParameter::Cw, 0.0001, 0.07, 0.01), 8, 25},
        {"25 values", Request(SweptParameter::Cab, 15, 39, 1), 25, 8},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        Charts charts;
        ASSERT_EQ(RunSweep(c.request, charts.surfaces()), c.count) << c.name;
        const std::vector<ChartOp>& ops = charts.legend.ops();
        ASSERT_EQ(ops.size(), static_cast<std::size_t>(c.count) + 1) << c.name;
        EXPECT_EQ(ops[0].kind, Kind::Clear);
        const std::vector<plot::Rgb> curves = charts.CurveColours();
        ASSERT_EQ(curves.size(), static_cast<std::size_t>(c.count)) << c.name;
        for (int k = 1; k <= c.count; ++k) {
            const ChartOp& box = ops[static_cast<std::size_t>(k)];
            EXPECT_EQ(box.kind, Kind::FilledBox);
            EXPECT_EQ(box.x2 - box.x1, c.width) << c.name << " box " << k;
            EXPECT_EQ(box.x1, (k - 1) * c.width) << c.name << " box " << k;
            EXPECT_EQ(box.y1, 20.0);
            EXPECT_EQ(box.y2, 0.0);
            EXPECT_EQ(box.color, curves[static_cast<std::size_t>(k - 1)]);
            const int red = k < 20 ? 0 : 5 * (k - 19);
            EXPECT_EQ(box.color, (plot::Rgb{red, std::min(50 + 10 * k, 255), 0}))
                << c.name << " box " << k;
        }
        EXPECT_EQ(ops.back().x2, 200.0) << c.name;  // the last box ends at the strip's end
    }
}

TEST(Sweep, OnlyTheLastCurveLiesOverTheGrid)
{
    ScopedWorkDir dir;
    Charts charts;
    ASSERT_EQ(RunSweep(Request(SweptParameter::N, 1, 1.4, 0.1), charts.surfaces()), 5);
    const std::vector<ChartOp>& ops = charts.chart.ops();
    EXPECT_EQ(ops.front().kind, Kind::Clear);
    // Each curve is a run of 421 segments; the grid (Line) is drawn again after all but the last.
    std::vector<std::size_t> curveEnds;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (ops[i].kind == Kind::LineTo && (i + 1 == ops.size() || ops[i + 1].kind != Kind::LineTo))
            curveEnds.push_back(i);
    }
    ASSERT_EQ(curveEnds.size(), 5u);
    for (std::size_t c = 0; c < curveEnds.size(); ++c) {
        const auto gridLinesAfter =
            std::count_if(ops.begin() + static_cast<std::ptrdiff_t>(curveEnds[c]), ops.end(),
                          [](const ChartOp& op) { return op.kind == Kind::Line; });
        EXPECT_EQ(gridLinesAfter, static_cast<long>((4 - c) * 37)) << "curve " << c + 1;
    }
}

// The names of the hidden temporary files in the current directory.
std::vector<std::string> Temporaries()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".") && name.ends_with(".tmp")) names.push_back(name);
    }
    return names;
}

// A legend surface that looks at the sweep's staged "MVPaint.dat" each time a curve's box is
// drawn: the one temporary of that name.
class CurveFileProbe : public RecordingSurface {
public:
    void FilledBox(double x1, double y1, double x2, double y2, plot::Rgb color) override
    {
        std::size_t lines = 0, staged = 0;
        for (const std::string& name : Temporaries()) {
            if (!name.starts_with(".MVPaint.dat.")) continue;
            ++staged;
            lines = Lines(FileBytes(name)).size();
        }
        linesSeen.push_back(staged == 1 ? lines : 0);
        RecordingSurface::FilledBox(x1, y1, x2, y2, color);
    }
    std::vector<std::size_t> linesSeen;
};

TEST(Sweep, TheCurveFileHoldsOneSpectrumAtEveryStep)
{
    ScopedWorkDir dir;
    RecordingSurface chart;
    CurveFileProbe legend;
    ASSERT_EQ(RunSweep(Request(SweptParameter::Cm, 0.002, 0.04, 0.0005), {chart, legend}), 77);
    EXPECT_EQ(legend.linesSeen, std::vector<std::size_t>(77, 421));
    EXPECT_EQ(Lines(FileBytes(kSweepCurveFile)).size(), 421u);
    EXPECT_TRUE(Temporaries().empty());
}

TEST(Sweep, ARefusedSweepChangesNothing)
{
    const struct {
        const char* name;
        SweepRequest request;
    } cases[] = {
        {"lower above upper", Request(SweptParameter::N, 4, 1, 0.1)},
        {"interval 0", Request(SweptParameter::Cw, 0.0001, 0.07, 0)},
        {"too long", Request(SweptParameter::Cab, 15, 90, 0.0001)},
        {"held N of 0", Request(SweptParameter::Cm, 0.002, 0.04, 0.001, {0, 15, 0.0001, 0.002})},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        textio::ReplaceTextFile(kSweepFile, "earlier sweep\r\n");
        textio::ReplaceTextFile(kSweepCurveFile, "earlier curve\r\n");
        Charts charts;
        EXPECT_THROW(RunSweep(c.request, charts.surfaces()), Error) << c.name;
        EXPECT_EQ(FileBytes(kSweepFile), "earlier sweep\r\n") << c.name;
        EXPECT_EQ(FileBytes(kSweepCurveFile), "earlier curve\r\n") << c.name;
        EXPECT_TRUE(charts.chart.ops().empty()) << c.name;
        EXPECT_TRUE(charts.legend.ops().empty()) << c.name;
    }
}

std::string What(const std::function<void()>& body)
{
    try {
        body();
    } catch (const Error& e) {
        return e.what();
    }
    return "<no error>";
}

TEST(Sweep, AFullDiskStopsTheSweepAndKeepsThePreviousFilesWhole)
{
    ScopedWorkDir dir;
    const SweepRequest request = Request(SweptParameter::N, 1, 4, 0.1);
    Charts full;
    RunSweep(request, full.surfaces());
    const std::string complete = FileBytes(kSweepFile);
    const std::string lastCurve = FileBytes(kSweepCurveFile);
    // Room for three blocks and part of the fourth.
    std::size_t fourthBlock = 0;
    for (int b = 0; b < 3; ++b) fourthBlock = complete.find("N =", fourthBlock + 1);

    Charts charts;
    std::string what;
    {
        testing::ScopedFileSizeLimit fullDisk(fourthBlock + 5000);
        what = What([&] { RunSweep(request, charts.surfaces()); });
    }
    EXPECT_NE(what.find("value 4 of 31, N = 1.3: "), std::string::npos) << what;
    EXPECT_NE(what.find("\"MVP.dat\""), std::string::npos) << what;
    EXPECT_EQ(FileBytes(kSweepFile), complete);  // the previous sweep's, whole
    EXPECT_EQ(FileBytes(kSweepCurveFile), lastCurve);
    EXPECT_EQ(charts.CurveColours().size(), 3u);
    EXPECT_EQ(charts.legend.ops().size(), 1u + 3u);
    EXPECT_TRUE(Temporaries().empty());
}

TEST(Sweep, AFileThatCannotBeReplacedPublishesNothing)
{
    ScopedWorkDir dir;
    textio::ReplaceTextFile(kSweepFile, "earlier sweep\r\n");
    std::filesystem::create_directory(kSweepCurveFile);  // "MVPaint.dat" cannot be replaced
    Charts charts;
    const std::string what =
        What([&] { RunSweep(Request(SweptParameter::Cab, 15, 90, 1), charts.surfaces()); });
    EXPECT_NE(what.find("Cannot replace \"MVPaint.dat\": it is a directory"), std::string::npos)
        << what;
    EXPECT_EQ(FileBytes(kSweepFile), "earlier sweep\r\n");  // not half of a run published
    EXPECT_TRUE(Temporaries().empty());
}

TEST(Sweep, AModelFaultNamesTheValue)
{
    ScopedWorkDir dir;
    Charts charts;
    // No water, no chlorophyll and no dry matter: nothing absorbs from 485 nm on.
    const std::string what = What([&] {
        RunSweep(Request(SweptParameter::Cm, 0, 0.001, 0.0005, {1, 0, 0, 0}), charts.surfaces());
    });
    EXPECT_NE(what.find("value 1 of 3, Cm = 0: Leaf model at "), std::string::npos) << what;
    EXPECT_EQ(FileBytes(kSweepFile), "");
    EXPECT_FALSE(std::filesystem::exists(kSweepCurveFile));
}

TEST(Sweep, AnUnwritableDirectoryFailsBeforeTheChartsAreCleared)
{
    ScopedWorkDir dir;
    dir.MakeUnwritable();
    Charts charts;
    const std::string what =
        What([&] { RunSweep(Request(SweptParameter::N, 1, 4, 0.1), charts.surfaces()); });
    EXPECT_NE(what.find("\"MVP.dat\""), std::string::npos) << what;
    EXPECT_TRUE(charts.chart.ops().empty());
    EXPECT_TRUE(charts.legend.ops().empty());
}

}  // namespace
}  // namespace tulmera::multi
