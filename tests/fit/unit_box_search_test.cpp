// The one search every fit uses: it finds a minimum inside the box or on its edge, stops when
// cancelled, and reports an optimiser failure as the program's error.
#include "fit/unit_box_search.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "textio/error.h"

namespace tulmera::fit {
namespace {

constexpr UnitBoxSettings kSettings{.initialStep = 0.1, .tolerance = 1e-9, .maxEvaluations = 500};

// (x0 − a)² + (x1 − b)²: its minimum is (a, b) inside the box, the nearest edge point outside.
UnitBoxObjective Bowl(double a, double b, int& calls)
{
    return [a, b, &calls](const std::vector<double>& x) {
        ++calls;
        return (x[0] - a) * (x[0] - a) + (x[1] - b) * (x[1] - b);
    };
}

TEST(UnitBoxSearch, FindsTheMinimumInsideOrOnTheEdgeOfTheBox)
{
    struct Case {
        const char* name;
        double a, b;              // where the bowl's bottom lies
        double expect0, expect1;  // the best point of the box
    };
    const Case cases[] = {
        {"inside", 0.3, 0.7, 0.3, 0.7},
        {"beyond both upper edges", 1.6, 2.0, 1.0, 1.0},
        {"below one lower edge", -0.4, 0.25, 0.0, 0.25},
    };
    for (const Case& c : cases) {
        int calls = 0;
        std::vector<double> x{0.5, 0.5};
        const std::optional<double> sum =
            MinimizeInUnitBox(Bowl(c.a, c.b, calls), x, kSettings, nullptr, "test fit");
        ASSERT_TRUE(sum.has_value()) << c.name;
        EXPECT_NEAR(x[0], c.expect0, 1e-6) << c.name;
        EXPECT_NEAR(x[1], c.expect1, 1e-6) << c.name;
        EXPECT_GE(x[0], 0.0) << c.name;  // never a trial point outside the box
        EXPECT_LE(x[1], 1.0) << c.name;
        EXPECT_LE(calls, kSettings.maxEvaluations) << c.name;
    }
}

TEST(UnitBoxSearch, StopsWhenCancelledBeforeOrDuring)
{
    std::atomic<bool> cancel{true};
    int calls = 0;
    std::vector<double> x{0.5, 0.5};
    EXPECT_FALSE(MinimizeInUnitBox(Bowl(0.2, 0.2, calls), x, kSettings, &cancel, "test fit"));
    EXPECT_EQ(calls, 0);

    cancel = false;
    const UnitBoxObjective cancelsAtTheFifthCall = [&](const std::vector<double>& at) {
        if (++calls == 5) cancel = true;
        return at[0] * at[0] + at[1];
    };
    EXPECT_FALSE(MinimizeInUnitBox(cancelsAtTheFifthCall, x, kSettings, &cancel, "test fit"));
    EXPECT_EQ(calls, 5);
}

TEST(UnitBoxSearch, ReportsAnOptimiserFailureNamingTheFit)
{
    int calls = 0;
    std::vector<double> x{0.5, 0.5};
    const UnitBoxSettings noStep{.initialStep = -1.0, .tolerance = 1e-9, .maxEvaluations = 50};
    try {
        MinimizeInUnitBox(Bowl(0.2, 0.2, calls), x, noStep, nullptr, "test fit");
        FAIL() << "a negative trust-region radius was accepted";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("The test fit failed in the optimiser: ", 0), 0u)
            << e.what();
    }
}

}  // namespace
}  // namespace tulmera::fit
