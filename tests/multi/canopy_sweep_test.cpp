// The canopy sweep: its file against single canopy runs, the geometry of its sweeps (symmetry,
// principal plane, hot spot), the saturation along LAI, its refusals and its quantities.
#include "multi/canopy_sweep.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canopy/canopy_fluxes.h"
#include "canopy/canopy_run.h"
#include "leaf/leaf_run.h"
#include "leaf/leaf_spectrum.h"
#include "multi/canopy_sweep_charts.h"
#include "multi/sweep_quantity.h"
#include "sensor/indices.h"
#include "support/work_dir.h"
#include "testing/recording_surface.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::multi {
namespace {

using testing::ScopedWorkDir;
using P = CanopySweptParameter;

constexpr std::size_t k800Nm = (800 - 400) / 5;

CanopySweepRequest Request(P swept, double lower, double upper, double interval)
{
    CanopySweepRequest request;
    request.swept = swept;
    request.canopy.lai = 3.0;
    request.canopy.sunZenith = 30.0;
    request.limits = {lower, upper, interval};
    return request;
}

// The leaf spectra of `p` in percent, straight from the model (the sweep reads them back from
// their printed text, which keeps every digit that matters here).
std::pair<spectral::Spectrum, spectral::Spectrum> LeafSpectraOf(const leaf::LeafParameters& p)
{
    const leaf::LeafSpectrum s = leaf::ComputeLeafSpectrum(p);
    std::pair<spectral::Spectrum, spectral::Spectrum> pct;
    for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
        pct.first[i] = 100.0 * s.refl[i];
        pct.second[i] = 100.0 * s.trans[i];
    }
    return pct;
}

// The lines of a text ending in CR LF, each with its CR LF.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end + 2 - at));
        at = end + 2;
    }
    return lines;
}

TEST(CanopySweep, EachBlockIsTheSingleRunsFile)
{
    const struct {
        const char* name;
        CanopySweepRequest request;
        const char* firstHeader;
    } cases[] = {
        {"LAI", Request(P::Lai, 0.5, 2.0, 0.5), "LAI = 0.5 \r\n"},
        {"plane, negative side", Request(P::Plane, -40.0, 40.0, 40.0), "plane =-40 \r\n"},
        {"Cab, a leaf parameter", Request(P::Cab, 15.0, 75.0, 30.0), "Cab = 15 \r\n"},
        {"Cm, a step that does not add up exactly", Request(P::Cm, 0.002, 0.0041, 0.0007),
         "Cm = 0.002 \r\n"},
    };
    for (const auto& c : cases) {
        const ScopedWorkDir dir;
        const CanopySweepResult result = ComputeCanopySweep(c.request);
        textio::StagedFiles staged;
        StageCanopySweepFile(result, staged);
        staged.Publish();
        const std::vector<std::string> lines =
            Lines(textio::ReadTextFile(kCanopySweepFile, kMaxSweepFileBytes));
        ASSERT_EQ(lines.size(), result.values.size() * 422) << c.name;
        EXPECT_EQ(lines[0], c.firstHeader) << c.name;
        for (std::size_t i = 0; i < result.values.size(); ++i) {
            const CanopyStepInputs step = CanopyStepOf(c.request, result.values[i]);
            leaf::RunProspect(step.leaf);
            canopy::CanopyState state;
            canopy::RunSailh(step.canopy, state);
            const std::vector<std::string> single =
                Lines(textio::ReadTextFile(kCanopySpectrumFile));
            ASSERT_EQ(single.size(), 421u);
            int identical = 0;
            for (std::size_t k = 0; k < single.size(); ++k) {
                const std::string& swept = lines[i * 422 + 1 + k];
                EXPECT_EQ(swept, single[k]) << c.name << ", value " << i + 1 << ", line " << k + 1;
                identical += swept == single[k] ? 1 : 0;
            }
            EXPECT_EQ(identical, 421) << c.name << ", value " << i + 1;
        }
    }
}

TEST(CanopySweep, ViewSweepIsSymmetric)
{
    const CanopySweepResult result = ComputeCanopySweep(Request(P::View, -60.0, 60.0, 10.0));
    const std::size_t n = result.values.size();
    ASSERT_EQ(n, 13u);
    for (std::size_t i = 0; i < n / 2; ++i) {
        EXPECT_EQ(result.values[i], -result.values[n - 1 - i]);
        EXPECT_EQ(result.canopyReflPct[i], result.canopyReflPct[n - 1 - i])
            << "view " << result.values[i];
    }
}

TEST(CanopySweep, PrincipalPlaneShowsTheHotSpotOnTheSunsSide)
{
    // Sun at 30 degrees: -80 + 5 k reaches -30 (k = 10) and +30 (k = 22) exactly.
    CanopySweepRequest request = Request(P::Plane, -80.0, 80.0, 5.0);
    request.canopy.hotSpot = 0.5;
    const CanopySweepResult withHotSpot = ComputeCanopySweep(request);
    ASSERT_EQ(withHotSpot.values[10], -30.0);
    ASSERT_EQ(withHotSpot.values[22], 30.0);
    EXPECT_GT(withHotSpot.canopyReflPct[22][k800Nm], withHotSpot.canopyReflPct[10][k800Nm]);

    request.canopy.hotSpot = 0.0;
    const CanopySweepResult without = ComputeCanopySweep(request);
    EXPECT_GT(withHotSpot.canopyReflPct[22][k800Nm], without.canopyReflPct[22][k800Nm]);
}

TEST(CanopySweep, NdviRisesAndFlattensAlongLai)
{
    const CanopySweepResult result = ComputeCanopySweep(Request(P::Lai, 0.5, 8.0, 0.5));
    ASSERT_EQ(result.values.size(), 16u);
    const std::vector<std::optional<double>> ndvi =
        QuantityValues(*ParseSweepQuantity("NDVI"), result.canopyReflPct);
    for (std::size_t i = 1; i < ndvi.size(); ++i) {
        ASSERT_TRUE(ndvi[i] && ndvi[i - 1]);
        EXPECT_GE(*ndvi[i], *ndvi[i - 1]) << "LAI " << result.values[i];
    }
    const double firstRise = *ndvi[1] - *ndvi[0];
    const double lastRise = *ndvi[15] - *ndvi[14];
    EXPECT_LT(lastRise, firstRise / 10.0);
}

TEST(CanopySweep, RefusesBeforeAnyStepNamingTheValue)
{
    const struct {
        const char* name;
        CanopySweepRequest request;
        const char* named;  // part of the message
    } cases[] = {
        {"LAI reaches 0", Request(P::Lai, 0.0, 2.0, 0.5), "LAI = 0"},
        {"sun beyond 90", Request(P::Sun, 60.0, 100.0, 10.0), "sun = 100"},
        {"plane beyond 90", Request(P::Plane, -95.0, 0.0, 5.0), "plane = -95"},
        {"N below 1", Request(P::N, 0.5, 2.0, 0.5), "N = 0.5"},
        {"reversed range", Request(P::Lai, 4.0, 1.0, 0.5), "lies above the upper limit"},
        {"zero interval", Request(P::HotSpot, 0.0, 1.0, 0.0), "greater than 0"},
        {"too many values", Request(P::Azimuth, 0.0, 360.0, 0.1), "more than 1000"},
    };
    for (const auto& c : cases) {
        try {
            ComputeCanopySweep(c.request);
            ADD_FAILURE() << c.name << ": not refused";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos)
                << c.name << ": " << e.what();
        }
    }
}

// The flux quantities are each step's canopy fluxes with the request's sky mix, and they
// saturate along LAI at their own pace: fCover (the nadir gap) before fAPAR.
TEST(CanopySweep, FluxQuantitiesAreEachStepsFluxes)
{
    for (const canopy::SkyMix mix : {canopy::SkyMix::Classic, canopy::SkyMix::Physical}) {
        CanopySweepRequest request = Request(P::Lai, 0.5, 8.0, 0.5);
        request.canopy.skyMix = mix;
        const CanopySweepResult result = ComputeCanopySweep(request);
        ASSERT_EQ(result.fluxes.size(), result.values.size());
        const auto fAPAR =
            QuantityValues(*ParseSweepQuantity("fAPAR", true), result.canopyReflPct, result.fluxes);
        const auto albedo = QuantityValues(*ParseSweepQuantity("albedo NIR", true),
                                           result.canopyReflPct, result.fluxes);
        for (const std::size_t i : {std::size_t{0}, std::size_t{5}, result.values.size() - 1}) {
            const CanopyStepInputs step = CanopyStepOf(request, result.values[i]);
            const auto [refl, trans] = LeafSpectraOf(step.leaf);
            const canopy::CanopyState state =
                canopy::ComputeCanopySpectrum(step.canopy, refl, trans, canopy::CanopyState{});
            const canopy::CanopyFluxes exact = canopy::ComputeCanopyFluxes(state, mix);
            ASSERT_TRUE(fAPAR[i] && albedo[i]);
            EXPECT_NEAR(*fAPAR[i], exact.fAPAR, 1e-12) << "LAI " << result.values[i];
            EXPECT_NEAR(*albedo[i], exact.albedoNir, 1e-12) << "LAI " << result.values[i];
        }
        const auto fCover = QuantityValues(*ParseSweepQuantity("fCover", true),
                                           result.canopyReflPct, result.fluxes);
        EXPECT_GT(*fCover[9] - *fCover[7], 0.0);                    // LAI 4 -> 5: still rising
        EXPECT_LT(*fAPAR[15] - *fAPAR[14], *fAPAR[1] - *fAPAR[0]);  // and flattening
    }
    // Without the fluxes (the callers that keep only spectra) a flux name is no quantity, and a
    // flux quantity without them has no value rather than a made-up one.
    EXPECT_FALSE(ParseSweepQuantity("fAPAR").has_value());
    const SweepQuantity flux = *ParseSweepQuantity("fCover", true);
    EXPECT_FALSE(QuantityValue(flux, spectral::Spectrum{}).has_value());
}

TEST(SweepQuantity, ReadsIndicesBandsAndWavelengths)
{
    const struct {
        const char* text;
        bool known;
        const char* name;
    } cases[] = {
        {"NDVI", true, "NDVI"},
        {"TCARI/OSAVI", true, "TCARI/OSAVI"},
        {"Landsat-TM band 3", true, "Landsat-TM band 3"},
        {"Landsat-TM band 9", false, ""},
        {"Landsat-TM band 7", true, "Landsat-TM band 7"},  // 2080-2350 nm
        {"Landsat-TM band 6", false, ""},                  // thermal: not simulated
        {"800", true, "800 nm"},
        {"2500 nm", true, "2500 nm"},
        {"802", false, ""},
        {"395", false, ""},
        {"ndvi", false, ""},
    };
    for (const auto& c : cases) {
        const auto quantity = ParseSweepQuantity(c.text);
        ASSERT_EQ(quantity.has_value(), c.known) << c.text;
        if (quantity) {
            EXPECT_EQ(quantity->name, c.name);
        }
    }
    for (const std::string& name : SweepQuantityNames()) {
        EXPECT_TRUE(ParseSweepQuantity(name).has_value()) << name;
    }
    for (const std::string& name : SweepQuantityNames(true)) {
        EXPECT_TRUE(ParseSweepQuantity(name, true).has_value()) << name;
    }
    EXPECT_EQ(SweepQuantityNames(true).size(), SweepQuantityNames().size() + 5);
}

TEST(SweepQuantity, CsvAndChartLeaveUndefinedValuesOut)
{
    CanopySweepResult result;
    result.swept = P::Lai;
    result.values = {0.5, 1.0, 1.5};
    spectral::Spectrum flat{};
    flat.fill(0.0);  // NDVI 0 / 0: undefined
    spectral::Spectrum green{};
    green.fill(10.0);
    green[k800Nm] = 40.0;
    result.canopyReflPct = {green, flat, green};
    const SweepQuantity ndvi = *ParseSweepQuantity("NDVI");
    const std::string defined = textio::ShortestNumberText(*QuantityValue(ndvi, green));
    EXPECT_EQ(SweepQuantityCsv(result, ndvi),
              "LAI,NDVI\n0.5," + defined + "\n1,\n1.5," + defined + "\n");

    testing::RecordingSurface chart;
    PaintSweepQuantity(chart, result, ndvi);
    int joins = 0, points = 0;
    for (const testing::ChartOp& op : chart.ops()) {
        joins += op.kind == testing::ChartOp::Kind::LineTo ? 1 : 0;
        points += op.kind == testing::ChartOp::Kind::PlotPoint ? 1 : 0;
    }
    EXPECT_EQ(points, 2);
    EXPECT_EQ(joins, 0);  // the undefined value breaks the line
}

}  // namespace
}  // namespace tulmera::multi
