// The sweep values and the checks made before a sweep starts.
#include "multi/sweep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "multi/sweep_controls.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::multi {
namespace {

// A limit as the window hands it over: the scroll value over its divisor, shown as text in a
// label and read back from it.
double LabelValue(int scrollValue, int divisor)
{
    return *textio::ParseNumberText(ScrollText(scrollValue, divisor));
}

TEST(SweepValues, CountAndLastValueFollowTheRunningSum)
{
    const struct {
        const char* name;
        double lower, upper, interval;
        std::size_t count;
        const char* last;  // number text of the last value
    } cases[] = {
        {"N 1..4 by 0.1", 1, 4, 0.1, 31, "4"},
        {"Cab 15..90 by 1", 15, 90, 1, 76, "90"},
        {"Cw 0.0001..0.07 by 0.001", 0.0001, 0.07, 0.001, 70, "0.0691000000000001"},
        {"Cm 0.002..0.04 by 0.0005", 0.002, 0.04, 0.0005, 77, "0.04"},
        {"Cw by 0.01 passes the limit", 0.0001, 0.07, 0.01, 8, "0.0701"},
        {"lower = upper", 2.5, 2.5, 0.1, 1, "2.5"},
        {"just inside the tolerance", 1, 1.9999, 1, 2, "2"},
        {"just outside the tolerance", 1, 1.9998, 1, 1, "1"},
        {"lower above upper, within the tolerance", 1.00005, 1, 0.5, 1, "1.00005"},
        {"the largest sweep", 1, 1000, 1, static_cast<std::size_t>(kMaxSweepValues), "1000"},
    };
    for (const auto& c : cases) {
        const std::vector<double> values = SweepValues(c.lower, c.upper, c.interval);
        ASSERT_EQ(values.size(), c.count) << c.name;
        EXPECT_EQ(values.front(), c.lower) << c.name;
        EXPECT_EQ(textio::NumberText(values.back()), c.last) << c.name;
        for (std::size_t i = 1; i < values.size(); ++i) {
            // Each value is the previous one plus the interval, not lower + i * interval.
            ASSERT_EQ(values[i], values[i - 1] + c.interval) << c.name << " value " << i;
        }
    }
}

TEST(SweepValues, TheWindowsFullRangesWithTheNarrowestIntervals)
{
    // vsmax at its top (Min, the larger number), vsmin at its bottom (Max), vsinter at its
    // smallest (Max); this is also how every option sets the bars up.
    const std::size_t expected[] = {31, 76, 70, 77};
    for (int i = 0; i < 4; ++i) {
        const LimitBars& bars = kLimitBars[static_cast<std::size_t>(i)];
        EXPECT_EQ(bars.upper.value, bars.upper.min);
        EXPECT_EQ(bars.lower.value, bars.lower.max);
        EXPECT_EQ(bars.interval.value, bars.interval.max);
        const std::vector<double> values =
            SweepValues(LabelValue(bars.lower.max, bars.limitDivisor),
                        LabelValue(bars.upper.min, bars.limitDivisor),
                        LabelValue(bars.interval.max, bars.intervalDivisor));
        EXPECT_EQ(values.size(), expected[i]) << ParameterName(static_cast<SweptParameter>(i));
    }
}

TEST(CheckedSweepValues, RefusesWhatCannotRunAndSaysWhy)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const leaf::LeafParameters start = leaf::kStartLeafParameters;
    const struct {
        const char* name;
        SweepRequest request;
        const char* expected;
    } cases[] = {
        {"lower above upper", {SweptParameter::N, start, 1, 4, 0.1}, "lower limit 4 lies above"},
        {"interval 0", {SweptParameter::Cab, start, 90, 15, 0}, "greater than 0, not 0"},
        {"negative interval", {SweptParameter::Cab, start, 15, 90, -1}, "not -1"},
        {"NaN interval", {SweptParameter::Cw, start, 0.07, 0.0001, nan}, "interval of the sweep"},
        {"infinite upper limit", {SweptParameter::Cm, start, inf, 0.002, 0.001}, "upper limit"},
        {"NaN lower limit", {SweptParameter::Cm, start, 0.04, nan, 0.001}, "lower limit"},
        {"too many values", {SweptParameter::Cab, start, 1001, 1, 1}, "more than 1000 values"},
        {"an interval lost in rounding",
         {SweptParameter::N, start, 2, 1, 1e-17},
         "The interval 1E-17 is too small to advance the value 1 "},
        {"held N of 0", {SweptParameter::Cab, {0, 15, 0.0001, 0.002}, 90, 15, 1}, "N must be"},
        {"held N below 0",
         {SweptParameter::Cm, {-1, 15, 0.0001, 0.002}, 0.04, 0.002, 0.001},
         "N must be"},
        {"held Cab not finite", {SweptParameter::N, {1, nan, 0.0001, 0.002}, 4, 1, 0.1}, "Cab"},
        {"swept N through 0", {SweptParameter::N, start, 1, 0, 0.5}, "At N = 0: "},
    };
    for (const auto& c : cases) {
        try {
            CheckedSweepValues(c.request);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const Error& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(c.expected), std::string::npos) << c.name << ": " << what;
            EXPECT_EQ(what.rfind("Cannot sweep " + std::string(ParameterName(c.request.swept)), 0),
                      0u)
                << what;
        }
    }
}

TEST(CheckedSweepValues, TheSweptParametersHeldValueIsIgnored)
{
    const SweepRequest request{SweptParameter::N, {0, 15, 0.0001, 0.002}, 4, 1, 0.1};
    EXPECT_EQ(CheckedSweepValues(request).size(), 31u);
    EXPECT_EQ(StepParameters(request, 2.5).N, 2.5);
    EXPECT_EQ(StepParameters(request, 2.5).Cab, 15.0);
}

}  // namespace
}  // namespace tulmera::multi
