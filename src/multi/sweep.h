#pragma once
#include <optional>
#include <string_view>
#include <vector>

#include "leaf/leaf_parameters.h"
#include "plot/sweep_chart.h"
#include "textio/staged_files.h"

// The multiple simulation: one leaf parameter swept from a lower to an upper limit in a fixed
// interval, the others held; every value's spectrum is appended to "MVP.dat" (the same layout
// whatever the leaf model) and drawn as one curve of the sweep chart.
namespace tulmera::multi {

// The parameter to sweep: the classic four in the order of the window's option buttons
// btOption(0..3), then those only PROSPECT-D and PROSPECT-PRO read.
enum class SweptParameter { N, Cab, Cw, Cm, Car, Anth, Cbrown, Prot, CBC };
inline constexpr int kSweptParameterCount = 9;
inline constexpr int kClassicSweptCount = 4;  // N, Cab, Cw, Cm

// "N", "Cab", "Cw", "Cm", "Car", "Anth", "Cbrown", "Prot" or "CBC": the name of the field of
// leaf::LeafParameters the parameter is.
std::string_view ParameterName(SweptParameter parameter);

// The parameter named `name` exactly (see ParameterName), or nothing.
std::optional<SweptParameter> SweptParameterNamed(std::string_view name);

// The most values one sweep may have. The window's bars allow at most 77; the limit only stops
// sweeps that would run for minutes and write hundreds of megabytes, and it keeps the colour
// counters far inside 16 bits (green reaches 50 + 10 * 1000).
inline constexpr int kMaxSweepValues = 1000;
static_assert(50 + 10 * kMaxSweepValues <= 32767, "the colour counters are 16-bit");

// Absolute tolerance above the upper limit, the same for all four parameters: for Cw and Cm it
// can admit one value up to 0.0001 beyond the limit (0.0001 to 0.07 by 0.01 ends at 0.0701).
inline constexpr double kSweepTolerance = 0.0001;

// The values of a sweep: the lower limit, then each previous value plus the interval as a
// running double sum (so rounding accumulates, and the count depends on it: 1 to 4 by 0.1 gives
// 31 values), while the value is <= upper + kSweepTolerance.
// Throws tulmera::Error, saying why, when a limit or the interval is not a finite number, the
// interval is not above 0 or too small to advance a value (x + interval == x), the lower limit
// lies above the upper one (no value at all), or there would be more than kMaxSweepValues
// values.
std::vector<double> SweepValues(double lower, double upper, double interval);

// What a sweep needs: the swept parameter, the held ones and the leaf model (`fixed`; the swept
// one's value there is ignored) and the limits. The leaf model must read the swept parameter.
struct SweepRequest {
    SweptParameter swept = SweptParameter::N;
    leaf::LeafParameters fixed = leaf::kStartLeafParameters;
    double upper = 4.0;
    double lower = 1.0;
    double interval = 0.1;
};

// The leaf parameters of the sweep step for `value`: `fixed` with the swept one set to it.
leaf::LeafParameters StepParameters(const SweepRequest& request, double value);

// The values `request` would sweep, after checking that it can run at all: the limits as
// SweepValues() checks them, and the leaf parameters of every step (finite, N > 0). Throws
// tulmera::Error naming the parameter and the problem; changes nothing.
std::vector<double> CheckedSweepValues(const SweepRequest& request);

// Runs the sweep: checks the request first (CheckedSweepValues; a refusal throws and changes no
// file and no surface), then clears both surfaces, starts the colours
// (plot::SweepColours::ForSweep) and, for each value in order, advances the colour and runs the
// step (RunMultiProspect), building the new "MVP.dat" and "MVPaint.dat" aside; once every step
// has succeeded it publishes both. Returns valueCount, the number of values.
// A failing step throws tulmera::Error naming the value ("value 4 of 31, N = 1.3") with the
// cause; the sweep stops there, the curves of the earlier values stay drawn and both files stay
// those of the last sweep that completed.
// A window whose export reads "MVP.dat" calls CheckedSweepValues() first: a refusal leaves the
// export as it was; once the request is accepted, it disables the export until RunSweep returns.
int RunSweep(const SweepRequest& request, const plot::SweepCharts& charts);

// RunSweep without publishing: both files stay staged in `staged`, for a caller that adds
// files of its own (a workbook read from staged.ReadName("MVP.dat")) and publishes them all.
int StageSweep(const SweepRequest& request, const plot::SweepCharts& charts,
               textio::StagedFiles& staged);

}  // namespace tulmera::multi
