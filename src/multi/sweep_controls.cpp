#include "multi/sweep_controls.h"

#include <optional>

#include "leaf/leaf_models.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::multi {
namespace {

using textio::NumberText;

// The names, control names and units of the rows, as the captions write them.
struct RowWords {
    std::string_view textBox;         // the control, for messages
    std::string_view limitUnit;       // after the limit in Label6 and Label7
    std::string_view summaryName;     // before the text in Label8
    std::string_view summarySpacing;  // after the text in Label8
};
// clang-format off
constexpr std::array<RowWords, kSweptParameterCount> kRowWords{{
    {"txtN",      "",          "N=",      "  "},
    {"txtcab",    " u.g.cm-2", "Cab=",    " u.g.cm-2   "},
    {"txtcw",     " cm",       "Cw=",     " cm   "},
    {"txtcm",     " g.cm-2",   "Cm=",     " g.cm-2"},
    {"txtcar",    " u.g.cm-2", "Car=",    " u.g.cm-2"},
    {"txtanth",   " u.g.cm-2", "Anth=",   " u.g.cm-2"},
    {"txtcbrown", "",          "Cbrown=", ""},
    {"txtprot",   " g.cm-2",   "Prot=",   " g.cm-2"},
    {"txtcbc",    " g.cm-2",   "CBC=",    " g.cm-2"},
}};
// clang-format on

// Row i is the field i of LeafParameters, whose value a run sets through it.
constexpr bool RowsFollowTheFields()
{
    for (std::size_t i = 0; i < kRowWords.size(); ++i) {
        const std::string_view name = leaf::kLeafParameterFields[i].name;
        if (kRowWords[i].summaryName.substr(0, name.size()) != name) return false;
        if (kRowWords[i].summaryName.size() != name.size() + 1) return false;
    }
    return true;
}
static_assert(RowsFollowTheFields());

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
    request.fixed = {0.0, 0.0, 0.0, 0.0};
    request.fixed.model = texts.model;
    for (std::size_t i = 0; i < kRowWords.size(); ++i) {
        const auto row = static_cast<SweptParameter>(i);
        const std::string name(ParameterName(row));
        if (row == texts.swept || !leaf::ModelHasParameter(texts.model, name)) continue;
        request.fixed.*leaf::kLeafParameterFields[i].value =
            ReadNumber(texts.fixed[i],
                       "fixed value of " + name + " (" + std::string(kRowWords[i].textBox) + ")");
    }
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
        const std::string_view field = ParameterName(static_cast<SweptParameter>(i));
        if (i == swept || !leaf::ModelHasParameter(request.fixed.model, field)) continue;
        // The classic rows bring their own spacing; the newer ones are set apart by three spaces.
        if (i >= kClassicSweptCount && !captions.heldValues.empty()
            && captions.heldValues.back() != ' ') {
            captions.heldValues += "   ";
        }
        captions.heldValues += std::string(kRowWords[i].summaryName) + texts.fixed[i]
                               + std::string(kRowWords[i].summarySpacing);
    }
    return captions;
}

}  // namespace tulmera::multi
