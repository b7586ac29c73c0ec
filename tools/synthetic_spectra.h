#pragma once
#include <cstdint>
#include <random>

#include "leaf/leaf_parameters.h"
#include "measured/measured_grid.h"

// Leaf spectra made by the model itself, with reproducible noise: the measurements of the
// fit's tests, benchmarks and example files.
namespace tulmera::tools {

// A reproducible source of normally distributed numbers: std::mt19937, whose output the C++
// standard fixes, through the Box-Muller transform written out here (std::normal_distribution
// differs between standard libraries).
class NormalNoise {
public:
    explicit NormalNoise(std::uint32_t seed);
    double Next(double sigma);  // mean 0, standard deviation sigma
    // A number drawn evenly from lower .. upper, from the same engine.
    double UniformBetween(double lower, double upper);

private:
    double Uniform();  // in (0, 1)
    std::mt19937 engine_;
    double spare_ = 0.0;
    bool hasSpare_ = false;
};

// The model's reflectance and transmittance for `p` with independent noise of standard
// deviation `sigma` added to every value (0: the exact model), at every grid point.
struct SyntheticLeaf {
    measured::GridValues reflectance;
    measured::GridValues transmittance;
};
SyntheticLeaf MakeSyntheticLeaf(const leaf::LeafParameters& p, double sigma, NormalNoise& noise);

// A leaf of `model` drawn evenly over the ranges of the fresh leaves that PROSPECT-D and
// PROSPECT-PRO were calibrated and validated on: N 1 .. 2.5, Cab 5 .. 90 µg/cm², Car 1 .. 22
// µg/cm², Anth 0 .. 8 µg/cm², Cw 0.003 .. 0.04 cm, Cm 0.002 .. 0.025 g/cm² (PRO: Prot
// 0.0002 .. 0.003 and CBC 0.002 .. 0.022 g/cm² instead), no brown pigments; for the classic
// model N, Cab, Cw and Cm over the same ranges.
leaf::LeafParameters DrawFreshLeaf(leaf::LeafModel model, NormalNoise& noise);

}  // namespace tulmera::tools
