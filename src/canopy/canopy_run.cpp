#include "canopy/canopy_run.h"

#include <array>
#include <cmath>

#include "canopy/sailh.h"
#include "spectral/soil_library.h"
#include "textio/error.h"
#include "textio/field_reader.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::canopy {
namespace {

using spectral::kWavelengthCount;
using spectral::Spectrum;

SailhInputs ModelInputs(const CanopyInputs& inputs, const LeafAngleDistribution& lidf)
{
    return {inputs.lai,        inputs.sunZenith, std::abs(inputs.viewAngle),
            inputs.relAzimuth, inputs.hotSpot,   lidf};
}

// A canopy reflectance as written: within rounding of [0, 1] (1e-12, as for the leaf) it is
// put on the bound; beyond that it is a model fault, reported with the wavelength and inputs.
void KeepPhysical(Spectrum& canopyReflPct, const CanopyInputs& inputs)
{
    constexpr double kRounding = 1e-12;
    for (int i = 0; i < kWavelengthCount; ++i) {
        double& pct = canopyReflPct[static_cast<std::size_t>(i)];
        const double fraction = pct / 100.0;
        if (fraction >= 0.0 && fraction <= 1.0) continue;
        if (fraction < 0.0 && fraction > -kRounding) {
            pct = 0.0;
        } else if (fraction > 1.0 && fraction < 1.0 + kRounding) {
            pct = 100.0;
        } else {
            using textio::NumberText;
            throw Error("Canopy model at " + std::to_string(spectral::WavelengthNm(i))
                        + " nm: the reflectance " + NumberText(fraction)
                        + " lies outside 0 to 1 (LAI = " + NumberText(inputs.lai) + ", sun = "
                        + NumberText(inputs.sunZenith) + ", view = " + NumberText(inputs.viewAngle)
                        + ", azimuth = " + NumberText(inputs.relAzimuth)
                        + ", hot spot = " + NumberText(inputs.hotSpot) + ").");
        }
    }
}

}  // namespace

CanopyInputs StartCanopyInputs()
{
    return {0.1,
            0.0,
            0.0,
            0.0,
            0.0,
            "Planofilo",
            std::string(spectral::kSoilKeys[0]),
            Visibility::Km15};
}

void CheckCanopyInputs(const CanopyInputs& inputs)
{
    CheckSailhInputs(ModelInputs(inputs, LeafAngleDistribution{}));
}

CanopyState ComputeCanopySpectrum(const CanopyInputs& inputs, const Spectrum& leafReflPct,
                                  const Spectrum& leafTransPct, const CanopyState& previous)
{
    CanopyState next = previous;
    next.lai = inputs.lai;
    next.sunZenith = inputs.sunZenith;
    next.viewZenith = std::abs(inputs.viewAngle);
    next.relAzimuth = inputs.relAzimuth;
    next.hotSpot = inputs.hotSpot;
    next.leafReflPct = leafReflPct;
    next.leafTransPct = leafTransPct;
    SelectLeafAngles(inputs.leafArchitecture, next.lidf);
    if (next.lidf == LeafAngleDistribution{}) {
        // Only before any distribution was ever chosen: every extinction would be 0 / 0.
        throw Error("No leaf architecture is in effect: \"" + inputs.leafArchitecture
                    + "\" is not one of the list and none was chosen before.");
    }
    spectral::LoadSoil(inputs.soil, next.soilRefl);
    next.visibilityKm = VisibilityKm(inputs.visibility);
    next.skyRatioPct = SkyRatio(next.sunZenith, inputs.visibility);

    const SailhGeometry geometry = PrepareSailh(ModelInputs(inputs, next.lidf));
    next.canopyReflPct = CanopyReflectancePct(geometry, leafReflPct, leafTransPct, next.soilRefl,
                                              next.skyRatioPct, inputs.skyMix);
    KeepPhysical(next.canopyReflPct, inputs);
    return next;
}

std::string CanopySpectrumText(const Spectrum& canopyReflPct)
{
    std::string text;
    text.reserve(kWavelengthCount * 28);
    std::array<char, 2 * textio::kNumberTextCapacity + 3> line;  // one append a line
    for (int i = 0; i < kWavelengthCount; ++i) {
        char* end = textio::PutNumberText(line.data(), spectral::WavelengthNm(i));
        *end++ = ',';
        end = textio::PutNumberText(end, canopyReflPct[static_cast<std::size_t>(i)] / 100.0);
        *end++ = '\r';
        *end++ = '\n';
        text.append(line.data(), end);
    }
    return text;
}

void ReadLeafSpectrumPct(const std::string& fileName, Spectrum& leafReflPct, Spectrum& leafTransPct,
                         const std::string& readName)
{
    ReadLeafSpectrumPct(
        textio::FieldReader(fileName, textio::ReadTextFile(readName.empty() ? fileName : readName)),
        leafReflPct, leafTransPct);
}

void ReadLeafSpectrumPct(textio::FieldReader reader, Spectrum& leafReflPct, Spectrum& leafTransPct)
{
    for (std::size_t i = 0; i < kWavelengthCount; ++i) {
        reader.ReadWholeNumber("wavelength");  // read and not used: the grid gives it
        leafReflPct[i] = 100.0 * reader.ReadNumber("leaf reflectance");
        leafTransPct[i] = 100.0 * reader.ReadNumber("leaf transmittance");
    }
}

CanopyState StageSailh(const CanopyInputs& inputs, const CanopyState& previous,
                       textio::StagedFiles& staged)
{
    Spectrum leafReflPct{}, leafTransPct{};
    ReadLeafSpectrumPct(kLeafSpectrumFile, leafReflPct, leafTransPct,
                        staged.ReadName(kLeafSpectrumFile));
    CanopyState next = ComputeCanopySpectrum(inputs, leafReflPct, leafTransPct, previous);
    staged.Stage(kCanopySpectrumFile, CanopySpectrumText(next.canopyReflPct));
    return next;
}

void RunSailh(const CanopyInputs& inputs, CanopyState& state)
{
    textio::StagedFiles staged;
    CanopyState next = StageSailh(inputs, state, staged);
    staged.Publish();
    state = next;
}

}  // namespace tulmera::canopy
