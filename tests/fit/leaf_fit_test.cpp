// The leaf fit recovers the parameters of spectra made by the leaf model itself.
#include "fit/leaf_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>

#include "fit/fit_problem.h"
#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "textio/error.h"
#include "tools/synthetic_spectra.h"

namespace tulmera::fit {
namespace {

using tools::MakeSyntheticLeaf;
using tools::NormalNoise;
using tools::SyntheticLeaf;

using leaf::LeafParameters;

std::string Label(const LeafParameters& p)
{
    return "N " + std::to_string(p.N) + ", Cab " + std::to_string(p.Cab) + ", Cw "
           + std::to_string(p.Cw) + ", Cm " + std::to_string(p.Cm);
}

enum class Measured { RAndT, ROnly, TOnly };

LeafFitTarget TargetOf(const SyntheticLeaf& leaf, Measured measured)
{
    LeafFitTarget target;
    if (measured != Measured::TOnly) target.reflectance = leaf.reflectance;
    if (measured != Measured::ROnly) target.transmittance = leaf.transmittance;
    return target;
}

// A number drawn evenly in [0, 1) from the noise source's normal numbers (their normal CDF).
double UniformOf(NormalNoise& noise) { return 0.5 * std::erfc(-noise.Next(1.0) / std::sqrt(2.0)); }

LeafFitResult Fit(const LeafFitTarget& target, bool subdomains)
{
    const std::optional<LeafFitResult> result = FitLeaf(target, {subdomains, nullptr});
    EXPECT_TRUE(result.has_value());
    return result.value_or(LeafFitResult{});
}

// Leaves across the box, its corners' neighbourhood included (not on a bound: a parameter on
// a bound is recovered too, but relative error means nothing at Cab 0).
const LeafParameters kLeaves[] = {
    {1.5, 40.0, 0.01, 0.005}, {1.05, 5.0, 0.0005, 0.0008}, {3.8, 140.0, 0.09, 0.055},
    {2.2, 70.0, 0.002, 0.03}, {1.3, 120.0, 0.06, 0.0015},  {3.0, 15.0, 0.03, 0.012},
};

TEST(LeafFit, RecoversNoiseFreeSpectraToOneTenThousandth)
{
    constexpr double kRelative = 1e-4;
    for (const Measured measured : {Measured::RAndT, Measured::ROnly, Measured::TOnly}) {
        for (const bool subdomains : {false, true}) {
            for (const LeafParameters& p : kLeaves) {
                NormalNoise noise(1);
                const LeafFitResult fit =
                    Fit(TargetOf(MakeSyntheticLeaf(p, 0.0, noise), measured), subdomains);
                const std::string label = Label(p) + (subdomains ? ", subdomains" : "") + ", case "
                                          + std::to_string(static_cast<int>(measured));
                EXPECT_NEAR(fit.parameters.N, p.N, kRelative * p.N) << label;
                EXPECT_NEAR(fit.parameters.Cab, p.Cab, kRelative * p.Cab) << label;
                EXPECT_NEAR(fit.parameters.Cw, p.Cw, kRelative * p.Cw) << label;
                EXPECT_NEAR(fit.parameters.Cm, p.Cm, kRelative * p.Cm) << label;
                EXPECT_GT(fit.evaluations, 0);
            }
        }
    }
}

// Leaves drawn evenly over the whole box, each measured with noise of σ 0.005 (a good lab
// spectrometer), come back with root mean square errors within these tolerances (those seen
// over these draws, with some room). White noise is the full fit's best case: the subdomains,
// which fit Cab on 5 points and Cw, Cm without the visible, pay for it with larger errors.
struct NoisyTolerance {
    Measured measured;
    bool subdomains;
    LeafParameters tolerance;
};

TEST(LeafFit, RecoversNoisySpectraAcrossTheBox)
{
    constexpr int kLeafCount = 24;
    constexpr double kSigma = 0.005;
    const NoisyTolerance cases[] = {
        {Measured::RAndT, false, {0.01, 1.5, 0.0003, 0.00015}},
        {Measured::RAndT, true, {0.01, 3.0, 0.002, 0.002}},
        {Measured::ROnly, false, {0.1, 5.0, 0.002, 0.002}},
        {Measured::TOnly, false, {0.25, 5.0, 0.0025, 0.015}},
    };
    for (const NoisyTolerance& c : cases) {
        NormalNoise draw(2024);
        LeafParameters sumSq{0, 0, 0, 0};
        for (int i = 0; i < kLeafCount; ++i) {
            const auto within = [&](double lower, double upper) {
                return lower + (upper - lower) * UniformOf(draw);
            };
            const LeafParameters p{within(1.0, 4.0), within(0.0, 150.0), within(1e-4, 0.1),
                                   within(1e-4, 0.06)};
            const LeafFitResult fit =
                Fit(TargetOf(MakeSyntheticLeaf(p, kSigma, draw), c.measured), c.subdomains);
            const auto square = [](double x) { return x * x; };
            sumSq.N += square(fit.parameters.N - p.N);
            sumSq.Cab += square(fit.parameters.Cab - p.Cab);
            sumSq.Cw += square(fit.parameters.Cw - p.Cw);
            sumSq.Cm += square(fit.parameters.Cm - p.Cm);
        }
        const LeafParameters rmse{
            std::sqrt(sumSq.N / kLeafCount), std::sqrt(sumSq.Cab / kLeafCount),
            std::sqrt(sumSq.Cw / kLeafCount), std::sqrt(sumSq.Cm / kLeafCount)};
        const std::string label = "case " + std::to_string(static_cast<int>(c.measured))
                                  + (c.subdomains ? " subdomains" : "") + ", RMSE " + Label(rmse);
        EXPECT_LE(rmse.N, c.tolerance.N) << label;
        EXPECT_LE(rmse.Cab, c.tolerance.Cab) << label;
        EXPECT_LE(rmse.Cw, c.tolerance.Cw) << label;
        EXPECT_LE(rmse.Cm, c.tolerance.Cm) << label;
    }
}

TEST(LeafFit, StopsWhenCancelledAndRefusesAnEmptyTarget)
{
    NormalNoise noise(3);
    const SyntheticLeaf leaf = MakeSyntheticLeaf({2.0, 50.0, 0.02, 0.01}, 0.005, noise);
    const std::atomic<bool> cancelled{true};
    EXPECT_FALSE(FitLeaf({leaf.reflectance, leaf.transmittance}, {true, &cancelled}).has_value());
    EXPECT_THROW(FitLeaf({}), Error);
    // Measured only up to 1000 nm: the water subdomain has no point.
    measured::GridValues visible = leaf.reflectance;
    for (std::size_t i = 121; i < visible.size(); ++i) visible[i].reset();
    EXPECT_TRUE(FitLeaf({visible, std::nullopt}, {false, nullptr}).has_value());
    EXPECT_THROW(FitLeaf({visible, std::nullopt}, {true, nullptr}), Error);
}

TEST(LeafFit, ReportsTheRmseOfTheFittedModelOverTheMeasuredPoints)
{
    NormalNoise noise(5);
    const LeafParameters p{1.7, 35.0, 0.015, 0.004};
    const SyntheticLeaf leaf = MakeSyntheticLeaf(p, 0.005, noise);
    const LeafFitResult fit = Fit({leaf.reflectance, std::nullopt}, false);
    EXPECT_FALSE(fit.rmseTransmittancePercent.has_value());
    ASSERT_TRUE(fit.rmseReflectancePercent.has_value());
    // Noise of 0.5 % reflectance: the best fit leaves about that, slightly less.
    EXPECT_NEAR(*fit.rmseReflectancePercent, 0.5, 0.05);
    EXPECT_EQ(*fit.rmseReflectancePercent,
              *measured::RmsePercent(leaf::ComputeLeafSpectrum(fit.parameters).refl,
                                     leaf.reflectance, false));
}

// The newer models' fit on their own noise-free spectra: every parameter back, whole spectrum
// and subdomains (where each subdomain must keep only its own parameters and the full fit's N),
// Cbrown too when freed and held at 0 otherwise.
TEST(LeafFit, RecoversProspectDAndProLeavesExactlyEnough)
{
    using leaf::LeafModel;
    LeafParameters d{1.6, 35.0, 0.014, 0.006, 9.0, 3.0, 0.0, 0.0, 0.0, LeafModel::ProspectD};
    LeafParameters brown = d;
    brown.Cbrown = 0.3;
    LeafParameters pro{1.4, 50.0, 0.02, 0.0, 12.0, 1.0, 0.0, 0.0012, 0.007, LeafModel::ProspectPro};
    const struct {
        const char* name;
        LeafParameters p;
        bool subdomains, freeBrown;
    } cases[] = {
        {"D whole", d, false, false},         {"D subdomains", d, true, false},
        {"D brown freed", brown, true, true}, {"PRO whole", pro, false, false},
        {"PRO subdomains", pro, true, false},
    };
    for (const auto& c : cases) {
        NormalNoise noise(1);
        const SyntheticLeaf leaf = MakeSyntheticLeaf(c.p, 0.0, noise);
        LeafFitOptions options;
        options.subdomains = c.subdomains;
        options.model = c.p.model;
        options.freeBrown = c.freeBrown;
        const std::optional<LeafFitResult> fit =
            FitLeaf({leaf.reflectance, leaf.transmittance}, options);
        ASSERT_TRUE(fit.has_value()) << c.name;
        EXPECT_EQ(fit->parameters.model, c.p.model) << c.name;
        EXPECT_NO_THROW(leaf::CheckLeafParameters(fit->parameters)) << c.name;
        for (const leaf::LeafParameterField& field : leaf::ModelParameters(c.p.model)) {
            const double truth = c.p.*field.value;
            const double found = fit->parameters.*field.value;
            EXPECT_NEAR(found, truth, 2e-3 * std::max(std::abs(truth), 1.0) + 1e-6)
                << c.name << ", " << field.name;
        }
    }
}

// With the noise of a lab spectrometer (σ 0.005 on R and T) over fresh leaves, the fit must
// stay within the accuracy published for measured leaves, which also carry model error.
TEST(LeafFit, RecoversNoisyProspectDLeavesWithinThePublishedAccuracy)
{
    constexpr int kLeafCount = 12;
    struct Rmse {
        double cab, car, ewt, lma;
    };
    const struct {
        bool subdomains;
        Rmse limit;
    } cases[] = {
        {false, {5.73, 2.77, 0.00203, 0.00254}},
        {true, {5.13, 2.2, 0.00141, 0.00093}},
    };
    for (const auto& c : cases) {
        NormalNoise noise(2017);
        Rmse sum{};
        for (int i = 0; i < kLeafCount; ++i) {
            const LeafParameters p = tools::DrawFreshLeaf(leaf::LeafModel::ProspectD, noise);
            const SyntheticLeaf leaf = MakeSyntheticLeaf(p, 0.005, noise);
            LeafFitOptions options;
            options.subdomains = c.subdomains;
            options.model = p.model;
            const LeafParameters f =
                FitLeaf({leaf.reflectance, leaf.transmittance}, options).value().parameters;
            const auto square = [](double x) { return x * x; };
            sum.cab += square(f.Cab - p.Cab);
            sum.car += square(f.Car - p.Car);
            sum.ewt += square(f.Cw - p.Cw);
            sum.lma += square(f.Cm - p.Cm);
        }
        const Rmse rmse{std::sqrt(sum.cab / kLeafCount), std::sqrt(sum.car / kLeafCount),
                        std::sqrt(sum.ewt / kLeafCount), std::sqrt(sum.lma / kLeafCount)};
        const std::string label = c.subdomains ? "subdomains" : "whole spectrum";
        EXPECT_LE(rmse.cab, c.limit.cab) << label;
        EXPECT_LE(rmse.car, c.limit.car) << label;
        EXPECT_LE(rmse.ewt, c.limit.ewt) << label;
        EXPECT_LE(rmse.lma, c.limit.lma) << label;
    }
}

// The residuals a PROSPECT-D or PRO fit minimises come from the engine's kernel over many
// points: the same sums as the exact spectra give (within the kernel's 1e-12), over the whole
// grid, a subdomain wide enough for the kernel and one left to the exact path, for a green leaf,
// a thick dark one and one without pigments.
TEST(LeafFit, ResidualsOfTheNewerModelsAreThoseOfTheExactSpectra)
{
    NormalNoise noise(5);
    const SyntheticLeaf measured =
        MakeSyntheticLeaf(tools::DrawFreshLeaf(leaf::LeafModel::ProspectD, noise), 0.005, noise);
    std::vector<LeafParameters> leaves;
    for (const leaf::LeafModel model : {leaf::LeafModel::ProspectD, leaf::LeafModel::ProspectPro}) {
        LeafParameters thin = leaf::StartLeafParameters(model), thick = thin, bare = thin;
        thick.N = 3.5;
        thick.Cab = 120;
        thick.Car = 30;
        thick.Anth = 35;
        thick.Cbrown = 0.9;
        thick.Cw = 0.08;
        bare.Cab = bare.Car = bare.Anth = bare.Cbrown = 0;
        leaves.insert(leaves.end(), {thin, thick, bare});
    }
    const struct {
        int firstNm, lastNm;
    } ranges[] = {{400, 2500}, {1700, 2400}, {700, 720}};
    for (const auto& range : ranges) {
        for (const LeafParameters& p : leaves) {
            const LeafResiduals residuals(&measured.reflectance, &measured.transmittance,
                                          range.firstNm, range.lastNm, p.model);
            const leaf::LeafSpectrum exact = leaf::ComputeLeafSpectrum(p);
            double expected = 0.0;
            for (int i = 0; i < spectral::kWavelengthCount; ++i) {
                const int nm = spectral::WavelengthNm(i);
                if (nm < range.firstNm || nm > range.lastNm) continue;
                const auto at = static_cast<std::size_t>(i);
                const double r = exact.refl[at] - *measured.reflectance[at];
                const double t = exact.trans[at] - *measured.transmittance[at];
                expected += r * r + t * t;
            }
            EXPECT_NEAR(residuals.SumOfSquares(p), expected, 1e-11 * expected)
                << leaf::LeafModelName(p.model) << " N " << p.N << " Cab " << p.Cab << ", "
                << range.firstNm << " to " << range.lastNm << " nm";
        }
    }
}

}  // namespace
}  // namespace tulmera::fit
