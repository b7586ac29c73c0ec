// The canopy fit against a table: a row finds itself, the thread count changes nothing,
// the model's own noisy spectra come back near their parameters (closer once refined), and
// damaged inputs fail.
#include "lut/lut_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "lut/canopy_refine.h"
#include "lut/sampling.h"
#include "lut/simulation.h"
#include "textio/error.h"
#include "tools/synthetic_spectra.h"

namespace tulmera::lut {
namespace {

constexpr std::size_t kLai = static_cast<std::size_t>(Parameter::Lai);
constexpr std::size_t kCab = static_cast<std::size_t>(Parameter::Cab);

TableSpec FitSpec(std::uint64_t samples, std::uint64_t seed)
{
    canopy::CanopyInputs canopyInputs = canopy::StartCanopyInputs();
    canopyInputs.sunZenith = 30;
    canopyInputs.viewAngle = 10;
    canopyInputs.hotSpot = 0.05;
    TableSpec spec = WithFitRanges(HeldSpec(leaf::kStartLeafParameters, canopyInputs));
    spec.samples = samples;
    spec.seed = seed;
    return spec;
}

measured::GridValues RowSpectrum(const TableRows& rows, std::size_t row)
{
    measured::GridValues values;
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = rows.reflectance[row * spectral::kWavelengthCount + i];
    return values;
}

// The table's row 137 as a measurement over 500 .. 2000 nm, and a copy of row 612 put in
// place of row 13, so that two rows tie at each place of the ranking and the tie crosses the
// threads' slices.
TEST(CanopyFit, FindsARowItselfFirstWhateverTheThreadCount)
{
    TableRows rows = ComputeTableRows(FitSpec(800, 3), 2);
    ASSERT_EQ(rows.Count(), 800u);
    for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
        rows.reflectance[13 * spectral::kWavelengthCount + i] =
            rows.reflectance[612 * spectral::kWavelengthCount + i];
    }
    struct Case {
        const char* name;
        std::size_t row;
        std::uint64_t firstTie;  // the duplicate ranked first: the lower index
        bool water;
    };
    for (const Case& c : {Case{"row 137, 500-2000 nm, water bands out", 137, 137, true},
                          Case{"row 612 and its copy at 13, all wavelengths", 612, 13, false}}) {
        SCOPED_TRACE(c.name);
        measured::GridValues spectrum = RowSpectrum(rows, c.row);
        if (c.water) {
            for (int i = 0; i < spectral::kWavelengthCount; ++i) {
                const int nm = spectral::WavelengthNm(i);
                if (nm < 500 || nm > 2000) spectrum[static_cast<std::size_t>(i)].reset();
            }
        }
        const CanopyFitResult one = FitCanopy(rows, spectrum, {20, c.water, 1});
        ASSERT_EQ(one.bestRows.size(), 20u);
        EXPECT_EQ(one.bestRows[0], c.firstTie);
        EXPECT_EQ(one.bestRmsePercent[0], 0.0);
        EXPECT_TRUE(std::is_sorted(one.bestRmsePercent.begin(), one.bestRmsePercent.end()));
        EXPECT_EQ(one.wavelengthsCompared, c.water ? 301 - 23 - 33 : 421);
        // The held geometry comes back exactly, without a spread made of rounding.
        for (const Parameter held : {Parameter::Sun, Parameter::View, Parameter::HotSpot}) {
            const auto p = static_cast<std::size_t>(held);
            EXPECT_EQ(one.mean[p], rows.parameters[p]) << kParameterNames[p];
            EXPECT_EQ(one.sd[p], 0.0) << kParameterNames[p];
        }
        for (const int threads : {2, 3, 7, 800}) {
            const CanopyFitResult many = FitCanopy(rows, spectrum, {20, c.water, threads});
            EXPECT_EQ(many.bestRows, one.bestRows) << threads << " threads";
            EXPECT_EQ(many.bestRmsePercent, one.bestRmsePercent) << threads << " threads";
            EXPECT_EQ(many.mean, one.mean) << threads << " threads";
            EXPECT_EQ(many.sd, one.sd) << threads << " threads";
        }
    }
    // One best row: its own parameters, no standard deviation.
    const CanopyFitResult alone = FitCanopy(rows, RowSpectrum(rows, 137), {1, false, 2});
    for (std::size_t p = 0; p < kParameterCount; ++p) {
        EXPECT_EQ(alone.mean[p], rows.parameters[137 * kParameterCount + p]);
        EXPECT_FALSE(alone.sd[p].has_value());
    }
}

// The model's own spectra with noise (σ 0.005, fixed seeds) against a 5,000-row table: the
// mean of the 20 best rows recovers LAI (up to 4) and Cab. The bounds are loose guards, about
// 1.3 to 1.6 times the figures of these seeds (LAI 1.26, Cab 7.5) and well below a fit that picks
// wrong rows (LAI about 2.9, Cab about 35); the figures at 20,000 rows are measured by
// fit_canopy_bench.
TEST(CanopyFit, RecoversLaiAndChlorophyllFromNoisySpectra)
{
    const TableRows rows = ComputeTableRows(FitSpec(5000, 11), 2);
    TableSpec truthSpec = FitSpec(24, 99);
    truthSpec.sampling = Sampling::Uniform;
    truthSpec.ranges[kLai] = {0.5, 4, true};
    Simulator simulator(truthSpec);
    tools::NormalNoise noise(5);
    double laiSquares = 0, cabSquares = 0, refinedLaiSquares = 0, refinedCabSquares = 0;
    const TableSpec fitSpec = FitSpec(1, 1);
    for (std::uint64_t s = 0; s < truthSpec.samples; ++s) {
        const ParameterValues truth = SampleValues(truthSpec, s);
        const spectral::Spectrum exact = simulator.Simulate(truth);
        measured::GridValues spectrum;
        for (std::size_t i = 0; i < exact.size(); ++i) spectrum[i] = exact[i] + noise.Next(0.005);
        const CanopyFitResult fit = FitCanopy(rows, spectrum, {20, false, 2});
        const double dLai = fit.mean[kLai] - truth[kLai], dCab = fit.mean[kCab] - truth[kCab];
        laiSquares += dLai * dLai;
        cabSquares += dCab * dCab;
        EXPECT_GT(fit.bestRmsePercent[0], 0.3);  // the noise alone is 0.5 %
        EXPECT_LT(fit.bestRmsePercent[0], 1.5);

        const RefinedCanopyFit refined = *RefineCanopyFit(fitSpec, spectrum, fit.mean, false);
        EXPECT_LE(refined.rmsePercent, fit.bestRmsePercent[0]);
        EXPECT_GT(refined.rmsePercent, 0.4);                      // no closer than the noise allows
        for (std::size_t p = kLai + 1; p < kParameterCount; ++p)  // the geometry stays held
            EXPECT_EQ(refined.values[p], fitSpec.ranges[p].lo);
        const double rLai = refined.values[kLai] - truth[kLai];
        const double rCab = refined.values[kCab] - truth[kCab];
        refinedLaiSquares += rLai * rLai;
        refinedCabSquares += rCab * rCab;
    }
    const auto n = static_cast<double>(truthSpec.samples);
    EXPECT_LT(std::sqrt(laiSquares / n), 1.6);
    EXPECT_LT(std::sqrt(cabSquares / n), 12.0);
    EXPECT_LT(std::sqrt(refinedLaiSquares / n), 0.6);
    EXPECT_LT(std::sqrt(refinedCabSquares / n), 5.0);
}

TEST(CanopyFit, RefusesTooFewWavelengthsAndRowsThatAreNotNumbers)
{
    TableRows rows = ComputeTableRows(FitSpec(50, 3), 1);
    rows.firstRow = 1000;
    measured::GridValues waterOnly;  // 1800 .. 1960 nm: 33 points, none left without water
    for (int nm = 1800; nm <= 1960; nm += 5)
        waterOnly[static_cast<std::size_t>((nm - 400) / 5)] = 0.1;
    EXPECT_NO_THROW(FitCanopy(rows, waterOnly, {5, false, 2}));
    try {
        FitCanopy(rows, waterOnly, {5, true, 2});
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "The spectrum shares 0 wavelengths with the table (400 to 2500 nm every 5 nm, "
                     "water bands left out); at least 10 are needed.");
    }
    rows.reflectance[41 * spectral::kWavelengthCount + 300] =
        std::numeric_limits<float>::quiet_NaN();
    rows.reflectance[7 * spectral::kWavelengthCount + 0] = std::numeric_limits<float>::infinity();
    try {
        FitCanopy(rows, RowSpectrum(rows, 3), {5, false, 2});
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Row 1007 of the table holds a reflectance that is not a number.");
    }
}

}  // namespace
}  // namespace tulmera::lut
