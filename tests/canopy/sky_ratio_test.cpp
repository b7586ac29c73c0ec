#include "canopy/sky_ratio.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tulmera::canopy {
namespace {

using spectral::kWavelengthCount;

// A clearer sky sends less diffuse light at every wavelength.
TEST(SkyRatio, FiftyKilometresLowerTheRatioEverywhere)
{
    for (const double sun : {0.0, 30.0, 60.0}) {
        const spectral::Spectrum hazy = SkyRatio(sun, Visibility::Km15);
        const spectral::Spectrum clear = SkyRatio(sun, Visibility::Km50);
        for (std::size_t i = 0; i < kWavelengthCount; ++i) {
            ASSERT_LT(clear[i], hazy[i]) << "sun " << sun << " at " << 400 + 5 * i << " nm";
        }
    }
}

// Positive and finite over the window's sun range; the diffuse share falls from the blue
// into the infrared, and grows as the sun sinks (from 30° on, where direct light weakens).
TEST(SkyRatio, StaysPositiveAndFallsWithWavelength)
{
    for (const Visibility v : {Visibility::Km15, Visibility::Km50}) {
        for (double sun = 0; sun <= 90; sun += 7.5) {
            const spectral::Spectrum pct = SkyRatio(sun, v);
            for (std::size_t i = 0; i < kWavelengthCount; ++i) {
                ASSERT_TRUE(std::isfinite(pct[i]) && pct[i] > 0) << sun << " " << i;
                if (i > 0) {
                    ASSERT_LT(pct[i], pct[i - 1]) << sun << " " << i;
                }
            }
        }
        EXPECT_GT(SkyRatio(60, v).front(), SkyRatio(30, v).front());
    }
}

}  // namespace
}  // namespace tulmera::canopy
