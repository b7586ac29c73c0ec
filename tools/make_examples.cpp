// tulmera-make-examples DIR: writes the example measured leaf and canopy spectra into DIR.
// They are the models' own spectra with reproducible noise, so a fit of them shows what it
// recovers.
// Run it again after a change of the leaf model or of these leaves, and commit examples/.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "lut/simulation.h"
#include "spectral/grid.h"
#include "textio/number_text.h"
#include "textio/text_file.h"
#include "tools/synthetic_spectra.h"

namespace {

using namespace tulmera;

struct ExampleLeaf {
    const char* name;
    leaf::LeafParameters parameters;
};

// A thin young leaf, a dark green mature one and a pale, dry one.
const ExampleLeaf kLeaves[] = {
    {"young", {1.3, 28.0, 0.009, 0.0035}},
    {"mature", {1.9, 62.0, 0.016, 0.0075}},
    {"pale", {2.4, 14.0, 0.006, 0.011}},
};
constexpr double kSigma = 0.005;  // a good lab spectrometer
constexpr int kDigits = 5;

// One file: header lines, then a row per grid wavelength. `micrometres` writes wavelengths in
// µm and values in percent, with decimal commas and semicolons, as a European spreadsheet
// does.
std::string ExampleText(const std::string& header, bool transmittance, bool micrometres,
                        std::uint32_t seed)
{
    tools::NormalNoise noise(seed);
    std::vector<tools::SyntheticLeaf> spectra;
    for (const ExampleLeaf& leaf : kLeaves) {
        spectra.push_back(tools::MakeSyntheticLeaf(leaf.parameters, kSigma, noise));
    }
    const char delimiter = micrometres ? ';' : ',';
    const auto number = [&](double x) {
        std::string text = textio::NumberText(x, kDigits);
        if (micrometres) std::replace(text.begin(), text.end(), '.', ',');
        return text;
    };
    std::string text = header;
    text += micrometres ? "wavelength_um" : "wavelength_nm";
    for (const ExampleLeaf& leaf : kLeaves) text += delimiter + std::string(leaf.name);
    text += "\n";
    for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
        const double nm = spectral::WavelengthNm(static_cast<int>(i));
        text += number(micrometres ? nm / 1000.0 : nm);
        for (const tools::SyntheticLeaf& s : spectra) {
            const double value = *(transmittance ? s.transmittance : s.reflectance)[i];
            text += delimiter + number(micrometres ? value * 100.0 : value);
        }
        text += "\n";
    }
    return text;
}

std::string Header(const std::string& what)
{
    std::string text = "# Tulmera example: " + what + " of three leaves, made by the leaf model with\n"
                       "# noise of standard deviation 0.005 (tulmera-make-examples). Leaves:";
    for (const ExampleLeaf& leaf : kLeaves) {
        const leaf::LeafParameters& p = leaf.parameters;
        text += std::string("\n#   ") + leaf.name + ": N " + textio::NumberText(p.N) + ", Cab "
                + textio::NumberText(p.Cab) + ", Cw " + textio::NumberText(p.Cw) + ", Cm "
                + textio::NumberText(p.Cm);
    }
    return text + "\n";
}

// Three canopies under the main window's start geometry, leaf angles, soil and sky: a sparse
// one of young leaves, a closed one of mature leaves and a dense pale one.
struct ExampleCanopy {
    const char* name;
    const ExampleLeaf& leaf;
    double lai;
};
const ExampleCanopy kCanopies[] = {
    {"sparse", kLeaves[0], 0.8},
    {"closed", kLeaves[1], 3.0},
    {"dense", kLeaves[2], 5.5},
};

std::string CanopyExampleText(std::uint32_t seed)
{
    const canopy::CanopyInputs held = canopy::StartCanopyInputs();
    std::string text =
        "# Tulmera example: canopy reflectance of three canopies, made by the leaf and canopy\n"
        "# models with noise of standard deviation 0.005 (tulmera-make-examples), under the\n"
        "# main window's start values: sun "
        + textio::NumberText(held.sunZenith) + ", view " + textio::NumberText(held.viewAngle)
        + ", azimuth " + textio::NumberText(held.relAzimuth) + ", hot spot "
        + textio::NumberText(held.hotSpot) + ", " + held.leafArchitecture + ", soil \"" + held.soil
        + "\", visibility " + (held.visibility == canopy::Visibility::Km15 ? "15" : "50")
        + " Km. Canopies:";
    tools::NormalNoise noise(seed);
    const lut::TableSpec spec = lut::HeldSpec(leaf::kStartLeafParameters, held);
    lut::Simulator simulator(spec);
    std::vector<spectral::Spectrum> spectra;
    for (const ExampleCanopy& c : kCanopies) {
        const leaf::LeafParameters& p = c.leaf.parameters;
        text += std::string("\n#   ") + c.name + ": LAI " + textio::NumberText(c.lai) + ", the "
                + c.leaf.name + " leaf (N " + textio::NumberText(p.N) + ", Cab "
                + textio::NumberText(p.Cab) + ", Cw " + textio::NumberText(p.Cw) + ", Cm "
                + textio::NumberText(p.Cm) + ")";
        lut::ParameterValues values{};
        for (int q = 0; q < lut::kParameterCount; ++q)
            values[static_cast<std::size_t>(q)] = spec.ranges[static_cast<std::size_t>(q)].lo;
        const auto set = [&](lut::Parameter q, double v) {
            values[static_cast<std::size_t>(q)] = v;
        };
        set(lut::Parameter::N, p.N);
        set(lut::Parameter::Cab, p.Cab);
        set(lut::Parameter::Cw, p.Cw);
        set(lut::Parameter::Cm, p.Cm);
        set(lut::Parameter::Lai, c.lai);
        spectral::Spectrum s = simulator.Simulate(values);
        for (double& v : s) v += noise.Next(kSigma);
        spectra.push_back(s);
    }
    text += "\nwavelength_nm";
    for (const ExampleCanopy& c : kCanopies) text += std::string(",") + c.name;
    text += "\n";
    for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
        text += textio::NumberText(spectral::WavelengthNm(static_cast<int>(i)), kDigits);
        for (const spectral::Spectrum& s : spectra) text += "," + textio::NumberText(s[i], kDigits);
        text += "\n";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: tulmera-make-examples DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    try {
        textio::ReplaceTextFile(dir + "/leaf_reflectance.csv",
                                ExampleText(Header("leaf reflectance"), false, false, 1));
        textio::ReplaceTextFile(dir + "/leaf_transmittance.csv",
                                ExampleText(Header("leaf transmittance"), true, false, 2));
        textio::ReplaceTextFile(
            dir + "/leaf_reflectance_percent_um.txt",
            ExampleText(Header("leaf reflectance in percent, wavelengths in micrometres,"), false,
                        true, 3));
        textio::ReplaceTextFile(dir + "/canopy_reflectance.csv", CanopyExampleText(4));
    } catch (const std::exception& e) {
        std::cerr << "tulmera-make-examples: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
