#include "plot/main_charts.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "plot/background_lines.h"
#include "plot/band_overlays.h"
#include "textio/error.h"
#include "textio/field_reader.h"
#include "textio/number_text.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::plot {
namespace {

constexpr Rgb kGridGrey{200, 200, 200};

constexpr int kLeafRecords = spectral::kWavelengthCount;  // 400 .. 2500 nm
// The canopy and soil curves stop at 2495 nm: the last grid point is not drawn.
constexpr int kCanopySamples = spectral::kWavelengthCount - 1;

void DrawGrid(const MainCharts& charts)
{
    SetPenOnBoth(charts, kGridGrey, 1, PenStyle::Dashed);
    DrawHorizontalLines(charts);
    // From 0 nm: the lines left of 400 nm fall outside both charts.
    for (int x = 0; x <= 2500; x += 100) {
        charts.leaf.Line(x, 0, x, 100);
        charts.canopy.Line(x, 0, x, 100);
    }
}

// Where a sample comes from, for messages: "\"VP.dat\", record 12 (leaf reflectance)", or
// for the soil "the soil spectrum at 405 nm (soil reflectance)". Kept as parts, so that the
// text is only built when a message is needed.
struct SamplePlace {
    const char* fileName;  // nullptr: the soil spectrum, `record` then being a wavelength
    int record;
    std::string_view what;

    std::string Describe() const
    {
        const std::string source =
            fileName != nullptr
                ? "\"" + std::string(fileName) + "\", record " + std::to_string(record)
                : "The soil spectrum at " + std::to_string(record) + " nm";
        return source + " (" + std::string(what) + ")";
    }
};

[[noreturn]] void FailOverflow(const SamplePlace& place, const std::string& value)
{
    throw Error(place.Describe() + ": " + value + " overflows single precision.");
}

// The sample as the chart holds it: in single precision.
float ToSingle(double value, const SamplePlace& place)
{
    const auto single = static_cast<float>(value);
    if (!std::isfinite(single)) FailOverflow(place, textio::NumberText(value));
    return single;
}

// 100 × fraction, computed in single precision.
float Percent(float fraction, const SamplePlace& place)
{
    const float percent = 100.0F * fraction;
    if (!std::isfinite(percent)) {
        FailOverflow(place, "100 × " + textio::NumberText(static_cast<double>(fraction)));
    }
    return percent;
}

float ReadSingle(textio::FieldReader& reader, const char* fileName, int record,
                 std::string_view what)
{
    return ToSingle(reader.ReadNumber(what), {fileName, record, what});
}

struct LeafSample {
    float wavelength;
    float refl;
    float trans;
};

LeafSample ReadLeafSample(textio::FieldReader& reader, int record)
{
    LeafSample sample{};
    sample.wavelength = ReadSingle(reader, kLeafSpectrumFile, record, "wavelength");
    sample.refl = ReadSingle(reader, kLeafSpectrumFile, record, "leaf reflectance");
    sample.trans = ReadSingle(reader, kLeafSpectrumFile, record, "leaf transmittance");
    return sample;
}

using LeafSamples = std::array<LeafSample, kLeafRecords>;

// The leaf reflectance curve, 100 × R upward from the bottom. Keeps the records it reads.
void DrawLeafReflectance(ChartSurface& leafChart, LeafSamples& samples, textio::FieldReader& reader)
{
    leafChart.PlotPoint(0, 0);  // outside the chart: only moves the pen
    leafChart.SetPenWidth(2);
    leafChart.SetPenStyle(PenStyle::Solid);  // set, not inherited from the dashed grid
    for (int record = 1; record <= kLeafRecords; ++record) {
        const LeafSample sample = ReadLeafSample(reader, record);
        samples[static_cast<std::size_t>(record - 1)] = sample;
        const float y = Percent(sample.refl, {kLeafSpectrumFile, record, "leaf reflectance"});
        leafChart.SetPenColor(kReflectanceGreen);
        leafChart.LineTo(static_cast<double>(sample.wavelength), static_cast<double>(y));
    }
}

// The leaf transmittance curve, 100 − 100 × T downward from the top, from the records of the
// reflectance pass.
void DrawLeafTransmittance(ChartSurface& leafChart, const LeafSamples& samples)
{
    leafChart.PlotPoint(0, 0);
    leafChart.SetPenWidth(2);
    leafChart.SetPenStyle(PenStyle::Solid);  // set, not inherited from the dashed grid
    for (int record = 1; record <= kLeafRecords; ++record) {
        const LeafSample& sample = samples[static_cast<std::size_t>(record - 1)];
        const float y =
            100.0F - Percent(sample.trans, {kLeafSpectrumFile, record, "leaf transmittance"});
        leafChart.SetPenColor(kTransmittanceRed);
        leafChart.LineTo(static_cast<double>(sample.wavelength), static_cast<double>(y));
    }
}

void SetCanopyPen(ChartSurface& canopyChart)
{
    canopyChart.SetPenColor(kReflectanceGreen);
    canopyChart.SetPenWidth(2);
    canopyChart.SetPenStyle(PenStyle::Solid);
}

// The canopy reflectance curve from the records of "VS.dat" in `reader`.
void DrawCanopyReflectance(ChartSurface& canopyChart, textio::FieldReader& reader)
{
    canopyChart.PlotPoint(400, 0);  // the lower left corner
    for (int record = 1; record <= kCanopySamples; ++record) {
        const int wavelength = reader.ReadWholeNumber("wavelength");
        const SamplePlace place{kCanopySpectrumFile, record, "canopy reflectance"};
        const float y = Percent(ToSingle(reader.ReadNumber(place.what), place), place);
        canopyChart.LineTo(wavelength, static_cast<double>(y));
    }
}

}  // namespace

void PaintBackground(const MainCharts& charts, const ChartBackground& background)
{
    charts.leaf.Clear();
    charts.canopy.Clear();
    if (IsChecked(background, kGridEntry)) {
        DrawGrid(charts);
        return;
    }
    for (int entry = kFirstSensorEntry; entry <= kBackgroundEntryCount; ++entry) {
        if (IsChecked(background, entry)) {
            PaintSensorBands(charts, entry);
            return;
        }
    }
}

void PaintProspect(ChartSurface& leafChart, const std::string& readName)
{
    PaintProspect(leafChart,
                  textio::FieldReader(kLeafSpectrumFile, textio::ReadTextFile(readName)));
}

void PaintProspect(ChartSurface& leafChart, textio::FieldReader reader)
{
    // The transmittance pass reads "VP.dat" again from the start. Nothing writes the file in
    // between, so it finds the records of the first pass, which read every field of every
    // record and stopped at the first bad one: it draws from those, read once.
    LeafSamples samples;
    DrawLeafReflectance(leafChart, samples, reader);
    DrawLeafTransmittance(leafChart, samples);
}

void PaintSailh(ChartSurface& canopyChart, const std::string& readName)
{
    SetCanopyPen(canopyChart);  // set before the file is read, as when it is missing
    textio::FieldReader reader(kCanopySpectrumFile, textio::ReadTextFile(readName));
    DrawCanopyReflectance(canopyChart, reader);
}

void PaintSailh(ChartSurface& canopyChart, textio::FieldReader reader)
{
    SetCanopyPen(canopyChart);
    DrawCanopyReflectance(canopyChart, reader);
}

void PaintSoil(ChartSurface& canopyChart, const spectral::Spectrum& soilRefl)
{
    canopyChart.SetPenColor(kSoilBrown);
    canopyChart.SetPenWidth(1);
    canopyChart.SetPenStyle(PenStyle::Solid);
    canopyChart.PlotPoint(400, 0);
    int x = 400;
    for (std::size_t i = 0; i < kCanopySamples; ++i) {
        const SamplePlace place{nullptr, x, "soil reflectance"};
        canopyChart.LineTo(x, static_cast<double>(ToSingle(soilRefl[i], place)));
        x += 5;
    }
}

}  // namespace tulmera::plot
