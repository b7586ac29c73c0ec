// The estimators on functions whose indices are known in closed form, evaluated on the Saltelli
// design: Ishigami's (a = 7, b = 0.1) and a linear model with unequal weights.
#include "gsa/sobol_indices.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include "gsa/saltelli_design.h"
#include "gsa/weighted_sums.h"

namespace tulmera::gsa {
namespace {

using Model = std::function<double(const std::vector<double>& x)>;  // x in [0, 1)^k

// The outputs of `model` on the design of N base rows over k unit inputs.
DesignOutputs Outputs(const Model& model, std::size_t k, std::uint64_t N)
{
    DesignOutputs outputs{k, 1, 0, {}};
    const std::vector<double> points = SobolRows(k, 0, N);
    std::vector<double> x(k);
    for (std::uint64_t row = 0; row < N; ++row) {
        for (std::size_t m = 0; m < k + 2; ++m) {
            for (std::size_t i = 0; i < k; ++i) x[i] = DesignUnit(&points[row * 2 * k], k, m, i);
            outputs.values.push_back(model(x));
        }
    }
    return outputs;
}

double Ishigami(const std::vector<double>& u)
{
    const auto x = [&u](std::size_t i) { return -std::numbers::pi + 2 * std::numbers::pi * u[i]; };
    const double s2 = std::sin(x(1));
    const double x3 = x(2);
    return std::sin(x(0)) * (1 + 0.1 * x3 * x3 * x3 * x3) + 7 * s2 * s2;
}

struct Known {
    const char* name;
    Model model;
    std::vector<double> S1, ST;
};

// The bootstrap intervals hold the true values, and the estimates come close to them, on both
// functions; a swapped estimator (S1 for ST) or a wrong matrix column fails here.
TEST(SobolIndices, HoldKnownValuesWithinTheirIntervals)
{
    const double w = 1 + 4 + 16;  // the linear model 1·x1 + 2·x2 + 4·x3: shares a_i² / Σ a²
    const std::vector<Known> cases = {
        {"Ishigami", Ishigami, {0.3139, 0.4424, 0.0}, {0.5576, 0.4424, 0.2437}},
        {"linear",
         [](const std::vector<double>& x) { return x[0] + 2 * x[1] + 4 * x[2]; },
         {1 / w, 4 / w, 16 / w},
         {1 / w, 4 / w, 16 / w}},
    };
    constexpr double kCloseTo = 0.02;  // at N = 2^14 the estimates lie much nearer
    for (const Known& c : cases) {
        const std::vector<QuantityIndices> indices =
            EstimateIndices(Outputs(c.model, 3, 1 << 14), 200, 1);
        ASSERT_TRUE(indices[0].has_value()) << c.name;
        for (std::size_t i = 0; i < 3; ++i) {
            const ParameterIndices& p = (*indices[0])[i];
            const std::string at = std::string(c.name) + " x" + std::to_string(i + 1);
            // The true value lies inside the interval, widened by a hair for the exact zeros.
            EXPECT_LE(p.S1.low, c.S1[i] + 1e-3) << at;
            EXPECT_GE(p.S1.high, c.S1[i] - 1e-3) << at;
            EXPECT_LE(p.ST.low, c.ST[i] + 1e-3) << at;
            EXPECT_GE(p.ST.high, c.ST[i] - 1e-3) << at;
            EXPECT_NEAR(p.S1.value, c.S1[i], kCloseTo) << at;
            EXPECT_NEAR(p.ST.value, c.ST[i], kCloseTo) << at;
            EXPECT_LE(p.S1.low, p.S1.value) << at;
            EXPECT_GE(p.S1.high, p.S1.value) << at;
        }
    }
}

// Quantities with no indices: one that never varies, and one a model left undefined somewhere;
// their neighbours keep theirs, and the same outputs give the same bits again.
TEST(SobolIndices, LeaveConstantAndUndefinedQuantitiesEmpty)
{
    DesignOutputs outputs{2, 3, 0, {}};
    const std::vector<double> points = SobolRows(2, 0, 64);
    for (std::uint64_t row = 0; row < 64; ++row) {
        for (std::size_t m = 0; m < 4; ++m) {
            const double x = DesignUnit(&points[row * 4], 2, m, 0);
            outputs.values.insert(outputs.values.end(),
                                  {x, 5.0, row == 7 && m == 3 ? std::nan("") : x});
        }
    }
    const std::vector<QuantityIndices> first = EstimateIndices(outputs, 20, 3);
    ASSERT_TRUE(first[0].has_value());
    EXPECT_FALSE(first[1].has_value());
    EXPECT_FALSE(first[2].has_value());
    EXPECT_NEAR((*first[0])[0].ST.value, 1.0, 0.1);  // 64 rows: rough
    EXPECT_NEAR((*first[0])[1].ST.value, 0.0, 1e-12);
    const std::vector<QuantityIndices> again = EstimateIndices(outputs, 20, 3);
    EXPECT_EQ((*again[0])[0].S1.low, (*first[0])[0].S1.low);
    EXPECT_EQ((*again[0])[0].ST.high, (*first[0])[0].ST.high);
}

// With many base rows the bootstrap takes its resamples in groups (its buffers stay bounded):
// every group's estimates land in their places (a resample left at 0 would pull the lower ends
// down), and the threads share the work without changing a bit.
TEST(SobolIndices, KeepTheirIntervalsWhenTheResamplesComeInGroups)
{
    const double w = 1 + 4 + 16;
    const DesignOutputs outputs = Outputs(
        [](const std::vector<double>& x) { return x[0] + 2 * x[1] + 4 * x[2]; }, 3, 1 << 17);
    const std::vector<QuantityIndices> one = EstimateIndices(outputs, 150, 5, 1);
    const std::vector<QuantityIndices> three = EstimateIndices(outputs, 150, 5, 3);
    for (std::size_t i = 0; i < 3; ++i) {
        const ParameterIndices& p = (*one[0])[i];
        const double truth = std::pow(4.0, static_cast<double>(i)) / w;
        EXPECT_GT(p.S1.low, 0.9 * truth) << i;
        EXPECT_LT(p.S1.high, 1.1 * truth) << i;
        EXPECT_GT(p.ST.low, 0.9 * truth) << i;
        EXPECT_EQ(p.S1.low, (*three[0])[i].S1.low) << i;
        EXPECT_EQ(p.ST.high, (*three[0])[i].ST.high) << i;
    }
}

// The bootstrap's matrix product against plain sums, over sizes that leave partial vectors,
// partial passes and odd numbers of rows and columns.
TEST(WeightedSums, EqualPlainSumsForEveryShape)
{
    for (const std::size_t rows : {1u, 5u, 8u}) {
        for (const std::size_t n : {3u, 13u, 300u}) {
            for (const std::size_t columns : {1u, 3u, 7u}) {
                const std::size_t stride = PaddedStride(n);
                std::vector<double> weights(rows * stride), values(columns * stride);
                for (std::size_t v = 0; v < weights.size(); ++v)
                    weights[v] = static_cast<double>((v * 7919) % 5);
                for (std::size_t v = 0; v < values.size(); ++v)
                    values[v] = std::sin(static_cast<double>(v));
                std::vector<double> out(rows * columns, -1.0);
                WeightedSums(weights.data(), rows, n, values.data(), columns, out.data());
                for (std::size_t r = 0; r < rows; ++r) {
                    for (std::size_t c = 0; c < columns; ++c) {
                        double plain = 0;
                        for (std::size_t j = 0; j < n; ++j)
                            plain += weights[r * stride + j] * values[c * stride + j];
                        EXPECT_NEAR(out[r * columns + c], plain, 1e-12 * (1 + std::abs(plain)))
                            << rows << "x" << n << "x" << columns << " at " << r << "," << c;
                    }
                }
            }
        }
    }
}

// The design never uses the origin (f there is often degenerate); every coordinate is in
// [0, 1), and a later start gives the same points as the whole run (shards rely on it).
TEST(SaltelliDesign, ShardsOfTheSequenceAreThePointsOfTheWhole)
{
    const std::vector<double> whole = SobolRows(4, 0, 40);
    const std::vector<double> tail = SobolRows(4, 17, 40);
    ASSERT_EQ(tail.size(), 23u * 8);
    for (std::size_t c = 0; c < tail.size(); ++c) ASSERT_EQ(tail[c], whole[17 * 8 + c]) << c;
    EXPECT_EQ(whole[0], 0.5);  // the first point after the origin
    for (const double u : whole) {
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

}  // namespace
}  // namespace tulmera::gsa
