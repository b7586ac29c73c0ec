#include "batch/indices_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sensor/indices.h"
#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/field_reader.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

using testing::FileBytes;
using testing::ScopedWorkDir;

using testing::Outcome;
using testing::RunBatchProgram;

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the last line ends in LF";
    return lines;
}

std::string FieldOf(const std::string& line) { return line.substr(line.find(',') + 1); }

// The canopy reflectance as "VS.dat" holds it: fractions, printed to 15 digits.
spectral::Spectrum ReadCanopyFile()
{
    textio::FieldReader reader = textio::FieldReader::Open("VS.dat");
    spectral::Spectrum refl;
    for (double& value : refl) {
        reader.ReadNumber("wavelength");
        value = reader.ReadNumber("reflectance");
    }
    return refl;
}

TEST(IndicesCommand, PrintsTheIndicesAndTheSensorsBandsAsCsv)
{
    ScopedWorkDir dir;
    const Outcome run = RunBatchProgram("indices --lai 3 --Cab 40 --sensor 'Sentinel-2 MSI'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(std::filesystem::exists("VP.dat"));
    const std::vector<std::string> lines = SplitLines(run.out);
    // header, indices, bands, NDVI, the five fluxes
    ASSERT_EQ(lines.size(), 1u + sensor::kIndexCount + 13 + 1 + 5);
    EXPECT_EQ(lines[0], "quantity,value");
    EXPECT_EQ(lines[1 + sensor::kIndexCount], "Sentinel-2 MSI band B1," + FieldOf(lines[18]));
    EXPECT_EQ(lines[1 + sensor::kIndexCount + 8].rfind("Sentinel-2 MSI band B8A,", 0), 0u);
    EXPECT_EQ(lines[lines.size() - 6].rfind("Sentinel-2 MSI NDVI,", 0), 0u);
    EXPECT_EQ(lines.back().rfind("albedo shortwave,", 0), 0u);

    // The numbers are the in-memory run's: within the 15 printed digits of "VS.dat".
    const sensor::IndexValues fromFile = sensor::ComputeIndices(ReadCanopyFile());
    for (int i = 0; i < sensor::kIndexCount; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(1 + i)];
        const auto name = std::string(sensor::kIndices[static_cast<std::size_t>(i)].name);
        ASSERT_EQ(line.substr(0, line.find(',')), name);
        const std::optional<double> printed = textio::ParseNumberText(FieldOf(line));
        ASSERT_TRUE(printed && fromFile[static_cast<std::size_t>(i)]) << line;
        EXPECT_NEAR(*printed, *fromFile[static_cast<std::size_t>(i)],
                    1e-9 * (1 + std::abs(*printed)))
            << line;
    }

    const Outcome plain = RunBatchProgram("indices");
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(SplitLines(plain.out).size(), 1u + sensor::kIndexCount + 5);
}

TEST(IndicesCommand, AnUnknownSensorIsABadArgumentListingTheValidNames)
{
    ScopedWorkDir dir;
    const Outcome run = RunBatchProgram("indices --sensor Sentinel-2");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("--sensor: \"Sentinel-2\" is not a sensor; use one of \"IRS-WIS\", "
                           "\"NOAA-AVHRR\", \"Landsat-TM\", \"SPOT-VEGETATION\", \"IKONOS\", "
                           "\"Terra-MODIS\", \"Terra-ASTER\", \"Sentinel-2 MSI\", "
                           "\"Landsat-8/9 OLI\"."),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists("VP.dat"));  // refused before any run
}

// Undefined values leave their field empty; numbers take their shortest exact text.
TEST(IndicesCommand, CsvLeavesUndefinedFieldsEmptyAndWritesShortestNumbers)
{
    spectral::Spectrum flat;
    flat.fill(0.25);
    const std::vector<std::string> lines = SplitLines(IndicesCsv(flat, &sensor::kLandsatOli));
    ASSERT_EQ(lines.size(), 1u + sensor::kIndexCount + 8 + 1);
    EXPECT_EQ(lines[1], "NDVI,0");
    EXPECT_EQ(lines[7], "MTCI,");
    EXPECT_EQ(lines[8], "REIP,");
    EXPECT_EQ(lines[13], "MSI,1");
    EXPECT_EQ(lines[16], "TCARI/OSAVI,");
    EXPECT_EQ(lines[1 + sensor::kIndexCount + 5], "Landsat-8/9 OLI band B9,0.25");
    EXPECT_EQ(lines.back(), "Landsat-8/9 OLI NDVI,0");
    // Rows carry the sensor's own band numbers: Landsat-TM has no reflective band 6.
    const std::vector<std::string> tm = SplitLines(IndicesCsv(flat, &sensor::kLandsatTm));
    EXPECT_EQ(tm[tm.size() - 2], "Landsat-TM band 7,0.25");

    spectral::Spectrum ramp;  // ρ = λ / 10000
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        ramp[static_cast<std::size_t>(i)] = spectral::WavelengthNm(i) / 10000.0;
    }
    const sensor::IndexValues values = sensor::ComputeIndices(ramp);
    const std::vector<std::string> rampLines = SplitLines(IndicesCsv(ramp, nullptr));
    for (int i = 0; i < sensor::kIndexCount; ++i) {
        const std::string field = FieldOf(rampLines[static_cast<std::size_t>(1 + i)]);
        EXPECT_EQ(textio::ParseNumberText(field), values[static_cast<std::size_t>(i)]) << field;
        EXPECT_LE(field.size(), 24u) << field;  // at most 17 digits, sign, point, exponent
    }
    // 725 + 1 ulp: 15 digits would print "725", which reads back as another number.
    EXPECT_EQ(rampLines[8], "REIP,725.0000000000001");
}

}  // namespace
}  // namespace tulmera::batch
