#include "plot/main_charts.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "chart_test_support.h"
#include "leaf/leaf_run.h"
#include "spectral/soil_library.h"
#include "support/work_dir.h"
#include "testing/recording_surface.h"
#include "textio/field_reader.h"
#include "textio/text_file.h"

namespace tulmera::plot {
namespace {

using namespace tulmera::plot::testing;
using tulmera::testing::ScopedWorkDir;

// 100 × a sample, as the charts compute it: in single precision.
double Percent(double fraction)
{
    return static_cast<double>(100.0F * static_cast<float>(fraction));
}

// The grid on one chart after its Clear: pen, 11 horizontal and 26 vertical lines from 0.
std::vector<ChartOp> GridOps()
{
    std::vector<ChartOp> ops{ColorOp(200, 200, 200), WidthOp(1), StyleOp(PenStyle::Dashed)};
    for (int y = 0; y <= 100; y += 10) ops.push_back(LineOp(0, y, 2500, y));
    for (int x = 0; x <= 2500; x += 100) ops.push_back(LineOp(x, 0, x, 100));
    return ops;
}

void Append(std::vector<ChartOp>& ops, const std::vector<ChartOp>& more)
{
    ops.insert(ops.end(), more.begin(), more.end());
}

struct LeafRecord {
    double wavelength, refl, trans;
};

std::vector<LeafRecord> ReadLeafFile()
{
    textio::FieldReader reader = textio::FieldReader::Open("VP.dat");
    std::vector<LeafRecord> records;
    while (!reader.AtEnd()) {
        LeafRecord r{};
        r.wavelength = reader.ReadNumber("wavelength");
        r.refl = reader.ReadNumber("reflectance");
        r.trans = reader.ReadNumber("transmittance");
        records.push_back(r);
    }
    return records;
}

// One refresh through the leaf run's seam, then the canopy curves, as the main window runs it.
TEST(MainCharts, AFullRefreshDrawsInTheFixedOrderWithInheritedPens)
{
    ScopedWorkDir dir;
    RecordingSurface leafChart, canopyChart;
    const MainCharts charts{leafChart, canopyChart};
    leaf::RunProspect(leaf::kStartLeafParameters, [&] {
        PaintBackground(charts, ChartBackground{});
        PaintProspect(leafChart);
    });
    WriteCanopyFile(421);
    spectral::Spectrum soilRefl{};
    ASSERT_TRUE(spectral::LoadSoil(spectral::kSoilKeys[0], soilRefl));
    PaintSailh(canopyChart);
    PaintSoil(canopyChart, soilRefl);

    const std::vector<LeafRecord> leafFile = ReadLeafFile();
    ASSERT_EQ(leafFile.size(), 421u);
    // Start point (0, 0) with the grid's pen; each curve then sets a 2-pixel solid pen.
    std::vector<ChartOp> leafOps{ClearOp()};
    Append(leafOps, GridOps());
    leafOps.push_back(PointOp(0, 0));
    leafOps.push_back(WidthOp(2));
    leafOps.push_back(StyleOp(PenStyle::Solid));
    for (const LeafRecord& r : leafFile) {
        Append(leafOps, {ColorOp(0, 200, 0), LineToOp(r.wavelength, Percent(r.refl))});
    }
    leafOps.push_back(PointOp(0, 0));
    leafOps.push_back(WidthOp(2));
    leafOps.push_back(StyleOp(PenStyle::Solid));
    for (const LeafRecord& r : leafFile) {
        const double y = static_cast<double>(100.0F - 100.0F * static_cast<float>(r.trans));
        Append(leafOps, {ColorOp(200, 0, 0), LineToOp(r.wavelength, y)});
    }
    EXPECT_TRUE(SameOps(leafChart.ops(), leafOps));

    // Both canopy curves start at the lower left corner and stop at 2495 nm.
    std::vector<ChartOp> canopyOps{ClearOp()};
    Append(canopyOps, GridOps());
    Append(canopyOps, {ColorOp(0, 200, 0), WidthOp(2), StyleOp(PenStyle::Solid), PointOp(400, 0)});
    for (int record = 1; record <= 420; ++record) {
        canopyOps.push_back(LineToOp(400 + 5 * (record - 1), Percent(CanopyReflectance(record))));
    }
    Append(canopyOps,
           {ColorOp(200, 100, 0), WidthOp(1), StyleOp(PenStyle::Solid), PointOp(400, 0)});
    for (int i = 0; i < 420; ++i) {
        canopyOps.push_back(LineToOp(400 + 5 * i, static_cast<double>(static_cast<float>(
                                                      soilRefl[static_cast<std::size_t>(i)]))));
    }
    EXPECT_TRUE(SameOps(canopyChart.ops(), canopyOps));

    // The comparison above tells single from double precision: at least one sample differs.
    int differing = 0;
    for (const LeafRecord& r : leafFile) differing += Percent(r.refl) != 100 * r.refl;
    EXPECT_GT(differing, 0);
}

struct FailureCase {
    const char* name;
    std::function<void()> writeFiles;
    std::function<void(RecordingSurface&)> paint;
    std::vector<std::string> inMessage;  // empty: no error
    int segmentsDrawn;                   // LineTo operations recorded
};

void WriteText(const char* file, const std::string& text) { textio::ReplaceTextFile(file, text); }

// A VP.dat of 421 good records with record `record`'s line replaced.
std::function<void()> LeafFileWithRecord(int record, const std::string& line)
{
    return [=] {
        WriteLeafFile(421);
        std::string text = textio::ReadTextFile("VP.dat");
        std::size_t start = 0;
        for (int i = 1; i < record; ++i) start = text.find("\r\n", start) + 2;
        text.replace(start, text.find("\r\n", start) - start, line);
        WriteText("VP.dat", text);
    };
}

std::function<void()> CanopyFileWithRecord(int record, const std::string& line)
{
    return [=] {
        std::string text;
        for (int i = 1; i <= 420; ++i) {
            text += i == record ? line : std::to_string(400 + 5 * (i - 1)) + ",0.25";
            text += "\r\n";
        }
        WriteText("VS.dat", text);
    };
}

void PaintLeaf(RecordingSurface& chart) { PaintProspect(chart); }
void PaintCanopy(RecordingSurface& chart) { PaintSailh(chart); }

std::function<void(RecordingSurface&)> PaintSoilWith(int index, double value)
{
    return [=](RecordingSurface& chart) {
        spectral::Spectrum soil{};
        soil.fill(20.0);
        soil[static_cast<std::size_t>(index)] = value;
        PaintSoil(chart, soil);
    };
}

TEST(MainCharts, StopsAtABadRecordAndKeepsWhatWasDrawn)
{
    const std::vector<FailureCase> cases = {
        {"leaf file missing", [] {}, PaintLeaf, {"\"VP.dat\""}, 0},
        {"leaf file of 420 records",
         [] { WriteLeafFile(420); },
         PaintLeaf,
         {"\"VP.dat\", line 421", "ends"},
         420},
        {"extra leaf records ignored", [] { WriteLeafFile(430); }, PaintLeaf, {}, 842},
        {"leaf field not a number",
         LeafFileWithRecord(17, " 480  abc  0.3 "),
         PaintLeaf,
         {"\"VP.dat\", line 17", "leaf reflectance"},
         16},
        {"leaf reflectance beyond single",
         LeafFileWithRecord(5, " 420  1E+39  0.3 "),
         PaintLeaf,
         {"\"VP.dat\", record 5 (leaf reflectance)", "single precision"},
         4},
        {"100 x reflectance beyond single",
         LeafFileWithRecord(9, " 440  4E+36  0.3 "),
         PaintLeaf,
         {"\"VP.dat\", record 9 (leaf reflectance)", "single precision"},
         8},
        // Read in the first pass already, as every record is read whole.
        {"transmittance beyond single",
         LeafFileWithRecord(3, " 410  0.2  -1E+39 "),
         PaintLeaf,
         {"\"VP.dat\", record 3 (leaf transmittance)"},
         2},
        {"100 x transmittance beyond single",
         LeafFileWithRecord(30, " 545  0.2  4E+36 "),
         PaintLeaf,
         {"\"VP.dat\", record 30 (leaf transmittance)"},
         421 + 29},
        {"canopy file missing", [] {}, PaintCanopy, {"\"VS.dat\""}, 0},
        {"canopy file of exactly 420 records", [] { WriteCanopyFile(420); }, PaintCanopy, {}, 420},
        {"canopy file of 419 records",
         [] { WriteCanopyFile(419); },
         PaintCanopy,
         {"\"VS.dat\", line 420"},
         419},
        {"canopy wavelength not whole",
         CanopyFileWithRecord(3, "410.5,0.25"),
         PaintCanopy,
         {"\"VS.dat\", line 3", "wavelength"},
         2},
        {"canopy reflectance beyond single",
         CanopyFileWithRecord(7, "430,2E+38"),
         PaintCanopy,
         {"\"VS.dat\", record 7 (canopy reflectance)", "single precision"},
         6},
        {"soil beyond single", [] {}, PaintSoilWith(10, 1e39), {"450 nm", "single precision"}, 10},
        {"last soil value not drawn", [] {}, PaintSoilWith(420, 1e39), {}, 420},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedWorkDir dir;
        c.writeFiles();
        RecordingSurface chart;
        const std::string message = ErrorOf([&] { c.paint(chart); });
        for (const std::string& part : c.inMessage)
            EXPECT_NE(message.find(part), std::string::npos) << message;
        if (c.inMessage.empty()) {
            EXPECT_EQ(message, "");
        }
        EXPECT_EQ(std::count_if(chart.ops().begin(), chart.ops().end(),
                                [](const ChartOp& op) { return op.kind == ChartOp::Kind::LineTo; }),
                  c.segmentsDrawn);
    }
}

// The charts drawn from a file's content in memory, as the fuzzer draws them, draw and fail
// as those drawn from the file.
TEST(MainCharts, ContentDrawsAndFailsAsTheFile)
{
    struct ContentCase {
        const char* name;
        std::function<void()> writeFile;
        const char* fileName;
    };
    const std::vector<ContentCase> cases = {
        {"valid leaf file", [] { WriteLeafFile(421); }, kLeafSpectrumFile},
        {"short leaf file", [] { WriteLeafFile(420); }, kLeafSpectrumFile},
        {"leaf transmittance beyond single", LeafFileWithRecord(30, " 545  0.2  4E+36 "),
         kLeafSpectrumFile},
        {"valid canopy file", [] { WriteCanopyFile(421); }, kCanopySpectrumFile},
        {"canopy wavelength not whole", CanopyFileWithRecord(3, "410.5,0.25"), kCanopySpectrumFile},
    };
    for (const ContentCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedWorkDir dir;
        c.writeFile();
        const bool leaf = std::string(c.fileName) == kLeafSpectrumFile;
        textio::FieldReader content(c.fileName, textio::ReadTextFile(c.fileName));
        RecordingSurface fromFile, fromContent;
        const std::string fileMessage = ErrorOf([&] {
            if (leaf)
                PaintProspect(fromFile);
            else
                PaintSailh(fromFile);
        });
        const std::string contentMessage = ErrorOf([&] {
            if (leaf)
                PaintProspect(fromContent, content);
            else
                PaintSailh(fromContent, content);
        });
        EXPECT_EQ(contentMessage, fileMessage);
        EXPECT_EQ(fromContent.ops(), fromFile.ops());
    }
}

}  // namespace
}  // namespace tulmera::plot
