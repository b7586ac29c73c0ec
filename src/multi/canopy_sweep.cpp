#include "multi/canopy_sweep.h"

#include <array>
#include <cmath>
#include <string>

#include "canopy/canopy_fluxes.h"
#include "domain/input_domain.h"
#include "leaf/leaf_spectrum.h"
#include "multi/sweep.h"
#include "textio/error.h"
#include "textio/field_reader.h"
#include "textio/number_text.h"
#include "textio/printed_text.h"
#include "textio/working_files.h"

namespace tulmera::multi {
namespace {

using textio::NumberText;

constexpr std::array<std::string_view, kCanopySweptParameterCount> kNames = {
    "LAI", "sun", "view", "azimuth", "hotspot", "plane", "N", "Cab", "Cw", "Cm"};

bool SweepsLeaf(CanopySweptParameter p)
{
    return p == CanopySweptParameter::N || p == CanopySweptParameter::Cab
           || p == CanopySweptParameter::Cw || p == CanopySweptParameter::Cm;
}

std::string ValueName(CanopySweptParameter swept, double value)
{
    return std::string(CanopyParameterName(swept)) + " = " + NumberText(value);
}

}  // namespace

std::optional<domain::DomainProblem> FirstRefusedInput(const CanopyStepInputs& step)
{
    if (auto problem = domain::CheckLeafDomain(step.leaf)) return problem;
    return domain::CheckCanopyDomain(step.canopy);
}

domain::Input SweptInput(CanopySweptParameter swept)
{
    switch (swept) {
        case CanopySweptParameter::Lai:
            return domain::Input::Lai;
        case CanopySweptParameter::Sun:
            return domain::Input::SunZenith;
        case CanopySweptParameter::View:
        case CanopySweptParameter::Plane:
            return domain::Input::ViewAngle;
        case CanopySweptParameter::Azimuth:
            return domain::Input::RelAzimuth;
        case CanopySweptParameter::HotSpot:
            return domain::Input::HotSpot;
        case CanopySweptParameter::N:
            return domain::Input::N;
        case CanopySweptParameter::Cab:
            return domain::Input::Cab;
        case CanopySweptParameter::Cw:
            return domain::Input::Cw;
        case CanopySweptParameter::Cm:
            return domain::Input::Cm;
    }
    throw Error("unknown swept parameter");
}

void LeafSpectraAsRead(const leaf::LeafParameters& p, spectral::Spectrum& reflPct,
                       spectral::Spectrum& transPct)
{
    textio::PrintedText printed;
    leaf::PrintLeafSpectrum(printed, leaf::ComputeLeafSpectrum(p));
    textio::FieldReader reader(kLeafSpectrumFile, printed.str());
    for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
        reader.ReadWholeNumber("wavelength");
        reflPct[i] = 100.0 * reader.ReadNumber("leaf reflectance");
        transPct[i] = 100.0 * reader.ReadNumber("leaf transmittance");
    }
}

namespace {

// The scalars of the fluxes of a run, or nothing when they cannot be computed (the run's
// reflectance is good all the same).
std::optional<FluxScalars> FluxesOf(const canopy::CanopyState& state, canopy::SkyMix mix)
{
    try {
        const canopy::CanopyFluxes f = canopy::ComputeCanopyFluxes(state, mix);
        return FluxScalars{f.fAPAR, f.fCover, f.albedoPar, f.albedoNir, f.albedoShortwave};
    } catch (const Error&) {
        return std::nullopt;
    }
}

}  // namespace

std::string_view CanopyParameterName(CanopySweptParameter parameter)
{
    return kNames[static_cast<std::size_t>(parameter)];
}

std::optional<CanopySweptParameter> CanopyParameterNamed(std::string_view name)
{
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i] == name) return static_cast<CanopySweptParameter>(i);
    }
    return std::nullopt;
}

SweepLimits DefaultCanopyLimits(CanopySweptParameter parameter)
{
    switch (parameter) {
        case CanopySweptParameter::Lai:
            return {0.5, 8.0, 0.5};
        case CanopySweptParameter::Sun:
            return {0.0, 80.0, 10.0};
        case CanopySweptParameter::View:
        case CanopySweptParameter::Plane:
            return {-80.0, 80.0, 5.0};
        case CanopySweptParameter::Azimuth:
            return {0.0, 180.0, 10.0};
        case CanopySweptParameter::HotSpot:
            return {0.0, 1.0, 0.1};
        case CanopySweptParameter::N:
            return {1.0, 4.0, 0.1};
        case CanopySweptParameter::Cab:
            return {15.0, 90.0, 1.0};
        case CanopySweptParameter::Cw:
            return {0.0001, 0.07, 0.001};
        case CanopySweptParameter::Cm:
            return {0.002, 0.04, 0.0005};
    }
    return {0.0, 0.0, 1.0};
}

CanopyStepInputs CanopyStepOf(const CanopySweepRequest& request, double value)
{
    CanopyStepInputs step{request.leaf, request.canopy};
    switch (request.swept) {
        case CanopySweptParameter::Lai:
            step.canopy.lai = value;
            break;
        case CanopySweptParameter::Sun:
            step.canopy.sunZenith = value;
            break;
        case CanopySweptParameter::View:
            step.canopy.viewAngle = value;
            break;
        case CanopySweptParameter::Azimuth:
            step.canopy.relAzimuth = value;
            break;
        case CanopySweptParameter::HotSpot:
            step.canopy.hotSpot = value;
            break;
        case CanopySweptParameter::Plane:
            step.canopy.viewAngle = std::abs(value);
            step.canopy.relAzimuth = value >= 0.0 ? 0.0 : 180.0;
            break;
        case CanopySweptParameter::N:
            step.leaf.N = value;
            break;
        case CanopySweptParameter::Cab:
            step.leaf.Cab = value;
            break;
        case CanopySweptParameter::Cw:
            step.leaf.Cw = value;
            break;
        case CanopySweptParameter::Cm:
            step.leaf.Cm = value;
            break;
    }
    return step;
}

std::vector<double> CheckedCanopySweepValues(const CanopySweepRequest& request)
{
    const std::string name(CanopyParameterName(request.swept));
    std::vector<double> values;
    try {
        values = SweepValues(request.limits.lower, request.limits.upper, request.limits.interval);
    } catch (const Error& e) {
        throw Error("Cannot sweep " + name + ". " + e.what());
    }
    const int count = static_cast<int>(values.size());
    for (int i = 0; i < count; ++i) {
        const double value = values[static_cast<std::size_t>(i)];
        if (const auto problem = FirstRefusedInput(CanopyStepOf(request, value))) {
            throw Error("Cannot sweep " + name + ". Value " + std::to_string(i + 1) + " of "
                        + std::to_string(count) + ", " + ValueName(request.swept, value)
                        + ", gives " + std::string(domain::OptionName(problem->input)) + " = "
                        + NumberText(problem->value) + ", outside "
                        + domain::RangeText(problem->range) + ".");
        }
    }
    return values;
}

CanopySweepResult ComputeCanopySweep(const CanopySweepRequest& request)
{
    CanopySweepResult result;
    result.swept = request.swept;
    result.values = CheckedCanopySweepValues(request);
    const int count = static_cast<int>(result.values.size());
    result.canopyReflPct.reserve(result.values.size());
    result.fluxes.reserve(result.values.size());

    const bool leafSwept = SweepsLeaf(request.swept);
    spectral::Spectrum leafReflPct{}, leafTransPct{};
    const canopy::CanopyState none;  // no previous run: the lists' texts must match
    for (int i = 0; i < count; ++i) {
        const double value = result.values[static_cast<std::size_t>(i)];
        const CanopyStepInputs step = CanopyStepOf(request, value);
        try {
            if (leafSwept || i == 0) LeafSpectraAsRead(step.leaf, leafReflPct, leafTransPct);
            const canopy::CanopyState state =
                canopy::ComputeCanopySpectrum(step.canopy, leafReflPct, leafTransPct, none);
            result.canopyReflPct.push_back(state.canopyReflPct);
            result.fluxes.push_back(FluxesOf(state, step.canopy.skyMix));
        } catch (const Error& e) {
            throw Error("The sweep stopped at value " + std::to_string(i + 1) + " of "
                        + std::to_string(count) + ", " + ValueName(request.swept, value) + ": "
                        + e.what());
        }
    }
    return result;
}

std::string CanopySweepText(const CanopySweepResult& result)
{
    std::string text;
    text.reserve(result.values.size() * spectral::kWavelengthCount * 28);
    const std::string prefix = std::string(CanopyParameterName(result.swept)) + " =";
    for (std::size_t i = 0; i < result.values.size(); ++i) {
        textio::PrintedText header;
        header.Text(prefix).Number(result.values[i]).EndLine();
        text += header.str();
        text += canopy::CanopySpectrumText(result.canopyReflPct[i]);
    }
    return text;
}

void StageCanopySweepFile(const CanopySweepResult& result, textio::StagedFiles& staged)
{
    staged.Stage(kCanopySweepFile, CanopySweepText(result));
}

}  // namespace tulmera::multi
