#pragma once
#include <array>
#include <string>
#include <string_view>

#include "multi/parameter_rows.h"
#include "multi/sweep.h"

// What the multiple-simulation window shows and reads, without the window: the set-up of its
// scroll bars (its parameter rows are in parameter_rows.h), the texts a run reads from it and the
// captions a run writes back. Scroll values are 16-bit integers; the value shown is the scroll
// value divided by a fixed divisor.
namespace tulmera::multi {

// The captions of the limit bars vsmax, vsmin, vsinter (UTF-8).
inline constexpr std::array<std::string_view, 3> kLimitCaptions = {
    "Límite superior:", "Límite inferior:", "Intervalo:"};

// The limit bars (upper vsmax, lower vsmin, interval vsinter) as they are set up when parameter
// i is chosen, with the divisors of lblmax and lblmin (`limitDivisor`) and of lblinter
// (`intervalDivisor`). The first four are the classic parameters'; then Car 0 to 30 µg/cm² by 2,
// Anth 0 to 40 µg/cm² by 5, Cbrown 0 to 1 by 0.1, Prot 0 to 0.004 g/cm² by 0.0005 and CBC 0.002
// to 0.02 g/cm² by 0.002, within the main window's bars for them.
struct LimitBars {
    ScrollSetup upper;     // vsmax
    ScrollSetup lower;     // vsmin
    ScrollSetup interval;  // vsinter
    int limitDivisor;
    int intervalDivisor;
};

// clang-format off
inline constexpr std::array<LimitBars, kSweptParameterCount> kLimitBars{{
    //  upper (vsmax)            lower (vsmin)            interval (vsinter)          divisors
    {{400, 100, 10, 10, 400},  {400, 100, 10, 10, 100},  {2000, 100, 10, 10, 100},   100,   1000},
    {{9000, 1500, 10, 10, 9000}, {9000, 1500, 10, 10, 1500}, {10000, 1000, 10, 10, 1000}, 100, 1000},
    {{700, 1, 1, 1, 700},      {700, 1, 1, 1, 1},        {1000, 100, 10, 10, 100},   10000, 100000},
    {{400, 20, 10, 10, 400},   {400, 20, 10, 10, 20},    {1000, 50, 10, 10, 50},     10000, 100000},
    {{300, 0, 10, 50, 300},    {300, 0, 10, 50, 0},      {100, 1, 1, 10, 20},        10,    10},
    {{400, 0, 10, 50, 400},    {400, 0, 10, 50, 0},      {100, 1, 1, 10, 50},        10,    10},
    {{100, 0, 5, 10, 100},     {100, 0, 5, 10, 0},       {50, 1, 1, 5, 10},          100,   100},
    {{400, 0, 10, 50, 400},    {400, 0, 10, 50, 0},      {100, 1, 1, 10, 50},        100000, 100000},
    {{200, 1, 1, 10, 200},     {200, 1, 1, 10, 20},      {100, 1, 1, 10, 20},        10000, 10000},
}};
// clang-format on

// The window's row of `p`: one of kParameterRows for the classic four, else of
// kModelParameterRows.
constexpr const ParameterRow& RowOf(SweptParameter p)
{
    const auto i = static_cast<std::size_t>(p);
    return i < kParameterRows.size() ? kParameterRows[i]
                                     : kModelParameterRows[i - kParameterRows.size()];
}
constexpr const LimitBars& LimitBarsOf(SweptParameter p) { return kLimitBars[static_cast<int>(p)]; }

// The text of a scroll value: the number text of value / divisor ("0.0001", "15").
std::string ScrollText(int value, int divisor);

// The texts a run reads from the window, and the leaf model it runs.
struct SweepTexts {
    SweptParameter swept = SweptParameter::N;
    leaf::LeafModel model = leaf::LeafModel::Classic;
    // txtN, txtcab, txtcw, txtcm, then txtcar, txtanth, txtcbrown, txtprot, txtcbc (index =
    // SweptParameter); the swept row's and those the model does not read are ignored.
    std::array<std::string, kSweptParameterCount> fixed;
    std::string upper;     // lblmax
    std::string lower;     // lblmin
    std::string interval;  // lblinter
};

// The request a run makes of these texts for their model: the fixed rows the model reads in
// index order (the others 0), then the upper limit, the lower limit and the interval. Throws
// tulmera::Error naming the control when a text is not a number ("The fixed value of Cab (txtcab),
// \"1,5\", is not a number."). The values are not checked further here: RunSweep refuses what
// cannot run.
SweepRequest ReadSweepRequest(const SweepTexts& texts);

// The captions a completed run writes under the legend strip.
// The window shows them in its labels Label6, Label7 and Label8.
struct SweepCaptions {
    std::string lowerLimit;  // the swept parameter at the lower limit: "Cab = 15 u.g.cm-2"
    std::string upperLimit;  // the same at the upper limit
    std::string heldValues;  // the held parameters as typed: "N=1  Cw=0.0001 cm   Cm=0.002 g.cm-2"
};

// The limit captions from the limits of `request` (as number text), the held values from the
// texts of the fixed rows that request.fixed.model reads, as they stand. For the classic model
// the captions are the four-parameter ones above; the other models' parameters follow Cm's
// ("   Car=8 u.g.cm-2   Anth=0 u.g.cm-2   Cbrown=0"), and PRO has no Cm.
SweepCaptions CaptionsAfterSweep(const SweepRequest& request, const SweepTexts& texts);

}  // namespace tulmera::multi
