#include <algorithm>
#include <array>
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
#include "plot/main_charts.h"
#include "plot/sweep_chart.h"
#include "spectral/grid.h"
#include "testing/recording_surface.h"
#include "textio/field_reader.h"
#include "textio/printed_text.h"
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

// What a chart procedure drew: no coordinate may be infinite or not a number. The raster
// surface the program draws them on has a target of its own (chart_raster), which reaches every
// coordinate these charts can give and more, at a fraction of the cost of painting each chart.
void RequireFiniteOps(const testing::RecordingSurface& recorded)
{
    for (const testing::ChartOp& op : recorded.ops()) {
        if (!std::isfinite(op.x1) || !std::isfinite(op.y1) || !std::isfinite(op.x2)
            || !std::isfinite(op.y2)) {
            throw FuzzFailure("A chart procedure drew at a coordinate that is not finite.");
        }
    }
}

// A valid leaf spectrum file, to stand beside a fuzzed canopy spectrum file.
const std::string& ValidLeafText()
{
    static const std::string text = [] {
        leaf::LeafSpectrum spectrum{};
        for (int i = 0; i < kWavelengthCount; ++i) {  // a ramp: every record differs
            spectrum.refl[static_cast<std::size_t>(i)] = 0.05 + 0.4 * i / (kWavelengthCount - 1);
            spectrum.trans[static_cast<std::size_t>(i)] = 0.04 + 0.3 * i / (kWavelengthCount - 1);
        }
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

// The main window's export of the leaf and canopy files `leafText` and `canopyText`; a failure
// must name `fuzzedFile`, the other one being valid.
void ExportMainWindowCells(const char* fuzzedFile, const std::string& leafText,
                           const std::string& canopyText)
{
    const exports::MainExportHeader header{
        leaf::kStartLeafParameters, 0.1, 0.0, 0.0, "Planofilo", "S1", "0", "0"};
    ReadsOrNamesFile(fuzzedFile, [&] {
        RequireFiniteCells(
            exports::MainWindowWorkbook(header, textio::FieldReader(kLeafSpectrumFile, leafText),
                                        textio::FieldReader(kCanopySpectrumFile, canopyText)),
            17 + 4 * kWavelengthCount);
    });
}

// A valid sweep curve file ("MVPaint.dat", the records of a leaf spectrum file) and a valid
// sweep file ("MVP.dat", a block of five header lines and such records; an edit adds more).
const std::string& ValidSweepCurveText() { return ValidLeafText(); }
const std::string& ValidSweepText()
{
    static const std::string text = [] {
        const std::string block =
            "N = 1\r\nCa+b = 15  u.g.cm-2\r\nCw = 0.0001  cm\r\n"
            "Cm = 0.002  g.cm-2\r\nLon.onda    Reflectividad     "
            "Transmisividad\r\n"
            + ValidLeafText();
        return block;
    }();
    return text;
}

// "VP.dat" through the canopy run's reader.
void ReadAsCanopyRunLeaf(const std::string& text)
{
    spectral::Spectrum reflPct{}, transPct{};
    ReadsOrNamesFile(kLeafSpectrumFile, [&] {
        canopy::ReadLeafSpectrumPct(textio::FieldReader(kLeafSpectrumFile, text), reflPct,
                                    transPct);
    });
}

// "VP.dat" through the leaf chart.
void ReadAsLeafChart(const std::string& text)
{
    testing::RecordingSurface leafChart;
    ReadsOrNamesFile(kLeafSpectrumFile, [&] {
        plot::PaintProspect(leafChart, textio::FieldReader(kLeafSpectrumFile, text));
    });
    RequireFiniteOps(leafChart);
}

// "VP.dat" through the main window's export, beside a valid "VS.dat".
void ReadAsLeafExport(const std::string& text)
{
    ExportMainWindowCells(kLeafSpectrumFile, text, ValidCanopyText());
}

// "VS.dat" through the canopy chart.
void ReadAsCanopyChart(const std::string& text)
{
    testing::RecordingSurface canopyChart;
    ReadsOrNamesFile(kCanopySpectrumFile, [&] {
        plot::PaintSailh(canopyChart, textio::FieldReader(kCanopySpectrumFile, text));
    });
    RequireFiniteOps(canopyChart);
}

// "VS.dat" through the main window's export, beside a valid "VP.dat".
void ReadAsCanopyExport(const std::string& text)
{
    ExportMainWindowCells(kCanopySpectrumFile, ValidLeafText(), text);
}

// "MVPaint.dat" through the sweep chart: all or nothing.
void ReadAsSweepCurveFile(const std::string& text)
{
    testing::RecordingSurface chart, legend;
    plot::SweepColours colours = plot::SweepColours::ForSweep(3);
    colours.Advance();
    const plot::SweepColours before = colours;
    const bool drawn = ReadsOrNamesFile(kSweepCurveFile, [&] {
        plot::PaintMultiProspect({chart, legend}, colours,
                                 textio::FieldReader(kSweepCurveFile, text));
    });
    if (!drawn) {
        Require(
            chart.ops().empty() && legend.ops().empty() && colours.legendLeft == before.legendLeft,
            "The sweep chart failed after it had drawn or moved on.");
    }
    RequireFiniteOps(chart);
    RequireFiniteOps(legend);
}

// "MVP.dat": the sweep export for as many blocks as the field reader finds and for one more.
// It may only succeed for the count of blocks the field reader found.
void ReadAsSweepFile(const std::string& text)
{
    const int blocks = ReadSweepShape(text);
    for (const int valueCount : {blocks, blocks + 1}) {
        if (valueCount < 1) continue;
        const bool exported = ReadsOrNamesFile(kSweepFile, [&] {
            RequireFiniteCells(
                exports::SweepWorkbook(valueCount, textio::FieldReader(kSweepFile, text)),
                static_cast<std::size_t>(valueCount) * (5 + 3 * kWavelengthCount));
        });
        Require(!exported || valueCount == blocks,
                "The sweep export read " + std::to_string(valueCount) + " blocks from a file of "
                    + std::to_string(blocks) + ".");
    }
}

// A reader of result files and the valid file its input is made from.
struct ResultReader {
    void (*read)(const std::string& text);
    const std::string& (*validText)();
};

void ReadLeafShapeText(const std::string& text) { ReadLeafShape(text); }
void ReadCanopyShapeText(const std::string& text) { ReadCanopyShape(text); }

// clang-format off
constexpr std::array<ResultReader, 9> kReaders = {{
    {ReadLeafShapeText, ValidLeafText},      {ReadAsCanopyRunLeaf, ValidLeafText},
    {ReadAsLeafChart, ValidLeafText},        {ReadAsLeafExport, ValidLeafText},
    {ReadCanopyShapeText, ValidCanopyText},  {ReadAsCanopyChart, ValidCanopyText},
    {ReadAsCanopyExport, ValidCanopyText},   {ReadAsSweepCurveFile, ValidSweepCurveText},
    {ReadAsSweepFile, ValidSweepText},
}};
// clang-format on

// The file an input stands for: after its first byte, either the file's bytes themselves (the
// first byte's top bit set) or edits of the reader's valid file, as many as the bytes hold,
// each: a 16-bit offset (big-endian, modulo the length + 1), a count of bytes to erase there
// (255: all to the end), a count of bytes to insert (modulo 33) and those bytes. A damaged
// result file is mostly a valid one with a few such changes; as edits an input stays small,
// which keeps the fuzzer's own work per input far below a reader's.
std::string FileOfInput(std::string_view bytes, const std::string& valid)
{
    if (static_cast<unsigned char>(bytes.front()) & 0x80) return std::string(bytes.substr(1));
    std::string text = valid;
    const auto next = [&] {
        const auto byte = static_cast<unsigned char>(bytes.front());
        bytes.remove_prefix(1);
        return byte;
    };
    bytes.remove_prefix(1);
    while (bytes.size() >= 4) {
        const std::size_t offset = (std::size_t{next()} << 8 | next()) % (text.size() + 1);
        const unsigned char erase = next();
        const std::size_t insert = std::min<std::size_t>(next() % 33, bytes.size());
        text.replace(offset, erase == 255 ? std::string::npos : erase, bytes.substr(0, insert));
        bytes.remove_prefix(insert);
    }
    return text;
}

}  // namespace

void FuzzResultFiles(std::string_view bytes)
{
    if (bytes.empty()) return;
    const ResultReader& reader = kReaders[(static_cast<unsigned char>(bytes.front()) & 0x7f) % 9];
    reader.read(FileOfInput(bytes, reader.validText()));
}

}  // namespace tulmera::fuzz
