// What the window reads for a run and writes after it.
#include "multi/sweep_controls.h"

#include <gtest/gtest.h>

#include "leaf/leaf_models.h"
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
    EXPECT_EQ(n.fixed,
              (std::array<std::string, kSweptParameterCount>{"", "15", "0.0001", "0.002"}));
    EXPECT_EQ(n.upper, "4");
    EXPECT_EQ(n.lower, "1");
    EXPECT_EQ(n.interval, "0.1");
    const SweepTexts cw = OpeningTexts(SweptParameter::Cw);
    EXPECT_EQ(cw.fixed, (std::array<std::string, kSweptParameterCount>{"1", "15", "", "0.002"}));
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
        std::array<std::string, kSweptParameterCount> fixed;
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

// The newer models read the rows of their own parameters and none of the others, whatever those
// hold; the held values' caption follows the rows the model reads.
TEST(SweepControls, TheNewerModelsReadTheirOwnRows)
{
    const std::array<std::string, kSweptParameterCount> all = {"1.5", "30",  "0.01",  "0.005", "8",
                                                               "",    "0.2", "0.001", "0.01"};
    const struct {
        const char* name;
        leaf::LeafModel model;
        SweptParameter swept;
        std::size_t unread;  // a row whose text is no number: must not be read
        leaf::LeafParameters expected;
        const char* lowerLimit;
        const char* heldValues;
    } cases[] = {
        {"PROSPECT-D, Anth swept",
         leaf::LeafModel::ProspectD,
         SweptParameter::Anth,
         7,  // Prot
         {1.5, 30, 0.01, 0.005, 8, 0, 0.2, 0, 0, leaf::LeafModel::ProspectD},
         "Anth = 0 u.g.cm-2",
         "N=1.5  Cab=30 u.g.cm-2   Cw=0.01 cm   Cm=0.005 g.cm-2   Car=8 u.g.cm-2   Cbrown=0.2"},
        {"PROSPECT-PRO, CBC swept",
         leaf::LeafModel::ProspectPro,
         SweptParameter::CBC,
         3,  // Cm
         {1.5, 30, 0.01, 0, 8, 0, 0.2, 0.001, 0, leaf::LeafModel::ProspectPro},
         "CBC = 0.002 g.cm-2",
         "N=1.5  Cab=30 u.g.cm-2   Cw=0.01 cm   Car=8 u.g.cm-2   Anth=0 u.g.cm-2   Cbrown=0.2   "
         "Prot=0.001 g.cm-2"},
        {"PROSPECT-D, Cm swept",
         leaf::LeafModel::ProspectD,
         SweptParameter::Cm,
         8,  // CBC
         {1.5, 30, 0.01, 0, 8, 0, 0.2, 0, 0, leaf::LeafModel::ProspectD},
         "Cm = 0.002 g.cm-2",
         "N=1.5  Cab=30 u.g.cm-2   Cw=0.01 cm   Car=8 u.g.cm-2   Anth=0 u.g.cm-2   Cbrown=0.2"},
    };
    for (const auto& c : cases) {
        SweepTexts texts = OpeningTexts(c.swept);
        texts.model = c.model;
        texts.fixed = all;
        texts.fixed[5] = "0";  // Anth, when held
        texts.fixed[static_cast<std::size_t>(c.swept)] = "";
        texts.fixed[c.unread] = "x";
        SweepRequest request;
        ASSERT_NO_THROW(request = ReadSweepRequest(texts)) << c.name;
        EXPECT_EQ(request.fixed, c.expected) << c.name;
        EXPECT_NO_THROW(CheckedSweepValues(request)) << c.name;
        const SweepCaptions captions = CaptionsAfterSweep(request, texts);
        EXPECT_EQ(captions.lowerLimit, c.lowerLimit) << c.name;
        EXPECT_EQ(captions.heldValues, c.heldValues) << c.name;
    }
}

}  // namespace
}  // namespace tulmera::multi
