// The spectra CSV files: what pandas.read_csv(f, comment="#") and R's read.csv read back must
// be the run's numbers exactly, whatever the locale of the process.
#include "export/spectra_csv.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <sstream>

#include "canopy/canopy_run.h"
#include "leaf/leaf_spectrum.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::exports {
namespace {

struct CsvTable {
    std::vector<std::string> comments;
    std::string header;
    std::vector<std::vector<std::string>> rows;
};

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

CsvTable ReadCsv(const std::string& text)
{
    CsvTable table;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        EXPECT_EQ(line.find('\r'), std::string::npos) << "lines end in LF alone";
        if (line.starts_with('#')) {
            EXPECT_TRUE(table.header.empty()) << "a comment after the header: " << line;
            table.comments.push_back(line);
        } else if (table.header.empty()) {
            table.header = line;
        } else {
            table.rows.push_back(Fields(line));
        }
    }
    return table;
}

double Number(const std::string& field)
{
    const std::optional<double> value = textio::ParseNumberText(field);
    EXPECT_TRUE(value.has_value()) << "\"" << field << "\" is not a number";
    return value.value_or(std::nan(""));
}

bool HasComment(const CsvTable& table, const std::string& text)
{
    for (const std::string& comment : table.comments) {
        if (comment.find(text) != std::string::npos) return true;
    }
    return false;
}

// The windows adopt the user's locale (QApplication calls setlocale); the ctest variant
// spectra_csv_test_es_ES runs these tests with LANG=es_ES.UTF-8, where "%g" writes "0,05".
class SpectraCsv : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_ALL, ""); }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

MainSpectra ThickLeafCanopy()
{
    const leaf::LeafParameters leaf{2.2, 60, 0.02, 0.01};
    const leaf::LeafSpectrum spectrum = leaf::ComputeLeafSpectrum(leaf);
    spectral::Spectrum reflPct{}, transPct{};
    for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
        reflPct[i] = 100 * spectrum.refl[i];
        transPct[i] = 100 * spectrum.trans[i];
    }
    canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
    inputs.lai = 3.5;
    inputs.sunZenith = 30;
    inputs.viewAngle = -20;
    return {leaf, inputs, canopy::ComputeCanopySpectrum(inputs, reflPct, transPct, {})};
}

TEST_F(SpectraCsv, MainSpectraReadBackAsTheRunsFractionsWithEveryParameter)
{
    const MainSpectra spectra = ThickLeafCanopy();
    const CsvTable table = ReadCsv(MainSpectraCsv(spectra));
    EXPECT_EQ(table.header, kMainSpectraHeader);
    for (const char* expected :
         {"Tulmera", "N = 2.2", "Cab_ug_per_cm2 = 60", "Cw_cm = 0.02", "Cm_g_per_cm2 = 0.01",
          "LAI = 3.5", "sun_zenith_deg = 30", "view_angle_deg = -20",
          "leaf_architecture = Planofilo", "soil = S1:", "visibility_km = 15"}) {
        EXPECT_TRUE(HasComment(table, expected)) << expected;
    }
    ASSERT_EQ(table.rows.size(), spectral::kWavelengthCount);
    const canopy::CanopyState& s = spectra.state;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const std::vector<std::string>& row = table.rows[i];
        ASSERT_EQ(row.size(), 5U) << "row " << i;
        ASSERT_EQ(row[0], std::to_string(spectral::WavelengthNm(static_cast<int>(i))));
        // Exact equality: the shortest text must round-trip, not merely come close.
        ASSERT_EQ(Number(row[1]), s.leafReflPct[i] / 100.0) << row[0] << " nm";
        ASSERT_EQ(Number(row[2]), s.leafTransPct[i] / 100.0) << row[0] << " nm";
        ASSERT_EQ(Number(row[3]), s.canopyReflPct[i] / 100.0) << row[0] << " nm";
        ASSERT_EQ(Number(row[4]), s.soilRefl[i] / 100.0) << row[0] << " nm";
        for (const std::string& field : row) {
            ASSERT_EQ(field.find_first_of(" ;\""), std::string::npos) << field;
        }
    }
}

TEST_F(SpectraCsv, ALeafRunAloneLeavesTheCanopyAndSoilFieldsEmpty)
{
    MainSpectra spectra = ThickLeafCanopy();
    spectra.canopyInputs.reset();
    const CsvTable table = ReadCsv(MainSpectraCsv(spectra));
    EXPECT_FALSE(HasComment(table, "LAI"));
    ASSERT_EQ(table.rows.size(), spectral::kWavelengthCount);
    for (const std::vector<std::string>& row : table.rows) {
        ASSERT_EQ(row.size(), 5U);
        EXPECT_EQ(row[3], "");
        EXPECT_EQ(row[4], "");
    }
}

TEST_F(SpectraCsv, ANonFiniteValueWritesNoFile)
{
    MainSpectra spectra = ThickLeafCanopy();
    spectra.state.canopyReflPct[200] = std::numeric_limits<double>::infinity();
    EXPECT_THROW(MainSpectraCsv(spectra), Error);
}

TEST_F(SpectraCsv, TheSweepsLongFormHoldsEveryValuesSpectrumInOrder)
{
    multi::SweepRequest request;
    request.swept = multi::SweptParameter::Cw;
    request.fixed = {1.5, 40, 0.5, 0.005};  // Cw's 0.5 is ignored
    request.lower = 0.0001;
    request.upper = 0.03;
    request.interval = 0.01;
    const SweepSpectra spectra = ComputeSweepSpectra(request);
    ASSERT_EQ(spectra.values.size(), 3U);  // 0.0001, 0.0101, 0.0201 (a running sum)
    const CsvTable table = ReadCsv(SweepSpectraCsv(spectra));
    EXPECT_EQ(table.header, kSweepSpectraHeader);
    EXPECT_TRUE(HasComment(table, "swept_parameter = Cw"));
    EXPECT_TRUE(HasComment(table, "Cab_ug_per_cm2 = 40"));
    EXPECT_FALSE(HasComment(table, "Cw_cm")) << "the swept parameter's held value is not used";
    ASSERT_EQ(table.rows.size(), 3 * spectral::kWavelengthCount);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const std::size_t v = r / spectral::kWavelengthCount;
        const std::size_t i = r % spectral::kWavelengthCount;
        const std::vector<std::string>& row = table.rows[r];
        ASSERT_EQ(row.size(), 5U);
        ASSERT_EQ(row[0], "Cw");
        ASSERT_EQ(Number(row[1]), spectra.values[v]);
        ASSERT_EQ(Number(row[3]), spectra.spectra[v].refl[i]) << "row " << r;
        ASSERT_EQ(Number(row[4]), spectra.spectra[v].trans[i]) << "row " << r;
    }
}

// Per swept parameter, the comments leave out exactly the held inputs the sweep sets (the plane
// sets two), and every row reads back the sweep's own reflectance.
TEST_F(SpectraCsv, TheCanopySweepsLongFormHoldsEveryValuesReflectance)
{
    struct Row {
        multi::CanopySweptParameter swept;
        multi::SweepLimits limits;
        std::vector<std::string> leftOut;
        std::vector<std::string> kept;
    };
    const std::vector<Row> rows = {
        {multi::CanopySweptParameter::Lai, {0.5, 1.5, 0.5}, {"# LAI ="}, {"sun_zenith_deg", "N ="}},
        {multi::CanopySweptParameter::Plane,
         {-10, 10, 10},
         {"view_angle_deg", "relative_azimuth_deg"},
         {"# LAI =", "sun_zenith_deg", "hot_spot"}},
        {multi::CanopySweptParameter::Cab, {20, 60, 20}, {"Cab_ug_per_cm2"}, {"# LAI =", "Cw_cm"}},
    };
    for (const Row& row : rows) {
        const std::string name(multi::CanopyParameterName(row.swept));
        SCOPED_TRACE(name);
        multi::CanopySweepRequest request;
        request.swept = row.swept;
        request.limits = row.limits;
        const multi::CanopySweepResult result = multi::ComputeCanopySweep(request);
        ASSERT_EQ(result.values.size(), 3U);
        const CsvTable table = ReadCsv(CanopySweepSpectraCsv(request, result));
        EXPECT_EQ(table.header, kCanopySweepSpectraHeader);
        EXPECT_TRUE(HasComment(table, "swept_parameter = " + name));
        for (const std::string& comment : row.leftOut) EXPECT_FALSE(HasComment(table, comment));
        for (const std::string& comment : row.kept) EXPECT_TRUE(HasComment(table, comment));
        ASSERT_EQ(table.rows.size(), 3 * spectral::kWavelengthCount);
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const std::size_t v = r / spectral::kWavelengthCount;
            const std::size_t i = r % spectral::kWavelengthCount;
            const std::vector<std::string>& fields = table.rows[r];
            ASSERT_EQ(fields.size(), 4U);
            ASSERT_EQ(fields[0], name);
            ASSERT_EQ(Number(fields[1]), result.values[v]);
            ASSERT_EQ(fields[2], std::to_string(spectral::WavelengthNm(static_cast<int>(i))));
            ASSERT_EQ(Number(fields[3]), result.canopyReflPct[v][i] / 100.0) << "row " << r;
        }
    }
}

// The list texts are written by the names given (the windows' language); a text without one,
// and every file without names, as the Spanish list holds it.
TEST_F(SpectraCsv, ListTextsAreWrittenByTheirNames)
{
    const ListNames names = {
        {"Planofilo", "Planophile"},
        {"S1:61% arena 24% limo 15% arcilla", "S1: 61% sand 24% silt 15% clay"}};
    multi::CanopySweepRequest request;
    request.swept = multi::CanopySweptParameter::Lai;
    request.limits = {1, 2, 1};
    request.canopy.leafArchitecture = "Erectofilo";  // has no name here
    const multi::CanopySweepResult result = multi::ComputeCanopySweep(request);
    const struct {
        const char* name;
        std::string csv;
        std::vector<std::string> comments;
    } cases[] = {
        {"main, named",
         MainSpectraCsv(ThickLeafCanopy(), nullptr, names),
         {"leaf_architecture = Planophile", "soil = S1: 61% sand 24% silt 15% clay"}},
        {"main, Spanish",
         MainSpectraCsv(ThickLeafCanopy()),
         {"leaf_architecture = Planofilo", "soil = S1:61% arena 24% limo 15% arcilla"}},
        {"canopy sweep, named",
         CanopySweepSpectraCsv(request, result, names),
         {"leaf_architecture = Erectofilo", "soil = S1: 61% sand 24% silt 15% clay"}},
    };
    for (const auto& c : cases) {
        const CsvTable table = ReadCsv(c.csv);
        for (const std::string& comment : c.comments) {
            EXPECT_TRUE(HasComment(table, comment)) << c.name << ": " << comment;
        }
    }
}

TEST_F(SpectraCsv, ACanopySweepWithANonFiniteOrMissingSpectrumWritesNothing)
{
    multi::CanopySweepRequest request;
    multi::CanopySweepResult result;
    result.values = {1.0, 2.0};
    result.canopyReflPct.resize(2);
    EXPECT_NO_THROW(CanopySweepSpectraCsv(request, result));
    result.canopyReflPct[1][7] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(CanopySweepSpectraCsv(request, result), Error);
    result.canopyReflPct.pop_back();
    EXPECT_THROW(CanopySweepSpectraCsv(request, result), Error);
}

}  // namespace
}  // namespace tulmera::exports
