#include "gsa/gsa_spec.h"

namespace tulmera::gsa {

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
    case QuantitySet::Spectrum: return "spectrum";
    case QuantitySet::Indices: return "indices";
    case QuantitySet::Fluxes: return "fluxes";
    case QuantitySet::Bands: return sensor;
    }
    return {};
}

}  // namespace tulmera::gsa
