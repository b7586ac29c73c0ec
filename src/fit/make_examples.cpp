// tulmera-make-examples DIR: writes the example measured leaf spectra into DIR. They are the
// leaf model's own spectra with reproducible noise, so a fit of them shows what it recovers.
// Run it again after a change of the leaf model or of these leaves, and commit examples/.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "fit/synthetic_spectra.h"
#include "spectral/grid.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

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
    fit::NormalNoise noise(seed);
    std::vector<fit::SyntheticLeaf> spectra;
    for (const ExampleLeaf& leaf : kLeaves) {
        spectra.push_back(fit::MakeSyntheticLeaf(leaf.parameters, kSigma, noise));
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
        for (const fit::SyntheticLeaf& s : spectra) {
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
    } catch (const std::exception& e) {
        std::cerr << "tulmera-make-examples: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
