// tulmera-fit-recovery: how well the leaf fit recovers the leaves it is given, measured on the
// model's own spectra with noise. Draws COUNT fresh leaves of MODEL (tools::DrawFreshLeaf),
// adds noise of standard deviation 0.005 to R and T, fits each over the whole spectrum and
// with subdomains, and prints the RMSE of Cab, Car, Cw (EWT) and Cm (LMA; PRO: Prot + CBC).
//
//     tulmera-fit-recovery [MODEL [COUNT [SEED]]]     (default prospect-d 300 1)
#include <atomic>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "fit/leaf_fit.h"
#include "leaf/leaf_models.h"
#include "textio/number_text.h"
#include "tools/synthetic_spectra.h"

namespace {

using namespace tulmera;

struct Errors {
    double cab = 0, car = 0, ewt = 0, lma = 0;  // sums of squares
};

double Lma(const leaf::LeafParameters& p) { return p.Cm + p.Prot + p.CBC; }

int Run(leaf::LeafModel model, int count, std::uint32_t seed)
{
    tools::NormalNoise noise(seed);
    std::vector<leaf::LeafParameters> truth;
    std::vector<fit::LeafFitTarget> targets;
    for (int i = 0; i < count; ++i) {
        truth.push_back(tools::DrawFreshLeaf(model, noise));
        const tools::SyntheticLeaf leaf = tools::MakeSyntheticLeaf(truth.back(), 0.005, noise);
        targets.push_back({leaf.reflectance, leaf.transmittance});
    }
    for (const bool subdomains : {false, true}) {
        std::vector<leaf::LeafParameters> found(truth.size());
        std::atomic<std::size_t> next{0};
        const auto work = [&] {
            for (std::size_t i; (i = next.fetch_add(1)) < targets.size();) {
                fit::LeafFitOptions options;
                options.subdomains = subdomains;
                options.model = model;
                found[i] = fit::FitLeaf(targets[i], options).value().parameters;
            }
        };
        {
            std::vector<std::jthread> threads;
            for (unsigned t = 1; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
                threads.emplace_back(work);
            work();
        }
        Errors e;
        const auto square = [](double x) { return x * x; };
        for (std::size_t i = 0; i < truth.size(); ++i) {
            e.cab += square(found[i].Cab - truth[i].Cab);
            e.car += square(found[i].Car - truth[i].Car);
            e.ewt += square(found[i].Cw - truth[i].Cw);
            e.lma += square(Lma(found[i]) - Lma(truth[i]));
        }
        const auto rmse = [count](double sum) {
            return textio::NumberText(std::sqrt(sum / count), 4);
        };
        std::cout << (subdomains ? "subdomains" : "whole     ") << "  Cab " << rmse(e.cab)
                  << "  Car " << rmse(e.car) << "  EWT " << rmse(e.ewt) << "  LMA " << rmse(e.lma)
                  << '\n';
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string name = argc > 1 ? argv[1] : "prospect-d";
    const auto model = leaf::ParseLeafModel(name);
    if (!model) {
        std::cerr << "unknown leaf model " << name << '\n';
        return 2;
    }
    const int count = argc > 2 ? std::stoi(argv[2]) : 300;
    const auto seed = static_cast<std::uint32_t>(argc > 3 ? std::stoul(argv[3]) : 1);
    std::cout << name << ", " << count << " leaves, noise 0.005 on R and T\n";
    return Run(*model, count, seed);
}
