#include "canopy/leaf_angles.h"

#include <gtest/gtest.h>

#include <numeric>

namespace tulmera::canopy {
namespace {

TEST(LeafAngles, RowsAreUsedExactlyAsStored)
{
    const double sums[] = {100.00, 100.00, 100.01, 99.98, 100.02};
    for (std::size_t row = 0; row < kLeafAngleDistributions.size(); ++row) {
        const LeafAngleDistribution& lidf = kLeafAngleDistributions[row];
        EXPECT_NEAR(std::accumulate(lidf.begin(), lidf.end(), 0.0), sums[row], 1e-9)
            << kLeafArchitectureNames[row];
    }
}

TEST(LeafAngles, EachNameSelectsItsRow)
{
    const struct {
        const char* name;
        double first, last;
    } cases[] = {
        {"Planofilo", 22.00, 0.00},   {"Erectofilo", 0.22, 4.44}, {"Plagiofilo", 0.88, 0.01},
        {"Extremofilo", 21.34, 4.44}, {"Esferico", 1.52, 3.49},
    };
    for (const auto& c : cases) {
        LeafAngleDistribution lidf;
        lidf.fill(-1);
        ASSERT_TRUE(SelectLeafAngles(c.name, lidf)) << c.name;
        EXPECT_EQ(lidf.front(), c.first) << c.name;
        EXPECT_EQ(lidf.back(), c.last) << c.name;
    }
    // A new choice replaces all 13 values: no value of the previous row survives.
    LeafAngleDistribution lidf;
    ASSERT_TRUE(SelectLeafAngles("Plagiofilo", lidf));
    ASSERT_TRUE(SelectLeafAngles("Erectofilo", lidf));
    EXPECT_EQ(lidf, kLeafAngleDistributions[1]);
}

TEST(LeafAngles, NearMissesSelectNothingAndKeepThePreviousRow)
{
    for (const char* nearMiss : {"planofilo", "PLANOFILO", "Planofilo ", " Planofilo", "Planofil",
                                 "Planófilo", "Esférico", "Esferico\r", ""}) {
        LeafAngleDistribution lidf;
        ASSERT_TRUE(SelectLeafAngles("Extremofilo", lidf));
        EXPECT_FALSE(SelectLeafAngles(nearMiss, lidf)) << '"' << nearMiss << '"';
        EXPECT_EQ(lidf, kLeafAngleDistributions[3]) << '"' << nearMiss << '"';
    }
    // Before any selection the distribution is all zeros, and stays so.
    LeafAngleDistribution fresh{};
    EXPECT_FALSE(SelectLeafAngles("Esferico ", fresh));
    EXPECT_EQ(fresh, LeafAngleDistribution{});
}

}  // namespace
}  // namespace tulmera::canopy
