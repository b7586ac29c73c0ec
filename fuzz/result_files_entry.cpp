#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "canopy/canopy_run.h"
#include "export/main_export.h"
#include "export/sweep_export.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_support.h"
#include "leaf/leaf_parameters.h"
#include "leaf/leaf_spectrum.h"
#include "plot/chart_geometry.h"
#include "plot/main_charts.h"
#include "plot/raster_surface.h"
#include "plot/sweep_chart.h"
#include "spectral/grid.h"
#include "testing/recording_surface.h"
#include "textio/field_reader.h"
#include "textio/printed_text.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::fuzz {
namespace {

using spectral::kWavelengthCount;

void RequireFinite(double value, const char* what)
{
    if (!std::isfinite(value)) {
        throw FuzzFailure(std::string("The field reader returned a ") + what
                          + " that is not finite.");
    }
}

void RequireText(const std::string& text)
{
    if (text.find_first_of("\r\n,") != std::string::npos) {
        throw FuzzFailure("A text field holds a line end or a comma: " + Shown(text));
    }
    if (!text.empty()
        && (text.front() == ' ' || text.front() == '\t' || text.back() == ' '
            || text.back() == '\t')) {
        throw FuzzFailure("A text field keeps blanks around it: " + Shown(text));
    }
}

void ReadLeafRecords(textio::FieldReader& reader)
{
    for (int i = 0; i < kWavelengthCount; ++i) {
        RequireFinite(reader.ReadNumber("wavelength"), "wavelength");
        RequireFinite(reader.ReadNumber("leaf reflectance"), "leaf reflectance");
        RequireFinite(reader.ReadNumber("leaf transmittance"), "leaf transmittance");
    }
}

// The leaf spectrum file read field by field: 421 records of three numbers.
void ReadLeafShape(std::string_view bytes)
{
    textio::FieldReader reader(kLeafSpectrumFile, std::string(bytes));
    ReadsOrNamesFile(kLeafSpectrumFile, [&] {
        ReadLeafRecords(reader);
        reader.AtEnd();
    });
}

// The canopy spectrum file read field by field: 421 records of a whole number and a number.
void ReadCanopyShape(std::string_view bytes)
{
    textio::FieldReader reader(kCanopySpectrumFile, std::string(bytes));
    ReadsOrNamesFile(kCanopySpectrumFile, [&] {
        for (int i = 0; i < kWavelengthCount; ++i) {
            const int wavelength = reader.ReadWholeNumber("wavelength");
            if (wavelength < std::numeric_limits<std::int16_t>::min()
                || wavelength > std::numeric_limits<std::int16_t>::max()) {
                throw FuzzFailure("A whole number lies outside the 16-bit range: "
                                  + std::to_string(wavelength));
            }
            RequireFinite(reader.ReadNumber("canopy reflectance"), "canopy reflectance");
        }
        reader.AtEnd();
    });
}

// The sweep file read field by field: blocks of five header texts and 421 records of three
// numbers, until nothing but blanks is left. Returns the number of whole blocks read.
int ReadSweepShape(std::string_view bytes)
{
    textio::FieldReader reader(kSweepFile, std::string(bytes));
    int blocks = 0;
    ReadsOrNamesFile(kSweepFile, [&] {
        while (!reader.AtEnd()) {
            for (int h = 0; h < 5; ++h) RequireText(reader.ReadText("header line"));
            ReadLeafRecords(reader);
            ++blocks;
        }
    });
    return blocks;
}

// Draws the recorded operations again on a raster surface of `scale` and `pixelScale`: the real
// program's charts see the same calls. No recorded coordinate may be infinite or not a number.
void ReplayOnRaster(const testing::RecordingSurface& recorded, const plot::ChartScale& scale,
                    int pixelScale)
{
    using Kind = testing::ChartOp::Kind;
    plot::RasterSurface raster(scale, pixelScale);
    for (const testing::ChartOp& op : recorded.ops()) {
        if (!std::isfinite(op.x1) || !std::isfinite(op.y1) || !std::isfinite(op.x2)
            || !std::isfinite(op.y2)) {
            throw FuzzFailure("A chart procedure drew at a coordinate that is not finite.");
        }
        switch (op.kind) {
            case Kind::Clear:
                raster.Clear();
                break;
            case Kind::SetPenColor:
                raster.SetPenColor(op.color);
                break;
            case Kind::SetPenWidth:
                raster.SetPenWidth(op.width);
                break;
            case Kind::SetPenStyle:
                raster.SetPenStyle(op.style);
                break;
            case Kind::PlotPoint:
                raster.PlotPoint(op.x1, op.y1);
                break;
            case Kind::LineTo:
                raster.LineTo(op.x1, op.y1);
                break;
            case Kind::Line:
                raster.Line(op.x1, op.y1, op.x2, op.y2);
                break;
            case Kind::FilledBox:
                raster.FilledBox(op.x1, op.y1, op.x2, op.y2, op.color);
                break;
        }
    }
}

// The pixel scale of the raster surfaces: 3 for one input length in eight, so that scaled pen
// squares and dashes are drawn too; 1 for the others. Drawing at scale 3 takes most of a run.
int PixelScaleFor(std::string_view bytes) { return bytes.size() % 8 == 1 ? 3 : 1; }

// A valid leaf spectrum file, to stand beside a fuzzed canopy spectrum file.
const std::string& ValidLeafText()
{
    static const std::string text = [] {
        leaf::LeafSpectrum spectrum{};
        spectrum.refl.fill(0.05);
        spectrum.trans.fill(0.04);
        textio::PrintedText printed;
        leaf::PrintLeafSpectrum(printed, spectrum);
        return printed.str();
    }();
    return text;
}

// A valid canopy spectrum file, to stand beside a fuzzed leaf spectrum file.
const std::string& ValidCanopyText()
{
    static const std::string text = [] {
        spectral::Spectrum reflPct{};
        reflPct.fill(3.0);
        return canopy::CanopySpectrumText(reflPct);
    }();
    return text;
}

void RequireFiniteCells(const exports::Workbook& workbook, std::size_t count)
{
    Require(workbook.sheets.size() == 1,
            "An export holds " + std::to_string(workbook.sheets.size()) + " sheets instead of 1.");
    const std::vector<exports::Cell>& cells = workbook.sheets.front().cells;
    Require(cells.size() == count, "An export holds " + std::to_string(cells.size())
                                       + " cells instead of " + std::to_string(count) + ".");
    for (const exports::Cell& cell : cells) {
        const float* number = std::get_if<float>(&cell.value);
        if (number != nullptr && !std::isfinite(*number)) {
            throw FuzzFailure("An export cell holds a number that is not finite.");
        }
    }
}

// The main window's export of the leaf and canopy files in the current directory; a failure
// must name `fuzzedFile`, the other one being valid.
void ExportMainWindowCells(const char* fuzzedFile)
{
    const exports::MainExportHeader header{
        leaf::kStartLeafParameters, 0.1, 0.0, 0.0, "Planofilo", "S1", "0", "0"};
    ReadsOrNamesFile(fuzzedFile, [&] {
        RequireFiniteCells(exports::MainWindowWorkbook(header), 17 + 4 * kWavelengthCount);
    });
}

// The bytes as "VP.dat": the canopy run's reader, the leaf curves and the export.
void ReadAsLeafFile(std::string_view bytes)
{
    textio::ReplaceTextFile(kLeafSpectrumFile, bytes, textio::Flushing::Skip);
    spectral::Spectrum reflPct{}, transPct{};
    ReadsOrNamesFile(kLeafSpectrumFile,
                     [&] { canopy::ReadLeafSpectrumPct(kLeafSpectrumFile, reflPct, transPct); });

    testing::RecordingSurface leafChart;
    ReadsOrNamesFile(kLeafSpectrumFile, [&] { plot::PaintProspect(leafChart); });
    ReplayOnRaster(leafChart, plot::kLeafChartScale, PixelScaleFor(bytes));

    textio::ReplaceTextFile(kCanopySpectrumFile, ValidCanopyText(), textio::Flushing::Skip);
    ExportMainWindowCells(kLeafSpectrumFile);
}

// The bytes as "VS.dat": the canopy curve and the export.
void ReadAsCanopyFile(std::string_view bytes)
{
    textio::ReplaceTextFile(kCanopySpectrumFile, bytes, textio::Flushing::Skip);
    testing::RecordingSurface canopyChart;
    ReadsOrNamesFile(kCanopySpectrumFile, [&] { plot::PaintSailh(canopyChart); });
    ReplayOnRaster(canopyChart, plot::kCanopyChartScale, PixelScaleFor(bytes));

    textio::ReplaceTextFile(kLeafSpectrumFile, ValidLeafText(), textio::Flushing::Skip);
    ExportMainWindowCells(kCanopySpectrumFile);
}

// The bytes as "MVPaint.dat": the sweep chart's curve, all or nothing.
void ReadAsSweepCurveFile(std::string_view bytes)
{
    textio::ReplaceTextFile(kSweepCurveFile, bytes, textio::Flushing::Skip);
    testing::RecordingSurface chart, legend;
    plot::SweepColours colours = plot::SweepColours::ForSweep(3);
    colours.Advance();
    const plot::SweepColours before = colours;
    const bool drawn = ReadsOrNamesFile(kSweepCurveFile, [&] {
        plot::PaintMultiProspect({chart, legend}, colours);
    });
    if (!drawn) {
        Require(
            chart.ops().empty() && legend.ops().empty() && colours.legendLeft == before.legendLeft,
            "The sweep chart failed after it had drawn or moved on.");
    }
    ReplayOnRaster(chart, plot::kSweepChartScale, PixelScaleFor(bytes));
    ReplayOnRaster(legend, plot::kLegendStripScale, PixelScaleFor(bytes));
}

// The bytes as "MVP.dat": the sweep export for as many blocks as the file holds and for one
// more. It may only succeed for the count of blocks the field reader found.
void ReadAsSweepFile(std::string_view bytes)
{
    const int blocks = ReadSweepShape(bytes);
    textio::ReplaceTextFile(kSweepFile, bytes, textio::Flushing::Skip);
    for (const int valueCount : {blocks, blocks + 1}) {
        if (valueCount < 1) continue;
        const bool exported = ReadsOrNamesFile(kSweepFile, [&] {
            RequireFiniteCells(exports::SweepWorkbook(valueCount),
                               static_cast<std::size_t>(valueCount) * (5 + 3 * kWavelengthCount));
        });
        Require(!exported || valueCount == blocks,
                "The sweep export read " + std::to_string(valueCount) + " blocks from a file of "
                    + std::to_string(blocks) + ".");
    }
}

}  // namespace

void FuzzResultFiles(std::string_view bytes)
{
    ReadLeafShape(bytes);
    ReadCanopyShape(bytes);
    ReadAsLeafFile(bytes);
    ReadAsCanopyFile(bytes);
    ReadAsSweepCurveFile(bytes);
    ReadAsSweepFile(bytes);
}

}  // namespace tulmera::fuzz
