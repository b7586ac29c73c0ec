#include "sensor/indices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "canopy/canopy_run.h"
#include "leaf/leaf_spectrum.h"
#include "sensor/band_values.h"

namespace tulmera::sensor {
namespace {

using spectral::kWavelengthCount;
using spectral::Spectrum;
using spectral::WavelengthNm;

constexpr double kTolerance = 1e-12;

int IndexOf(std::string_view name)
{
    for (int i = 0; i < kIndexCount; ++i) {
        if (kIndices[static_cast<std::size_t>(i)].name == name) return i;
    }
    ADD_FAILURE() << "no index " << name;
    return 0;
}

std::optional<double> Value(const IndexValues& values, std::string_view name)
{
    return values[static_cast<std::size_t>(IndexOf(name))];
}

Spectrum Flat(double value)
{
    Spectrum s;
    s.fill(value);
    return s;
}

double& At(Spectrum& s, int wavelengthNm)
{
    return s[static_cast<std::size_t>((wavelengthNm - 400) / 5)];
}

// ρ = λ / 10000: every index reads a different value at each wavelength, so a wavelength read
// at the wrong grid point shows. Expected values worked out by hand from the λs.
TEST(Indices, ReadTheirWavelengths)
{
    Spectrum ramp;
    for (int i = 0; i < kWavelengthCount; ++i) {
        ramp[static_cast<std::size_t>(i)] = WavelengthNm(i) / 10000.0;
    }
    const IndexValues v = ComputeIndices(ramp);
    const struct {
        std::string_view name;
        double expected;
    } cases[] = {
        {"NDVI", 130.0 / 1470.0},
        {"EVI", 2.5 * 0.013 / (0.08 + 0.402 - 0.3525 + 1)},
        {"SAVI", 1.5 * 0.013 / 0.647},
        {"OSAVI", 1.16 * 0.013 / 0.307},
        {"NDRE", 70.0 / 1510.0},
        {"MTCI", 45.0 / 30.0},
        {"REIP", 725.0},  // 700 + 40 (725 - 700) / 40
        {"CIre", 800.0 / 720.0 - 1},
        {"CIgreen", 800.0 / 550.0 - 1},
        {"NDWI", -380.0 / 2100.0},
        {"NDII", -830.0 / 2470.0},
        {"MSI", 1600.0 / 820.0},
        {"PRI", -40.0 / 1100.0},
        {"MCARI", (0.003 - 0.2 * 0.015) * 0.07 / 0.067},  // 0
        {"TCARI/OSAVI", 3 * (0.003 - 0.2 * 0.015 * 0.07 / 0.067) / (1.16 * 0.013 / 0.307)},
        {"ARI", 10000.0 / 550.0 - 10000.0 / 700.0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Value(v, c.name).has_value()) << c.name;
        EXPECT_NEAR(*Value(v, c.name), c.expected, kTolerance * (1 + std::abs(c.expected)))
            << c.name;
    }
    // MSAVI: (1.16 - √(1.16² - 8·0.013)) / 2
    EXPECT_NEAR(*Value(v, "MSAVI"), (1.16 - std::sqrt(1.16 * 1.16 - 0.104)) / 2, kTolerance);
}

// A zero denominator or a non-finite value leaves that index undefined, the others defined.
TEST(Indices, UndefinedCases)
{
    const struct {
        const char* label;
        Spectrum rho;
        std::vector<std::string_view> undefined;
        std::vector<std::pair<std::string_view, double>> defined;
    } cases[] = {
        {"flat 0.3",
         Flat(0.3),
         {"MTCI", "REIP", "TCARI/OSAVI"},
         {{"NDVI", 0}, {"EVI", 0}, {"MSAVI", 0}, {"MSI", 1}, {"MCARI", 0}, {"ARI", 0}}},
        {"black",
         Flat(0),
         {"NDVI", "NDRE", "MTCI", "REIP", "CIre", "CIgreen", "NDWI", "NDII", "MSI", "PRI", "MCARI",
          "TCARI/OSAVI", "ARI"},
         {{"EVI", 0}, {"SAVI", 0}, {"MSAVI", 0}, {"OSAVI", 0}}},
        {"NaN at 670 nm",
         [] {
             Spectrum s = Flat(0.3);
             At(s, 670) = std::numeric_limits<double>::quiet_NaN();
             return s;
         }(),
         {"NDVI", "EVI", "SAVI", "MSAVI", "OSAVI", "REIP", "MCARI", "TCARI/OSAVI"},
         {{"NDRE", 0}, {"NDWI", 0}, {"PRI", 0}, {"ARI", 0}}},
        {"a subnormal green: 1/ρ550 overflows",
         [] {
             Spectrum s = Flat(0.3);
             At(s, 550) = 1e-320;
             return s;
         }(),
         {"ARI", "CIgreen"},
         {{"NDVI", 0}, {"MSI", 1}}},
        {"MSAVI's root of a negative number",
         [] {
             Spectrum s = Flat(0.3);
             // Never for reflectances in [0, 1]: (2ρ800+1)² - 8(ρ800-ρ670) >= (2ρ800-1)².
             At(s, 670) = -2.0;
             At(s, 800) = -0.4;  // 0.04 - 8·1.6 < 0
             return s;
         }(),
         {"MSAVI"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const IndexValues v = ComputeIndices(c.rho);
        for (const std::string_view name : c.undefined) {
            EXPECT_FALSE(Value(v, name).has_value()) << name << " = " << *Value(v, name);
        }
        for (const auto& [name, expected] : c.defined) {
            ASSERT_TRUE(Value(v, name).has_value()) << name;
            EXPECT_NEAR(*Value(v, name), expected, kTolerance) << name;
        }
        for (const std::optional<double>& value : v) {
            EXPECT_TRUE(!value || std::isfinite(*value));
        }
    }
}

// The first exercise of vegetation remote sensing: NDVI of the start leaf's canopy rises with
// LAI and saturates (the rise from LAI 4 to 8 is a small part of that from 0.5 to 1).
// From a sensor's bands each ρλ is the mean of the band holding λ: with ρ = λ / 10000, a band's
// value is its samples' mean wavelength / 10000. An index reading a wavelength that no band
// holds is undefined, never NaN; the 5 nm indices are not touched.
TEST(BandIndices, ReadTheBandsHoldingTheirWavelengths)
{
    Spectrum ramp;
    for (int i = 0; i < kWavelengthCount; ++i) {
        ramp[static_cast<std::size_t>(i)] = WavelengthNm(i) / 10000.0;
    }
    const IndexValues v = ComputeBandIndices(ramp, kSentinel2Msi);
    const double b4 = 665.0 / 10000;  // 650 .. 680 nm
    const double b8 = 842.5 / 10000;  // 785 .. 900 nm
    ASSERT_TRUE(Value(v, "NDVI"));
    EXPECT_NEAR(*Value(v, "NDVI"), (b8 - b4) / (b8 + b4), kTolerance);
    EXPECT_FALSE(Value(v, "NDRE"));  // 720 nm lies between B5 and B6
    EXPECT_FALSE(Value(v, "PRI"));   // 530 nm lies between B2 and B3
    for (const std::optional<double>& value : v) {
        EXPECT_TRUE(!value || std::isfinite(*value));
    }
    // A sensor whose bands hold every wavelength an index reads, over a spectrum flat within
    // each band, gives that index's 5 nm value.
    Spectrum stepped = Flat(0.3);
    for (int nm = 760; nm <= 900; nm += 5) At(stepped, nm) = 0.45;  // Landsat-TM band 4
    for (int nm = 630; nm <= 690; nm += 5) At(stepped, nm) = 0.04;  // band 3
    EXPECT_NEAR(*Value(ComputeBandIndices(stepped, kLandsatTm), "NDVI"),
                *Value(ComputeIndices(stepped), "NDVI"), kTolerance);
}

TEST(Indices, NdviRisesAndSaturatesWithLai)
{
    const leaf::LeafSpectrum leafSpectrum = leaf::ComputeLeafSpectrum(leaf::kStartLeafParameters);
    Spectrum reflPct, transPct;
    for (std::size_t i = 0; i < reflPct.size(); ++i) {
        reflPct[i] = 100 * leafSpectrum.refl[i];
        transPct[i] = 100 * leafSpectrum.trans[i];
    }
    std::vector<double> ndvi;
    for (const double lai : {0.5, 1.0, 2.0, 3.0, 4.0, 6.0, 8.0}) {
        canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
        inputs.lai = lai;
        const canopy::CanopyState state =
            canopy::ComputeCanopySpectrum(inputs, reflPct, transPct, canopy::CanopyState{});
        const std::optional<double> value =
            ComputeIndices(FractionOfPercent(state.canopyReflPct))[0];
        ASSERT_TRUE(value.has_value()) << "LAI " << lai;
        ndvi.push_back(*value);
    }
    for (std::size_t i = 1; i < ndvi.size(); ++i) {
        EXPECT_GT(ndvi[i], ndvi[i - 1]) << "step " << i;
        EXPECT_LT(ndvi[i], 1.0);
    }
    EXPECT_LT(ndvi[6] - ndvi[4], 0.2 * (ndvi[1] - ndvi[0]));
}

}  // namespace
}  // namespace tulmera::sensor
