#include "spectral/leaf_tables.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "spectral/prospect_dpro_tables.h"
#include "spectral/soil_library.h"
#include "textio/field_reader.h"

namespace tulmera::spectral {
namespace {

double At(const Spectrum& s, int wavelengthNm)
{
    return s[static_cast<std::size_t>((wavelengthNm - kFirstWavelengthNm) / kWavelengthStepNm)];
}

// Reads a data file of ours: a header line of `columns` names, then one row per grid point.
std::vector<std::vector<double>> ReadDataCsv(const std::string& name, int columns)
{
    textio::FieldReader reader =
        textio::FieldReader::Open(std::string(TULMERA_DATA_DIR) + "/" + name);
    for (int c = 0; c < columns; ++c) reader.ReadText("column name");
    std::vector<std::vector<double>> rows;
    while (!reader.AtEnd()) {
        std::vector<double>& row = rows.emplace_back();
        for (int c = 0; c < columns; ++c) row.push_back(reader.ReadNumber("value"));
    }
    return rows;
}

TEST(LeafTables, HoldEveryCellOfTheDataFile)
{
    const LeafTables& t = LoadLeafTables();
    const auto rows = ReadDataCsv("leaf_constants.csv", 6);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kWavelengthCount));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::vector<double>& r = rows[i];
        EXPECT_EQ(t.wavelength[i], r[0]);
        EXPECT_EQ(t.refIndex[i], r[1]) << r[0] << " nm";
        EXPECT_EQ(t.kBase[i], r[2]) << r[0] << " nm";
        EXPECT_EQ(t.kCab[i], r[3]) << r[0] << " nm";
        EXPECT_EQ(t.kCw[i], r[4]) << r[0] << " nm";
        EXPECT_EQ(t.kCm[i], r[5]) << r[0] << " nm";
    }
}

TEST(LeafTables, GridRunsFrom400To2500By5)
{
    const LeafTables& t = LoadLeafTables();
    EXPECT_EQ(t.wavelength.front(), 400.0);
    EXPECT_EQ(t.wavelength.back(), 2500.0);
    for (std::size_t i = 1; i < t.wavelength.size(); ++i) {
        EXPECT_EQ(t.wavelength[i] - t.wavelength[i - 1], 5.0);
    }
}

TEST(LeafTables, StoredRunsEndWhereTheModelExpects)
{
    const LeafTables& t = LoadLeafTables();
    EXPECT_EQ(At(t.kBase, 400), 0.1162);
    EXPECT_EQ(At(t.kBase, 460), 0.0);
    EXPECT_EQ(At(t.kBase, 480), 0.0008);
    for (int nm = 485; nm <= 2500; nm += 5) EXPECT_EQ(At(t.kBase, nm), 0.0) << nm;
    EXPECT_EQ(At(t.kCab, 750), 0.0001);
    for (int nm = 755; nm <= 2500; nm += 5) EXPECT_EQ(At(t.kCab, nm), 0.0) << nm;
    for (int nm = 400; nm <= 945; nm += 5) EXPECT_EQ(At(t.kCw, nm), 0.0) << nm;
    EXPECT_EQ(At(t.kCw, 950), 0.04);
    for (int nm = 400; nm <= 795; nm += 5) EXPECT_EQ(At(t.kCm, nm), 3.18) << nm;
    EXPECT_EQ(At(t.kCm, 800), 3.28);
    for (const double k : t.kCm) EXPECT_GT(k, 0.0);
}

TEST(LeafTables, KeepTheKnownExtremes)
{
    const LeafTables& t = LoadLeafTables();
    EXPECT_EQ(At(t.refIndex, 400), 1.512);
    EXPECT_EQ(At(t.refIndex, 2445), 1.271);
    EXPECT_EQ(At(t.kCab, 675), 0.0405);
    EXPECT_EQ(At(t.kCw, 1930), 146.34);
    EXPECT_EQ(At(t.kCm, 1080), 2.36);
    EXPECT_EQ(At(t.kCm, 2490), 50.42);
    EXPECT_EQ(*std::max_element(t.kCw.begin(), t.kCw.end()), 146.34);
    EXPECT_EQ(*std::min_element(t.kCm.begin(), t.kCm.end()), 2.36);
}

TEST(ProspectDproTables, HoldEveryCellOfTheDataFile)
{
    const ProspectDproTables& t = LoadProspectDproTables();
    const auto rows = ReadDataCsv("prospect_dpro_5nm.csv", 10);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kWavelengthCount));
    const Spectrum* columns[] = {&t.wavelength, &t.refIndex, &t.kCab, &t.kCar,  &t.kAnth,
                                 &t.kBrown,     &t.kCw,      &t.kCm,  &t.kProt, &t.kCBC};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i][0], WavelengthNm(static_cast<int>(i)));
        for (std::size_t c = 0; c < std::size(columns); ++c) {
            EXPECT_EQ((*columns[c])[i], rows[i][c]) << "column " << c << " at " << rows[i][0];
        }
    }
}

// Where each absorption is 0 decides where a leaf without that constituent still absorbs:
// water and the dry matter (or the carbon-based constituents) keep k above 0 everywhere.
TEST(ProspectDproTables, AbsorptionBandsEndWhereTheirNoteSays)
{
    const ProspectDproTables& t = LoadProspectDproTables();
    const struct {
        const char* name;
        const Spectrum& k;
        int lastNonZeroNm;  // 0 from the next grid point on
    } bands[] = {{"kCab", t.kCab, 780},
                 {"kCar", t.kCar, 560},
                 {"kAnth", t.kAnth, 685},
                 {"kBrown", t.kBrown, 1095}};
    for (const auto& band : bands) {
        EXPECT_GT(At(band.k, band.lastNonZeroNm), 0.0) << band.name;
        for (int nm = band.lastNonZeroNm + 5; nm <= 2500; nm += 5) {
            ASSERT_EQ(At(band.k, nm), 0.0) << band.name << " at " << nm;
        }
    }
    for (int nm = 400; nm <= 1430; nm += 5) ASSERT_EQ(At(t.kProt, nm), 0.0) << nm;
    EXPECT_GT(At(t.kProt, 1435), 0.0);
    for (std::size_t i = 0; i < t.kCw.size(); ++i) {
        ASSERT_GT(t.kCw[i], 0.0) << i;
        ASSERT_GT(t.kCm[i], 0.0) << i;
        ASSERT_GT(t.kCBC[i], 0.0) << i;
    }
    EXPECT_EQ(At(t.refIndex, 400), 1.5115);
    EXPECT_EQ(*std::min_element(t.refIndex.begin(), t.refIndex.end()), 1.2708);
}

TEST(SoilLibrary, HoldsEveryCellOfTheDataFile)
{
    const auto rows = ReadDataCsv("soils.csv", 5);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kWavelengthCount));
    for (int soil = 0; soil < 4; ++soil) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(SoilSpectrum(soil)[i], rows[i][static_cast<std::size_t>(soil) + 1])
                << "S" << soil + 1 << " at " << rows[i][0] << " nm";
        }
    }
}

TEST(SoilLibrary, EachKeySelectsItsOwnSpectrum)
{
    const double first[] = {3.486, 3.589, 5.252, 7.663};
    const double last[] = {11.69, 20.39, 24.38, 43.96};
    Spectrum soilRefl{};
    for (std::size_t soil = 0; soil < kSoilKeys.size(); ++soil) {
        ASSERT_TRUE(LoadSoil(kSoilKeys[soil], soilRefl));
        EXPECT_EQ(soilRefl.front(), first[soil]) << kSoilKeys[soil];
        EXPECT_EQ(soilRefl.back(), last[soil]) << kSoilKeys[soil];
    }
}

TEST(SoilLibrary, NearMissesSelectNothingAndKeepThePreviousSoil)
{
    Spectrum soilRefl{};
    ASSERT_TRUE(LoadSoil(kSoilKeys[1], soilRefl));
    for (const char* nearMiss :
         {"s2:32% arena 39% limo 29% arcilla", "S2:32% arena 39% limo 29% arcilla ",
          " S2:32% arena 39% limo 29% arcilla", "S2:32% arena 39% limo 29% arcill", "", "S2"}) {
        EXPECT_FALSE(LoadSoil(nearMiss, soilRefl)) << '"' << nearMiss << '"';
        EXPECT_EQ(soilRefl, SoilSpectrum(1));
    }
}

}  // namespace
}  // namespace tulmera::spectral
