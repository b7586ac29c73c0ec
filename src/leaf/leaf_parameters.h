#pragma once

namespace tulmera::leaf {

// The leaf models: the PROSPECT of Jacquemoud & Baret (1990) with chlorophyll, water and dry
// matter ("classic", the program's own), PROSPECT-D (Féret et al. 2017), which adds
// carotenoids, anthocyanins and brown pigments, and PROSPECT-PRO (Féret et al. 2021), which
// splits the dry matter into proteins and carbon-based constituents.
enum class LeafModel { Classic, ProspectD, ProspectPro };

// The parameters of a leaf and the model that computes its spectra. Each model reads only its
// own parameters: classic N, Cab, Cw, Cm; PROSPECT-D also Car, Anth, Cbrown; PROSPECT-PRO the
// same with Prot and CBC in place of Cm. The others stay 0.
struct LeafParameters {
    double N;    // leaf structure: number of elementary layers, dimensionless (1 = compact leaf)
    double Cab;  // chlorophyll a+b content, µg/cm²
    double Cw;   // equivalent water thickness, cm
    double Cm;   // dry matter content, g/cm²
    double Car = 0;     // carotenoids, µg/cm²
    double Anth = 0;    // anthocyanins, µg/cm²
    double Cbrown = 0;  // brown pigments, arbitrary units 0 .. 1
    double Prot = 0;    // proteins, g/cm²
    double CBC = 0;     // carbon-based constituents other than proteins, g/cm²
    LeafModel model = LeafModel::Classic;

    bool operator==(const LeafParameters&) const = default;
};

// The main window's start values.
inline constexpr LeafParameters kStartLeafParameters{1.0, 15.0, 0.0001, 0.002};

}  // namespace tulmera::leaf
