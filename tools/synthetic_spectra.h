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

}  // namespace tulmera::tools
