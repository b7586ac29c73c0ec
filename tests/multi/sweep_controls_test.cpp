// What the window reads for a run and writes after it.
#include "multi/sweep_controls.h"

#include <gtest/gtest.h>

#include "textio/error.h"

namespace tulmera::multi {
namespace {

// The texts of the window as it opens with parameter `swept` chosen.
SweepTexts OpeningTexts(SweptParameter swept)
{
    SweepTexts texts;
    texts.swept = swept;
    for (std::size_t i = 0; i < 4; ++i) {
        const ParameterRow& row = kParameterRows[i];
        texts.fixed[i] = i == static_cast<std::size_t>(swept)
                             ? std::string()
                             : ScrollText(row.bar.value, row.divisor);
    }
    const LimitBars& bars = LimitBarsOf(swept);
    texts.upper = ScrollText(bars.upper.value, bars.limitDivisor);
    texts.lower = ScrollText(bars.lower.value, bars.limitDivisor);
    texts.interval = ScrollText(bars.interval.value, bars.intervalDivisor);
    return texts;
}

TEST(SweepControls, OpeningTextsAreTheStartValues)
{
    const SweepTexts n = OpeningTexts(SweptParameter::N);
    EXPECT_EQ(n.fixed, (std::array<std::string, 4>{"", "15", "0.0001", "0.002"}));
    EXPECT_EQ(n.upper, "4");
    EXPECT_EQ(n.lower, "1");
    EXPECT_EQ(n.interval, "0.1");
    const SweepTexts cw = OpeningTexts(SweptParameter::Cw);
    EXPECT_EQ(cw.fixed, (std::array<std::string, 4>{"1", "15", "", "0.002"}));
    EXPECT_EQ(cw.upper, "0.07");
    EXPECT_EQ(cw.lower, "0.0001");
    EXPECT_EQ(cw.interval, "0.001");

    const SweepRequest request = ReadSweepRequest(n);
    EXPECT_EQ(request.swept, SweptParameter::N);
    EXPECT_EQ(request.fixed.Cab, 15.0);
    EXPECT_EQ(request.fixed.Cw, 0.0001);
    EXPECT_EQ(request.fixed.Cm, 0.002);
    EXPECT_EQ(request.upper, 4.0);
    EXPECT_EQ(request.lower, 1.0);
    EXPECT_EQ(request.interval, 0.1);
}

TEST(SweepControls, TextsThatAreNoNumbersAreNamed)
{
    const struct {
        const char* name;
        SweptParameter swept;
        std::size_t row;  // 4: lblmax, 5: lblmin, 6: lblinter
        const char* text;
        const char* expected;
    } cases[] = {
        {"comma", SweptParameter::N, 1, "1,5", "fixed value of Cab (txtcab), \"1,5\""},
        {"empty", SweptParameter::Cm, 0, "", "fixed value of N (txtN), \"\""},
        {"letters", SweptParameter::Cab, 2, "abc", "fixed value of Cw (txtcw)"},
        {"infinity", SweptParameter::N, 3, "inf", "fixed value of Cm (txtcm)"},
        {"upper limit", SweptParameter::N, 4, "x", "upper limit (lblmax)"},
        {"lower limit", SweptParameter::N, 5, "", "lower limit (lblmin)"},
        {"interval", SweptParameter::N, 6, "0.1.", "interval (lblinter)"},
    };
    for (const auto& c : cases) {
        SweepTexts texts = OpeningTexts(c.swept);
        std::string* target = c.row < 4    ? &texts.fixed[c.row]
                              : c.row == 4 ? &texts.upper
                              : c.row == 5 ? &texts.lower
                                           : &texts.interval;
        *target = c.text;
        try {
            ReadSweepRequest(texts);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos)
                << c.name << ": " << e.what();
        }
    }
}

TEST(SweepControls, TheSweptRowsTextIsNotRead)
{
    SweepTexts texts = OpeningTexts(SweptParameter::Cw);
    texts.fixed[2] = "not read";
    EXPECT_NO_THROW(ReadSweepRequest(texts));
}

TEST(SweepControls, CaptionsAfterARun)
{
    const struct {
        SweptParameter swept;
        std::array<std::string, 4> fixed;
        const char* lowerLimit;
        const char* upperLimit;
        const char* heldValues;
    } cases[] = {
        {SweptParameter::N,
         {"", "15", "0.0001", "0.002"},
         "N = 1",
         "N = 4",
         "Cab=15 u.g.cm-2   Cw=0.0001 cm   Cm=0.002 g.cm-2"},
        {SweptParameter::Cab,
         {"1", "", "0.0001", "0.002"},
         "Cab = 15 u.g.cm-2",
         "Cab = 90 u.g.cm-2",
         "N=1  Cw=0.0001 cm   Cm=0.002 g.cm-2"},
        {SweptParameter::Cw,
         {" 2.5", "40", "", "0.002"},
         "Cw = 0.0001 cm",
         "Cw = 0.07 cm",
         "N= 2.5  Cab=40 u.g.cm-2   Cm=0.002 g.cm-2"},
        {SweptParameter::Cm,
         {"1", "15", "0.0001", ""},
         "Cm = 0.002 g.cm-2",
         "Cm = 0.04 g.cm-2",
         "N=1  Cab=15 u.g.cm-2   Cw=0.0001 cm   "},
    };
    for (const auto& c : cases) {
        SweepTexts texts = OpeningTexts(c.swept);
        texts.fixed = c.fixed;
        const SweepCaptions captions = CaptionsAfterSweep(ReadSweepRequest(texts), texts);
        EXPECT_EQ(captions.lowerLimit, c.lowerLimit);
        EXPECT_EQ(captions.upperLimit, c.upperLimit);
        EXPECT_EQ(captions.heldValues, c.heldValues);  // the texts as typed, blanks and all
    }
}

}  // namespace
}  // namespace tulmera::multi
