#include "leaf/leaf_spectrum.h"

#include <cmath>

#include "leaf/leaf_models.h"
#include "spectral/leaf_tables.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::leaf {
namespace {

using spectral::kWavelengthCount;

[[noreturn]] void FailAt(int index, const std::string& problem)
{
    throw Error("Leaf model at " + std::to_string(spectral::WavelengthNm(index))
                + " nm: " + problem);
}

// The model's parameters, naming the inputs of a failed run: "N = 1, Cab = 15, Cw = 0.0001,
// Cm = 0.002" for the classic model, with Car, Anth, Cbrown (and Prot, CBC) for the others.
std::string InputsText(const LeafParameters& p)
{
    std::string text;
    for (const LeafParameterField& field : ModelParameters(p.model)) {
        if (!text.empty()) text += ", ";
        text += std::string(field.name) + " = " + textio::NumberText(p.*field.value);
    }
    return text;
}

// A fraction as written: within rounding of [0, 1] (kFractionRounding) it is put on the
// bound; beyond that it is a model fault, reported with the wavelength and the inputs.
double PhysicalFraction(double value, const char* what, int index, const LeafParameters& p)
{
    if (value >= 0.0 && value <= 1.0) return value;
    if (value < 0.0 && value > -kFractionRounding) return 0.0;
    if (value > 1.0 && value < 1.0 + kFractionRounding) return 1.0;
    FailAt(index, std::string("the ") + what + " " + textio::NumberText(value)
                      + " lies outside 0 to 1 (" + InputsText(p) + ").");
}

}  // namespace

void CheckLeafParameters(const LeafParameters& p)
{
    using textio::NumberText;
    for (const LeafParameterField& field : kLeafParameterFields) {
        if (!std::isfinite(p.*field.value)) {
            throw Error("The leaf parameter " + std::string(field.name)
                        + " is not a finite number.");
        }
    }
    for (const LeafParameterField& field : kLeafParameterFields) {
        if (p.*field.value != 0.0 && !ModelHasParameter(p.model, field.name)) {
            throw Error("The " + std::string(LeafModelName(p.model))
                        + " leaf model has no parameter " + std::string(field.name)
                        + ": it must be 0, not " + NumberText(p.*field.value) + ".");
        }
    }
    if (!(p.N > 0.0)) {
        throw Error("The leaf structure N must be greater than 0, not " + NumberText(p.N) + ".");
    }
    for (const LeafParameterField& field : ModelParameters(p.model)) {
        if (p.*field.value < 0.0) {
            throw Error("The leaf parameter " + std::string(field.name) + " must be 0 or more, not "
                        + NumberText(p.*field.value) + ".");
        }
    }
    if (p.Cbrown > 1.0) {
        throw Error("The brown pigment content Cbrown must be at most 1, not "
                    + NumberText(p.Cbrown) + ".");
    }
}

LeafSpectrum ComputeLeafSpectrum(const LeafParameters& p)
{
    CheckLeafParameters(p);
    LeafSpectrum spectrum{};
    for (int i = 0; i < kWavelengthCount; ++i) {
        const double n = ModelRefractiveIndex(p.model, i);
        const double k = ModelAbsorption(p, i);
        if (!(k > 0.0)) {
            FailAt(i, "the absorption coefficient k is " + textio::NumberText(k)
                          + ", but the model needs k > 0 (" + InputsText(p) + ").");
        }
        const LeafOptics optics = ProspectLeaf(p.N, n, k, ModelTransmissivities(p.model, i));
        if (!std::isfinite(optics.refl) || !std::isfinite(optics.trans)) {
            FailAt(i, "the reflectance or transmittance is not a finite number (" + InputsText(p)
                          + ").");
        }
        const auto at = static_cast<std::size_t>(i);
        spectrum.refl[at] = PhysicalFraction(optics.refl, "reflectance", i, p);
        spectrum.trans[at] = PhysicalFraction(optics.trans, "transmittance", i, p);
    }
    return spectrum;
}

void PrintLeafSpectrum(textio::PrintedText& text, const LeafSpectrum& spectrum)
{
    const spectral::LeafTables& tables = spectral::LoadLeafTables();
    for (std::size_t i = 0; i < kWavelengthCount; ++i) {
        text.NumberLine({tables.wavelength[i], spectrum.refl[i], spectrum.trans[i]});
    }
}

}  // namespace tulmera::leaf
