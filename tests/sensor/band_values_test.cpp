#include "sensor/band_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "plot/band_tables.h"
#include "plot/main_charts.h"
#include "testing/recording_surface.h"

namespace tulmera::sensor {
namespace {

using spectral::kFirstWavelengthNm;
using spectral::kWavelengthCount;
using spectral::kWavelengthStepNm;
using spectral::Spectrum;
using spectral::WavelengthNm;

// A spectrum with `value` at every grid point.
Spectrum Flat(double value)
{
    Spectrum s;
    s.fill(value);
    return s;
}

// Every band of every sensor averages at least one grid sample: a band between two grid
// points would have no value.
TEST(BandTables, EveryBandHoldsAGridSample)
{
    for (const Sensor& sensor : kSensors) {
        for (std::size_t i = 0; i < sensor.bands.size(); ++i) {
            EXPECT_TRUE(BandMean(Flat(0.25), sensor.bands[i]).has_value())
                << sensor.name << " band " << BandName(sensor, i);
        }
    }
}

// Limits on and between grid points: the first and last samples each band averages.
TEST(BandValues, AverageTheGridSamplesWithinTheLimits)
{
    struct Case {
        Band band;
        int firstNm, lastNm;
    };
    const std::vector<Case> cases = {
        {{458, 523}, 460, 520},  // both limits between grid points (Sentinel-2 B2)
        {{405, 420}, 405, 420},  // both on grid points, inclusive (Terra-MODIS 1)
        {{673, 683}, 675, 680},  // Terra-MODIS 7
        {{433, 453}, 435, 450},  // Sentinel-2 B1
        {{2107, 2294}, 2110, 2290}, {{395, 402}, 400, 400},  // clipped to the grid
    };
    Spectrum ramp;  // each sample holds its wavelength, nm
    for (int i = 0; i < kWavelengthCount; ++i) ramp[static_cast<std::size_t>(i)] = WavelengthNm(i);
    // A spectrum that is 1 at the grid point of `nm` alone: the band holds that sample when
    // its mean is above 0.
    const auto holds = [](const Band& band, int nm) {
        Spectrum spike = Flat(0);
        if (nm >= kFirstWavelengthNm && nm <= WavelengthNm(kWavelengthCount - 1)) {
            spike[static_cast<std::size_t>((nm - kFirstWavelengthNm) / kWavelengthStepNm)] = 1;
        }
        return BandMean(spike, band).value_or(0) > 0;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.band.lowerNm) + " .. " + std::to_string(c.band.upperNm));
        EXPECT_FALSE(holds(c.band, c.firstNm - kWavelengthStepNm));
        EXPECT_TRUE(holds(c.band, c.firstNm));
        EXPECT_TRUE(holds(c.band, c.lastNm));
        EXPECT_FALSE(holds(c.band, c.lastNm + kWavelengthStepNm));
        EXPECT_DOUBLE_EQ(*BandMean(ramp, c.band), (c.firstNm + c.lastNm) / 2.0);
    }
}

// 458-523 nm by hand: the 13 samples 460 .. 520 nm hold 1 .. 13, their neighbours 1000.
TEST(BandValues, MatchTheHandSumOfSentinel2Blue)
{
    Spectrum s = Flat(1000);
    for (int nm = 460; nm <= 520; nm += 5)
        s[static_cast<std::size_t>((nm - 400) / 5)] = (nm - 455) / 5;
    const double handSum = 1 + 2 + 3 + 4 + 5 + 6 + 7 + 8 + 9 + 10 + 11 + 12 + 13;  // 91
    EXPECT_EQ(*BandMean(s, kSentinel2MsiBands[1]), handSum / 13);
}

TEST(BandValues, AreUndefinedWhenASampleIsNotFinite)
{
    Spectrum s = Flat(0.2);
    s[(660 - 400) / 5] = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(BandMean(s, kLandsatTmBands[2]).has_value());  // 630-690 holds 660
    EXPECT_TRUE(BandMean(s, kLandsatTmBands[3]).has_value());
    EXPECT_FALSE(BroadbandNdvi(s, kLandsatTm).has_value());
    EXPECT_FALSE(BroadbandNdvi(Flat(0), kLandsatTm).has_value());  // 0 / 0
    EXPECT_EQ(BroadbandNdvi(Flat(0.25), kLandsatTm), 0.0);         // sums of 0.25 are exact
}

// Each sensor's own numbering, which skips bands the tables leave out (thermal, or outside
// 400 .. 2500 nm): a band numbered by its place in the table would be named wrongly.
TEST(BandValues, NamesAreTheSensorsOwnNumbers)
{
    struct Case {
        const Sensor* sensor;
        int lowerNm;
        std::string name;
    };
    const std::vector<Case> cases = {
        {&kLandsatTm, 450, "1"},       {&kLandsatTm, 1550, "5"},
        {&kLandsatTm, 2080, "7"},  // band 6 is thermal
        {&kIrsWis, 620, "3"},          {&kIrsWis, 770, "4"},
        {&kNoaaAvhrr, 1580, "3A"},     {&kSpotVegetation, 430, "B0"},
        {&kSpotVegetation, 610, "B2"}, {&kSpotVegetation, 1580, "MIR"},
        {&kIkonos, 740, "4"},          {&kTerraModis, 405, "8"},
        {&kTerraModis, 931, "19"},     {&kTerraModis, 1230, "5"},
        {&kTerraModis, 2105, "7"},     {&kTerraAster, 760, "3N"},
        {&kTerraAster, 2365, "9"},     {&kSentinel2Msi, 855, "B8A"},
        {&kLandsatOli, 1363, "B9"},    {&kLandsatOli, 2107, "B7"},
    };
    for (const Case& c : cases) {
        const auto& bands = c.sensor->bands;
        const auto at = std::ranges::find(bands, c.lowerNm, &Band::lowerNm);
        ASSERT_NE(at, bands.end()) << c.sensor->name << " " << c.lowerNm;
        EXPECT_EQ(BandName(*c.sensor, static_cast<std::size_t>(at - bands.begin())), c.name)
            << c.sensor->name << " from " << c.lowerNm << " nm";
    }
    // A name picks one band: the sweep quantities and the batch runner find bands by name.
    for (const Sensor& sensor : kSensors) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < sensor.bands.size(); ++i) names.push_back(BandName(sensor, i));
        std::ranges::sort(names);
        EXPECT_EQ(std::ranges::adjacent_find(names), names.end()) << sensor.name;
    }
    EXPECT_EQ(FindSensor("Landsat-8/9 OLI"), &kSensors[8]);
    EXPECT_EQ(FindSensor("Landsat-TM"), &kSensors[2]);
    EXPECT_EQ(FindSensor("landsat-tm"), nullptr);
}

// Red holds 670 nm, NIR 860 nm, else the NIR band is the one centred nearest 860 nm.
// The region of a band comes from its centre; the rows sit at each boundary and at the bands
// the sensors name themselves (Sentinel-2's red edge B5 to B7, its narrow NIR B8A).
TEST(BandRegions, FollowTheCentre)
{
    const struct {
        Band band;
        BandRegion region;
    } rows[] = {
        {{433, 453}, BandRegion::DeepBlue},  // Sentinel-2 B1, centre 443
        {{430, 470}, BandRegion::Blue},      // SPOT B0, centre 450 exactly
        {{458, 523}, BandRegion::Blue},      // Sentinel-2 B2
        {{480, 520}, BandRegion::Green},     // centre 500 exactly
        {{580, 680}, BandRegion::Red},       // NOAA-AVHRR 1, centre 630
        {{673, 683}, BandRegion::Red},       // MODIS 14, centre 678
        {{640, 740}, BandRegion::RedEdge},   // centre 690 exactly
        {{698, 713}, BandRegion::RedEdge},   // Sentinel-2 B5
        {{773, 793}, BandRegion::RedEdge},   // Sentinel-2 B7, centre 783
        {{785, 900}, BandRegion::Nir},       // Sentinel-2 B8
        {{1230, 1250}, BandRegion::Nir},     // MODIS 5
        {{1290, 1310}, BandRegion::Swir},    // centre 1300 exactly
        {{1360, 1390}, BandRegion::Swir},    // Sentinel-2 B10, cirrus
    };
    for (const auto& row : rows) {
        EXPECT_EQ(RegionOf(row.band), row.region) << row.band.lowerNm << "-" << row.band.upperNm;
    }
    EXPECT_EQ(RegionName(BandRegion::RedEdge), "red edge");
    EXPECT_EQ(RegionName(BandRegion::Nir), "NIR");
}

// The first band in table order holding a wavelength, limits included; none between bands.
TEST(BandHolding, FindsTheFirstBandThatHoldsTheWavelength)
{
    EXPECT_EQ(BandHolding(kSentinel2Msi, 670), std::optional<std::size_t>{3});  // B4
    EXPECT_EQ(BandHolding(kSentinel2Msi, 650), std::optional<std::size_t>{3});  // lower limit
    EXPECT_EQ(BandHolding(kSentinel2Msi, 790), std::optional<std::size_t>{6});  // B7, not B8
    EXPECT_EQ(BandHolding(kSentinel2Msi, 720), std::nullopt);                   // B5 .. B6
    EXPECT_EQ(BandHolding(kLandsatTm, 520), std::optional<std::size_t>{0});     // shared edge
    EXPECT_EQ(BandHolding(kIrsWis, 2500), std::nullopt);
}

TEST(BroadbandNdvi, PicksTheRedAndNirBands)
{
    struct Case {
        const Sensor* sensor;
        std::string red, nir;
    };
    const std::vector<Case> cases = {
        {&kIrsWis, "3", "4"},           {&kNoaaAvhrr, "1", "2"},      {&kLandsatTm, "3", "4"},
        {&kSpotVegetation, "B2", "B3"}, {&kIkonos, "3", "4"},         {&kTerraModis, "13", "16"},
        {&kTerraAster, "2", "3N"},      {&kSentinel2Msi, "B4", "B8"},  // B8 before B8A
        {&kLandsatOli, "B4", "B5"},
    };
    for (const Case& c : cases) {
        const NdviBands bands = NdviBandsOf(*c.sensor);
        ASSERT_TRUE(bands.red.has_value()) << c.sensor->name;
        EXPECT_EQ(BandName(*c.sensor, *bands.red), c.red) << c.sensor->name;
        EXPECT_EQ(BandName(*c.sensor, bands.nir), c.nir) << c.sensor->name;
    }
    // 0.05 in the red band, 0.45 in the NIR band (Sentinel-2 B4 650-680, B8 785-900).
    Spectrum s = Flat(0.05);
    for (int nm = 785; nm <= 900; nm += 5) s[static_cast<std::size_t>((nm - 400) / 5)] = 0.45;
    EXPECT_DOUBLE_EQ(*BroadbandNdvi(s, kSentinel2Msi), 0.8);
}

// The stripes of each sensor entry are the bands the band values average: a spectrum that is 1
// inside the k-th stripe and 0 elsewhere has band value 1 in band k.
TEST(BandTables, DriveBothTheOverlayStripesAndTheBandValues)
{
    for (int entry = plot::kFirstSensorEntry; entry <= plot::kBackgroundEntryCount; ++entry) {
        const Sensor& sensor = plot::SensorOfEntry(entry);
        SCOPED_TRACE(std::string(sensor.name));
        testing::RecordingSurface leafChart, canopyChart;
        plot::PaintBackground({leafChart, canopyChart}, plot::ChartBackground{entry});
        std::vector<Band> stripes;
        for (const testing::ChartOp& op : leafChart.ops()) {
            if (op.kind != testing::ChartOp::Kind::FilledBox) continue;
            stripes.push_back({static_cast<int>(op.x1), static_cast<int>(op.x2)});
        }
        ASSERT_EQ(stripes.size(), sensor.bands.size());
        for (std::size_t k = 0; k < stripes.size(); ++k) {
            Spectrum inside = Flat(0);  // 1 at the grid points the stripe covers
            for (int i = 0; i < kWavelengthCount; ++i) {
                const int nm = WavelengthNm(i);
                if (stripes[k].lowerNm <= nm && nm <= stripes[k].upperNm) {
                    inside[static_cast<std::size_t>(i)] = 1;
                }
            }
            EXPECT_EQ(BandMeans(inside, sensor)[k], 1.0) << BandName(sensor, k);
            EXPECT_EQ(stripes[k].lowerNm, sensor.bands[k].lowerNm);
            EXPECT_EQ(stripes[k].upperNm, sensor.bands[k].upperNm);
        }
    }
}

}  // namespace
}  // namespace tulmera::sensor
