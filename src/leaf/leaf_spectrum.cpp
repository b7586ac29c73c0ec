#include "leaf/leaf_spectrum.h"

#include <cmath>

#include "leaf/prospect.h"
#include "spectral/leaf_tables.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::leaf {
namespace {

using spectral::kWavelengthCount;

// The interface transmissivities depend only on the refractive index table, so they are
// computed once for the program's life instead of twice per grid point and run.
const std::array<Transmissivities, kWavelengthCount>& GridTransmissivities()
{
    static const std::array<Transmissivities, kWavelengthCount> table = [] {
        std::array<Transmissivities, kWavelengthCount> t{};
        const spectral::LeafTables& tables = spectral::LoadLeafTables();
        for (std::size_t i = 0; i < t.size(); ++i) {
            t[i] = InterfaceTransmissivities(tables.refIndex[i]);
        }
        return t;
    }();
    return table;
}

void CheckFinite(double value, const char* name)
{
    if (!std::isfinite(value)) {
        throw Error(std::string("The leaf parameter ") + name + " is not a finite number.");
    }
}

[[noreturn]] void FailAt(int index, const std::string& problem)
{
    throw Error("Leaf model at " + std::to_string(spectral::WavelengthNm(index))
                + " nm: " + problem);
}

// "N = 1, Cab = 15, Cw = 0.0001, Cm = 0.002", naming the inputs of a failed run.
std::string InputsText(const LeafParameters& p)
{
    using textio::NumberText;
    return "N = " + NumberText(p.N) + ", Cab = " + NumberText(p.Cab) + ", Cw = " + NumberText(p.Cw)
           + ", Cm = " + NumberText(p.Cm);
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
    CheckFinite(p.N, "N");
    CheckFinite(p.Cab, "Cab");
    CheckFinite(p.Cw, "Cw");
    CheckFinite(p.Cm, "Cm");
    if (!(p.N > 0.0)) {
        throw Error("The leaf structure N must be greater than 0, not " + textio::NumberText(p.N)
                    + ".");
    }
}

LeafSpectrum ComputeLeafSpectrum(const LeafParameters& p)
{
    CheckLeafParameters(p);
    const spectral::LeafTables& tables = spectral::LoadLeafTables();
    const auto& tav = GridTransmissivities();
    // The model's steps grid-wide, one after the other: absorptions, exponential integrals,
    // layer transmissions, pile optics. An exponential integral ends in a long chain of
    // dependent multiplications; taken one after the other, consecutive chains overlap in the
    // processor. The values are those of the point-by-point model, and so is the first
    // failure: the points before a bad k are checked before it is reported.
    spectral::Spectrum k{}, e1{}, tau{};
    int valid = 0;  // grid points before the first k <= 0
    for (; valid < kWavelengthCount; ++valid) {
        k[static_cast<std::size_t>(valid)] = LeafAbsorption(p, tables, valid);
        if (!(k[static_cast<std::size_t>(valid)] > 0.0)) break;
    }
    const auto points = static_cast<std::size_t>(valid);
    for (std::size_t i = 0; i < points; ++i) e1[i] = ExpIntegral(k[i]);
    for (std::size_t i = 0; i < points; ++i) tau[i] = LayerTransmission(k[i], e1[i]);
    LeafSpectrum spectrum{};
    for (int i = 0; i < valid; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const LeafOptics optics = StackOptics(p.N, tables.refIndex[at], tau[at], tav[at]);
        if (!std::isfinite(optics.refl) || !std::isfinite(optics.trans)) {
            FailAt(i, "the reflectance or transmittance is not a finite number (" + InputsText(p)
                          + ").");
        }
        spectrum.refl[at] = PhysicalFraction(optics.refl, "reflectance", i, p);
        spectrum.trans[at] = PhysicalFraction(optics.trans, "transmittance", i, p);
    }
    if (valid < kWavelengthCount) {
        FailAt(valid, "the absorption coefficient k is " + textio::NumberText(k[points])
                          + ", but the model needs k > 0 (" + InputsText(p) + ").");
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
