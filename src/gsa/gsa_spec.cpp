#include "gsa/gsa_spec.h"

namespace tulmera::gsa {

void SetLessonRanges(lut::TableSpec& model)
{
    const auto set = [&model](lut::Parameter p, double lo, double hi) {
        model.ranges[static_cast<std::size_t>(p)] = {lo, hi, true};
    };
    set(lut::Parameter::N, 1.0, 2.5);
    set(lut::Parameter::Cab, 10.0, 80.0);
    set(lut::Parameter::Cw, 0.002, 0.04);
    set(lut::Parameter::Cm, 0.002, 0.02);
    set(lut::Parameter::Lai, 0.5, 6.0);
}

std::vector<lut::Parameter> VariedParameters(const GsaSpec& spec)
{
    std::vector<lut::Parameter> varied;
    for (std::size_t p = 0; p < spec.model.ranges.size(); ++p) {
        if (spec.model.ranges[p].varies) varied.push_back(static_cast<lut::Parameter>(p));
    }
    return varied;
}

std::uint64_t SimulationCount(const GsaSpec& spec)
{
    return spec.samples * (VariedParameters(spec).size() + 2);
}

std::string QuantitySetName(QuantitySet set, const std::string& sensor)
{
    switch (set) {
        case QuantitySet::Spectrum:
            return "spectrum";
        case QuantitySet::Indices:
            return "indices";
        case QuantitySet::Fluxes:
            return "fluxes";
        case QuantitySet::Bands:
            return sensor;
    }
    return {};
}

}  // namespace tulmera::gsa
