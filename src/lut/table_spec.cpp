#include "lut/table_spec.h"

#include <algorithm>
#include <cmath>

#include "domain/input_domain.h"
#include "leaf/leaf_models.h"
#include "textio/number_text.h"

namespace tulmera::lut {
namespace {

constexpr double kHorizonDeg = 90.0;

domain::Input DomainInput(Parameter parameter)
{
    return static_cast<domain::Input>(static_cast<int>(parameter));  // the same order
}
static_assert(static_cast<int>(domain::Input::HotSpot) == static_cast<int>(Parameter::HotSpot));
static_assert(static_cast<int>(domain::Input::CBC) == static_cast<int>(Parameter::CBC));

using P = Parameter;
constexpr std::array<Parameter, kClassicColumnCount> kClassicColumns = {
    P::N, P::Cab, P::Cw, P::Cm, P::Lai, P::Sun, P::View, P::Azimuth, P::HotSpot};
constexpr std::array<Parameter, 12> kProspectDColumns = {
    P::N,  P::Cab, P::Car, P::Anth, P::Cbrown,  P::Cw,
    P::Cm, P::Lai, P::Sun, P::View, P::Azimuth, P::HotSpot};
constexpr std::array<Parameter, 13> kProspectProColumns = {
    P::N,   P::Cab, P::Car, P::Anth, P::Cbrown,  P::Cw,     P::Prot,
    P::CBC, P::Lai, P::Sun, P::View, P::Azimuth, P::HotSpot};

// The field of LeafParameters that holds a leaf parameter, or nothing for a canopy one.
std::optional<double leaf::LeafParameters::*> LeafField(Parameter parameter)
{
    return domain::LeafField(DomainInput(parameter));
}

bool InDomain(Parameter parameter, double value)
{
    if (!domain::AcceptedRange(DomainInput(parameter)).Contains(value)) return false;
    if (parameter == Parameter::Sun || parameter == Parameter::View) {
        return std::abs(value) < kHorizonDeg;
    }
    return true;
}

}  // namespace

std::span<const Parameter> TableColumns(leaf::LeafModel model)
{
    switch (model) {
        case leaf::LeafModel::Classic:
            return kClassicColumns;
        case leaf::LeafModel::ProspectD:
            return kProspectDColumns;
        case leaf::LeafModel::ProspectPro:
            return kProspectProColumns;
    }
    return kClassicColumns;
}

bool HasColumn(leaf::LeafModel model, Parameter parameter)
{
    const std::span<const Parameter> columns = TableColumns(model);
    return std::find(columns.begin(), columns.end(), parameter) != columns.end();
}

std::optional<Parameter> ParameterNamed(std::string_view name)
{
    const auto found = std::find(kParameterNames.begin(), kParameterNames.end(), name);
    if (found == kParameterNames.end()) return std::nullopt;
    return static_cast<Parameter>(found - kParameterNames.begin());
}

std::string_view SamplingName(Sampling sampling)
{
    return sampling == Sampling::LatinHypercube ? "lhs" : "uniform";
}

TableSpec HeldSpec(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs)
{
    TableSpec spec;
    const ParameterValues held = {leaf.N,
                                  leaf.Cab,
                                  leaf.Cw,
                                  leaf.Cm,
                                  canopyInputs.lai,
                                  canopyInputs.sunZenith,
                                  canopyInputs.viewAngle,
                                  canopyInputs.relAzimuth,
                                  canopyInputs.hotSpot,
                                  leaf.Car,
                                  leaf.Anth,
                                  leaf.Cbrown,
                                  leaf.Prot,
                                  leaf.CBC};
    for (std::size_t p = 0; p < held.size(); ++p) spec.ranges[p] = {held[p], held[p], false};
    spec.leafArchitecture = canopyInputs.leafArchitecture;
    spec.soil = canopyInputs.soil;
    spec.visibility = canopyInputs.visibility;
    spec.skyMix = canopyInputs.skyMix;
    spec.leafModel = leaf.model;
    for (std::size_t p = 0; p < held.size(); ++p) {
        if (!HasColumn(leaf.model, static_cast<Parameter>(p))) spec.ranges[p] = {};
    }
    return spec;
}

std::optional<std::string> RangeProblem(Parameter parameter, const ParameterRange& range)
{
    const std::string name(kParameterNames[static_cast<std::size_t>(parameter)]);
    const std::string text = range.varies
                                 ? textio::NumberText(range.lo) + ":" + textio::NumberText(range.hi)
                                 : textio::NumberText(range.lo);
    if (range.varies && !(range.lo <= range.hi)) {
        return name + " range " + text + ": the low end is above the high end.";
    }
    for (const double end : {range.lo, range.hi}) {
        if (InDomain(parameter, end)) continue;
        std::string domain = RangeText(domain::AcceptedRange(DomainInput(parameter)));
        if (parameter == Parameter::Sun || parameter == Parameter::View) {
            domain += ", below 90 in magnitude";
        }
        return name + (range.varies ? " range " : " value ") + text + " reaches "
               + textio::NumberText(end) + ", outside the model's domain (" + name + " " + domain
               + ").";
    }
    return std::nullopt;
}

leaf::LeafParameters LeafOf(leaf::LeafModel model, const ParameterValues& values)
{
    leaf::LeafParameters leaf{0.0, 0.0, 0.0, 0.0};
    leaf.model = model;
    for (const Parameter parameter : TableColumns(model)) {
        if (const auto field = LeafField(parameter)) {
            leaf.*(*field) = values[static_cast<std::size_t>(parameter)];
        }
    }
    return leaf;
}

canopy::CanopyInputs CanopyOf(const TableSpec& spec, const ParameterValues& v)
{
    return {v[4],       v[5], v[6], v[7], v[8], spec.leafArchitecture, spec.soil, spec.visibility,
            spec.skyMix};
}

std::string DescribeValues(leaf::LeafModel model, const ParameterValues& values)
{
    std::string text;
    for (const Parameter parameter : TableColumns(model)) {
        const auto p = static_cast<std::size_t>(parameter);
        if (!text.empty()) text += ", ";
        text += std::string(kParameterNames[p]) + "=" + textio::NumberText(values[p]);
    }
    return text;
}

}  // namespace tulmera::lut
