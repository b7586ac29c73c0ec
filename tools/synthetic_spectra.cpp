#include "tools/synthetic_spectra.h"

#include <cmath>
#include <numbers>

#include "leaf/leaf_spectrum.h"

namespace tulmera::tools {

NormalNoise::NormalNoise(std::uint32_t seed) : engine_(seed) {}

double NormalNoise::Uniform() { return (static_cast<double>(engine_()) + 0.5) / 4294967296.0; }

double NormalNoise::Next(double sigma)
{
    if (hasSpare_) {
        hasSpare_ = false;
        return sigma * spare_;
    }
    const double radius = std::sqrt(-2.0 * std::log(Uniform()));
    const double angle = 2.0 * std::numbers::pi * Uniform();
    spare_ = radius * std::sin(angle);
    hasSpare_ = true;
    return sigma * (radius * std::cos(angle));
}

double NormalNoise::UniformBetween(double lower, double upper)
{
    return lower + (upper - lower) * Uniform();
}

leaf::LeafParameters DrawFreshLeaf(leaf::LeafModel model, NormalNoise& noise)
{
    leaf::LeafParameters p{};
    p.model = model;
    p.N = noise.UniformBetween(1.0, 2.5);
    p.Cab = noise.UniformBetween(5.0, 90.0);
    p.Cw = noise.UniformBetween(0.003, 0.04);
    if (model == leaf::LeafModel::ProspectPro) {
        p.Prot = noise.UniformBetween(0.0002, 0.003);
        p.CBC = noise.UniformBetween(0.002, 0.022);
    } else {
        p.Cm = noise.UniformBetween(0.002, 0.025);
    }
    if (model != leaf::LeafModel::Classic) {
        p.Car = noise.UniformBetween(1.0, 22.0);
        p.Anth = noise.UniformBetween(0.0, 8.0);
    }
    return p;
}

SyntheticLeaf MakeSyntheticLeaf(const leaf::LeafParameters& p, double sigma, NormalNoise& noise)
{
    const leaf::LeafSpectrum model = leaf::ComputeLeafSpectrum(p);
    SyntheticLeaf leaf;
    for (std::size_t i = 0; i < model.refl.size(); ++i) {
        leaf.reflectance[i] = model.refl[i] + noise.Next(sigma);
        leaf.transmittance[i] = model.trans[i] + noise.Next(sigma);
    }
    return leaf;
}

}  // namespace tulmera::tools
