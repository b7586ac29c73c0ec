#include "multi/sweep.h"

#include <array>
#include <cmath>
#include <string>

#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "multi/sweep_step.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/working_files.h"

namespace tulmera::multi {
namespace {

using textio::NumberText;

void CheckFinite(double value, const char* what)
{
    if (!std::isfinite(value)) throw Error(std::string("The ") + what + " is not a finite number.");
}

// "N = 1.3", naming one value of the sweep in messages.
std::string ValueName(SweptParameter swept, double value)
{
    return std::string(ParameterName(swept)) + " = " + NumberText(value);
}

}  // namespace

std::string_view ParameterName(SweptParameter parameter)
{
    constexpr std::array<std::string_view, kSweptParameterCount> kNames = {
        "N", "Cab", "Cw", "Cm", "Car", "Anth", "Cbrown", "Prot", "CBC"};
    return kNames[static_cast<std::size_t>(parameter)];
}

std::optional<SweptParameter> SweptParameterNamed(std::string_view name)
{
    for (int i = 0; i < kSweptParameterCount; ++i) {
        const auto parameter = static_cast<SweptParameter>(i);
        if (ParameterName(parameter) == name) return parameter;
    }
    return std::nullopt;
}

std::vector<double> SweepValues(double lower, double upper, double interval)
{
    CheckFinite(lower, "lower limit of the sweep");
    CheckFinite(upper, "upper limit of the sweep");
    CheckFinite(interval, "interval of the sweep");
    if (!(interval > 0.0)) {
        throw Error("The interval of the sweep must be greater than 0, not " + NumberText(interval)
                    + ".");
    }
    // A running sum, as the sweep has always stepped: lower, lower + i, (lower + i) + i, ...
    // It differs from lower + k * interval in the last bits, and so in the count.
    std::vector<double> values;
    for (double x = lower; x <= upper + kSweepTolerance; x = x + interval) {
        if (values.size() == static_cast<std::size_t>(kMaxSweepValues)) {
            throw Error("A sweep from " + NumberText(lower) + " to " + NumberText(upper) + " by "
                        + NumberText(interval) + " would have more than "
                        + std::to_string(kMaxSweepValues)
                        + " values, the most one sweep may have.");
        }
        if (x + interval == x) {
            throw Error("The interval " + NumberText(interval)
                        + " is too small to advance the value " + NumberText(x)
                        + " of the sweep: it is lost in rounding.");
        }
        values.push_back(x);
    }
    if (values.empty()) {
        throw Error("The lower limit " + NumberText(lower) + " lies above the upper limit "
                    + NumberText(upper) + ": there is no value to sweep.");
    }
    return values;
}

leaf::LeafParameters StepParameters(const SweepRequest& request, double value)
{
    leaf::LeafParameters p = request.fixed;
    for (const leaf::LeafParameterField& field : leaf::kLeafParameterFields) {
        if (field.name == ParameterName(request.swept)) p.*field.value = value;
    }
    return p;
}

std::vector<double> CheckedSweepValues(const SweepRequest& request)
{
    std::vector<double> values;
    try {
        // The held parameters first, with a stand-in for the swept one (1 suits all four), so
        // that their faults are not blamed on a swept value.
        leaf::CheckLeafParameters(StepParameters(request, 1.0));
        values = SweepValues(request.lower, request.upper, request.interval);
        for (const double value : values) {
            try {
                leaf::CheckLeafParameters(StepParameters(request, value));
            } catch (const Error& e) {
                throw Error("At " + ValueName(request.swept, value) + ": " + e.what());
            }
        }
    } catch (const Error& e) {
        throw Error("Cannot sweep " + std::string(ParameterName(request.swept)) + ". " + e.what());
    }
    return values;
}

int RunSweep(const SweepRequest& request, const plot::SweepCharts& charts)
{
    textio::StagedFiles staged;
    const int valueCount = StageSweep(request, charts, staged);
    staged.Publish();
    return valueCount;
}

int StageSweep(const SweepRequest& request, const plot::SweepCharts& charts,
               textio::StagedFiles& staged)
{
    const std::vector<double> values = CheckedSweepValues(request);
    const int valueCount = static_cast<int>(values.size());

    staged.Stage(kSweepFile, {});
    charts.chart.Clear();
    charts.legend.Clear();
    plot::SweepColours colours = plot::SweepColours::ForSweep(valueCount);
    for (int i = 0; i < valueCount; ++i) {
        const double value = values[static_cast<std::size_t>(i)];
        colours.Advance();
        try {
            RunMultiProspect(StepParameters(request, value), charts, colours, staged);
        } catch (const Error& e) {
            throw Error("The sweep stopped at value " + std::to_string(i + 1) + " of "
                        + std::to_string(valueCount) + ", " + ValueName(request.swept, value) + ": "
                        + e.what());
        }
    }
    return valueCount;
}

}  // namespace tulmera::multi
