#include "lut/progress_bar.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tulmera::lut {
namespace {

TEST(ProgressBar, ShowsTheShareTheRateAndTheTimeLeft)
{
    struct Case {
        std::uint64_t done, total;
        double seconds;
        const char* line;
    };
    const Case cases[] = {
        {0, 100000, 0.0, "[........................] 0%  0/100000 rows"},
        {25000, 100000, 0.5,
         "[######..................] 25%  25000/100000 rows  50000/s  1.5 s left"},
        {1000, 2000000, 2.0, "[........................] 0%  1000/2000000 rows  500/s  1.1 h left"},
        {10, 1000000000, 1.0,
         "[........................] 0%  10/1000000000 rows  10/s  27778 h left"},
        {600, 1000, 2.0, "[##############..........] 60%  600/1000 rows  300/s  1.3 s left"},
        {100, 5000, 1.0, "[........................] 2%  100/5000 rows  100/s  49 s left"},
        {7, 7, 2.0, "[########################] 100%  7/7 rows  4/s"},  // done: no time left
    };
    for (const Case& c : cases) EXPECT_EQ(ProgressBar::Line(c.done, c.total, c.seconds), c.line);
}

TEST(ProgressBar, WritesNothingWhenDisabled)
{
    std::ostringstream out;
    ProgressBar bar(out, 10, false);
    bar.Update(5);
    bar.Finish();
    EXPECT_EQ(out.str(), "");
    ProgressBar shown(out, 10, true);
    shown.Update(5);
    shown.Finish();
    EXPECT_EQ(out.str().front(), '\r');
    EXPECT_EQ(out.str().back(), '\n');
}

}  // namespace
}  // namespace tulmera::lut
