#include "lut/simulation.h"

#include <cmath>

#include "canopy/sailh.h"
#include "leaf/leaf_spectrum.h"
#include "lut/printed_value.h"
#include "spectral/soil_library.h"
#include "textio/error.h"

namespace tulmera::lut {

// The steps of canopy::ComputeCanopySpectrum, with what does not change from one sample to
// the next (leaf angles, soil, sky ratio) chosen once.
Simulator::Simulator(const TableSpec& spec) : visibility_(spec.visibility)
{
    if (!canopy::SelectLeafAngles(spec.leafArchitecture, lidf_)) {
        throw Error("\"" + spec.leafArchitecture + "\" is not a leaf architecture of the list.");
    }
    if (!spectral::LoadSoil(spec.soil, soilRefl_)) {
        throw Error("\"" + spec.soil + "\" is not a soil of the list.");
    }
}

Simulator::CanopyStart Simulator::Start(const ParameterValues& values)
{
    const leaf::LeafSpectrum leafSpectrum = leaf::ComputeLeafSpectrum(LeafOf(values));
    CanopyStart start;
    for (std::size_t i = 0; i < start.leafReflPct.size(); ++i) {
        // As the canopy run reads "VP.dat": 100 times the value of the printed text.
        start.leafReflPct[i] = 100.0 * PrintedValue(leafSpectrum.refl[i]);
        start.leafTransPct[i] = 100.0 * PrintedValue(leafSpectrum.trans[i]);
    }
    const auto value = [&values](Parameter p) { return values[static_cast<std::size_t>(p)]; };
    const double sunZenith = value(Parameter::Sun);
    if (!(sunZenith == skySunZenith_)) {
        skyRatioPct_ = canopy::SkyRatio(sunZenith, visibility_);
        skySunZenith_ = sunZenith;
    }
    // PrepareSailh refuses what CheckCanopyInputs refuses; the model sees |view|.
    start.sailh = {value(Parameter::Lai),
                   sunZenith,
                   std::abs(value(Parameter::View)),
                   value(Parameter::Azimuth),
                   value(Parameter::HotSpot),
                   lidf_};
    return start;
}

namespace {

spectral::Spectrum FractionOf(const spectral::Spectrum& canopyReflPct)
{
    spectral::Spectrum reflectance{};
    for (std::size_t i = 0; i < reflectance.size(); ++i) {
        reflectance[i] = canopyReflPct[i] / 100.0;  // as "VS.dat" writes it
    }
    return reflectance;
}

}  // namespace

spectral::Spectrum Simulator::Simulate(const ParameterValues& values)
{
    const CanopyStart start = Start(values);
    const canopy::SailhGeometry geometry = canopy::PrepareSailh(start.sailh);
    return FractionOf(canopy::CanopyReflectancePct(geometry, start.leafReflPct, start.leafTransPct,
                                                   soilRefl_, skyRatioPct_));
}

Simulator::WithFluxes Simulator::SimulateWithFluxes(const ParameterValues& values)
{
    const CanopyStart start = Start(values);
    const canopy::SailhGeometry geometry = canopy::PrepareSailh(start.sailh);
    canopy::SailhInputs nadir = start.sailh;
    nadir.viewZenith = 0.0;  // fCover is the cover seen from straight above
    const double nadirGapFraction = canopy::PrepareSailh(nadir).too;
    return {FractionOf(canopy::CanopyReflectancePct(geometry, start.leafReflPct, start.leafTransPct,
                                                    soilRefl_, skyRatioPct_)),
            canopy::ComputeCanopyFluxes(geometry, nadirGapFraction, start.leafReflPct,
                                        start.leafTransPct, soilRefl_, skyRatioPct_,
                                        canopy::SkyMix::Classic)};
}

spectral::Spectrum SimulateReflectance(const TableSpec& spec, const ParameterValues& values)
{
    return Simulator(spec).Simulate(values);
}

}  // namespace tulmera::lut
