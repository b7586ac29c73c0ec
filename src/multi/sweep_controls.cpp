#include "multi/sweep_controls.h"

#include <optional>

#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::multi {
namespace {

using textio::NumberText;

// The names, control names and units of the four rows, as the captions write them.
struct RowWords {
    std::string_view textBox;         // the control, for messages
    std::string_view limitUnit;       // after the limit in Label6 and Label7
    std::string_view summaryName;     // before the text in Label8
    std::string_view summarySpacing;  // after the text in Label8
};
// clang-format off
constexpr std::array<RowWords, 4> kRowWords{{
    {"txtN",   "",          "N=",   "  "},
    {"txtcab", " u.g.cm-2", "Cab=", " u.g.cm-2   "},
    {"txtcw",  " cm",       "Cw=",  " cm   "},
    {"txtcm",  " g.cm-2",   "Cm=",  " g.cm-2"},
}};
// clang-format on

double ReadNumber(const std::string& text, const std::string& what)
{
    const std::optional<double> value = textio::ParseNumberText(text);
    if (!value) {
        std::string shown = text.substr(0, 40);
        throw Error("The " + what + ", \"" + shown + "\", is not a number (use a point as decimal "
                    "separator).");
    }
    return *value;
}

}  // namespace

std::string ScrollText(int value, int divisor)
{
    return NumberText(static_cast<double>(value) / static_cast<double>(divisor));
}

SweepRequest ReadSweepRequest(const SweepTexts& texts)
{
    SweepRequest request;
    request.swept = texts.swept;
    double values[4] = {0.0, 0.0, 0.0, 0.0};
    for (int i = 0; i < 4; ++i) {
        const auto row = static_cast<SweptParameter>(i);
        if (row == texts.swept) continue;
        const std::string name(ParameterName(row));
        values[i] =
            ReadNumber(texts.fixed[static_cast<std::size_t>(i)],
                       "fixed value of " + name + " ("
                           + std::string(kRowWords[static_cast<std::size_t>(i)].textBox) + ")");
    }
    request.fixed = {values[0], values[1], values[2], values[3]};
    request.upper = ReadNumber(texts.upper, "upper limit (lblmax)");
    request.lower = ReadNumber(texts.lower, "lower limit (lblmin)");
    request.interval = ReadNumber(texts.interval, "interval (lblinter)");
    return request;
}

SweepCaptions CaptionsAfterSweep(const SweepRequest& request, const SweepTexts& texts)
{
    const auto swept = static_cast<std::size_t>(request.swept);
    const std::string name(ParameterName(request.swept));
    const std::string_view unit = kRowWords[swept].limitUnit;
    SweepCaptions captions;
    captions.lowerLimit = name + " = " + NumberText(request.lower) + std::string(unit);
    captions.upperLimit = name + " = " + NumberText(request.upper) + std::string(unit);
    for (std::size_t i = 0; i < kRowWords.size(); ++i) {
        if (i == swept) continue;
        captions.heldValues += std::string(kRowWords[i].summaryName) + texts.fixed[i]
                               + std::string(kRowWords[i].summarySpacing);
    }
    return captions;
}

}  // namespace tulmera::multi
