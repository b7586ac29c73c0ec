#include "lut/simulation.h"

#include <algorithm>
#include <cmath>

#include "textio/error.h"

namespace tulmera::lut {

Simulator::Simulator(const TableSpec& spec)
    : leafModel_(spec.leafModel),
      scene_(engine::SceneOf(spec.leafArchitecture, spec.soil, spec.visibility, spec.skyMix))
{
}

void Simulator::Load(const ParameterValues& values)
{
    const auto value = [&values](Parameter p) { return values[static_cast<std::size_t>(p)]; };
    one_ = {};
    one_.Append(LeafOf(leafModel_, values), value(Parameter::Lai), value(Parameter::Sun),
                value(Parameter::View), value(Parameter::Azimuth), value(Parameter::HotSpot));
}

namespace {
spectral::Spectrum Reflectance(const engine::Values& refl)
{
    spectral::Spectrum reflectance{};
    std::copy(refl.begin(), refl.end(), reflectance.begin());
    return reflectance;
}
}  // namespace

spectral::Spectrum Simulator::Simulate(const ParameterValues& values)
{
    Load(values);
    const engine::CanopySpectraBatch result = engine::ComputeCanopySpectra(scene_, one_);
    if (!result.error.front().empty()) throw Error(result.error.front());
    return Reflectance(result.refl);
}

spectral::Spectrum SimulateReflectance(const TableSpec& spec, const ParameterValues& values)
{
    return Simulator(spec).Simulate(values);
}

Simulator::WithFluxes Simulator::SimulateWithFluxes(const ParameterValues& values)
{
    Load(values);
    const engine::CanopyFluxesBatch fluxes =
        engine::ComputeCanopyFluxesBatch(scene_, one_, {}, engine::FluxSpectra::Kept);
    if (!fluxes.error.front().empty()) throw Error(fluxes.error.front());
    WithFluxes result{Reflectance(fluxes.refl), fluxes.fluxes.front()};
    const canopy::CanopyFluxes& f = result.fluxes;
    for (const double scalar : {f.fAPAR, f.fCover, f.albedoPar, f.albedoNir, f.albedoShortwave}) {
        if (!std::isfinite(scalar)) throw Error("A canopy flux is not a finite number.");
    }
    return result;
}

}  // namespace tulmera::lut
