#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/kernels.h"
#include "spectral/soil_library.h"
#include "textio/error.h"

namespace tulmera::engine {

void LeafBatch::Reserve(std::size_t count)
{
    model.reserve(count);
    for (std::vector<double>* column : {&N, &Cab, &Cw, &Cm, &Car, &Anth, &Cbrown, &Prot, &CBC}) {
        column->reserve(count);
    }
}

void LeafBatch::Append(const leaf::LeafParameters& p)
{
    model.push_back(p.model);
    N.push_back(p.N);
    Cab.push_back(p.Cab);
    Cw.push_back(p.Cw);
    Cm.push_back(p.Cm);
    Car.push_back(p.Car);
    Anth.push_back(p.Anth);
    Cbrown.push_back(p.Cbrown);
    Prot.push_back(p.Prot);
    CBC.push_back(p.CBC);
}

leaf::LeafParameters LeafBatch::At(std::size_t i) const
{
    leaf::LeafParameters p{N[i], Cab[i], Cw[i], Cm[i]};
    p.Car = Car[i];
    p.Anth = Anth[i];
    p.Cbrown = Cbrown[i];
    p.Prot = Prot[i];
    p.CBC = CBC[i];
    p.model = model[i];
    return p;
}

void CanopyBatch::Reserve(std::size_t count)
{
    leaf.Reserve(count);
    for (std::vector<double>* column : {&lai, &sunZenith, &viewAngle, &relAzimuth, &hotSpot}) {
        column->reserve(count);
    }
}

void CanopyBatch::Append(const leaf::LeafParameters& p, double laiValue, double sunZenithDeg,
                         double viewAngleDeg, double relAzimuthDeg, double hotSpotValue)
{
    leaf.Append(p);
    lai.push_back(laiValue);
    sunZenith.push_back(sunZenithDeg);
    viewAngle.push_back(viewAngleDeg);
    relAzimuth.push_back(relAzimuthDeg);
    hotSpot.push_back(hotSpotValue);
}

CanopyScene SceneOf(std::string_view leafArchitecture, std::string_view soil,
                    canopy::Visibility visibility, canopy::SkyMix skyMix)
{
    CanopyScene scene;
    if (!canopy::SelectLeafAngles(leafArchitecture, scene.lidf)) {
        throw Error("\"" + std::string(leafArchitecture)
                    + "\" is not a leaf architecture of the list.");
    }
    if (!spectral::LoadSoil(soil, scene.soilReflPct)) {
        throw Error("\"" + std::string(soil) + "\" is not a soil of the list.");
    }
    scene.visibility = visibility;
    scene.skyMix = skyMix;
    return scene;
}

std::optional<std::size_t> FirstFailure(const std::vector<std::string>& error)
{
    const auto at = std::find_if(error.begin(), error.end(),
                                 [](const std::string& message) { return !message.empty(); });
    if (at == error.end()) return std::nullopt;
    return static_cast<std::size_t>(at - error.begin());
}

std::vector<ViewDirection> HemisphereGrid(double zenithStepDeg, double azimuthStepDeg)
{
    std::vector<ViewDirection> views;
    // first + i·step, not repeated addition: the same directions whatever the count before
    for (int z = 0; z * zenithStepDeg < 90.0; ++z) {
        for (int a = 0; a * azimuthStepDeg < 360.0; ++a) {
            views.push_back({z * zenithStepDeg, a * azimuthStepDeg});
        }
    }
    return views;
}

std::string_view InstructionSet() { return detail::KernelTargetName(); }

}  // namespace tulmera::engine
