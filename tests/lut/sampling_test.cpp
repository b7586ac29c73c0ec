#include "lut/sampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "textio/number_text.h"

namespace tulmera::lut {
namespace {

TEST(Sampling, PermuteIndexIsABijectionForEveryCount)
{
    for (const std::uint64_t count : {1u, 2u, 3u, 4u, 5u, 16u, 17u, 255u, 1000u, 4097u}) {
        std::vector<int> hits(count, 0);
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t to = PermuteIndex(i, count, 12345 + count);
            ASSERT_LT(to, count) << "count " << count;
            ++hits[to];
        }
        for (std::uint64_t s = 0; s < count; ++s)
            ASSERT_EQ(hits[s], 1) << "count " << count << " index " << s;
    }
}

TableSpec VaryingSpec(Sampling sampling, std::uint64_t samples)
{
    TableSpec spec = HeldSpec(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
    spec.samples = samples;
    spec.seed = 42;
    spec.sampling = sampling;
    const std::array<ParameterRange, kParameterCount> ranges = {{{1, 2.5, true},
                                                                 {5, 90, true},
                                                                 {0.001, 0.05, true},
                                                                 {0.002, 0.02, true},
                                                                 {0.1, 8, true},
                                                                 {0, 60, true},
                                                                 {-60, 60, true},
                                                                 {0, 180, true},
                                                                 {0, 1, true}}};
    spec.ranges = ranges;
    return spec;
}

TEST(Sampling, LatinHypercubeVisitsEveryStratumOnceAndValuesSurviveTheirText)
{
    constexpr std::uint64_t kSamples = 1000;
    const TableSpec spec = VaryingSpec(Sampling::LatinHypercube, kSamples);
    std::array<std::vector<int>, kClassicColumnCount> hits;  // the varied ones
    for (auto& h : hits) h.assign(kSamples, 0);
    for (std::uint64_t row = 0; row < kSamples; ++row) {
        const ParameterValues values = SampleValues(spec, row);
        for (std::size_t p = 0; p < kClassicColumnCount; ++p) {
            const ParameterRange& r = spec.ranges[p];
            ASSERT_GE(values[p], r.lo);
            ASSERT_LE(values[p], r.hi);
            // Written as text, a sample reads back as the very value simulated.
            ASSERT_EQ(*textio::ParseNumberText(textio::NumberText(values[p])), values[p]);
            const auto stratum =
                static_cast<std::size_t>((values[p] - r.lo) / (r.hi - r.lo) * kSamples);
            ++hits[p][std::min<std::size_t>(stratum, kSamples - 1)];
        }
    }
    for (std::size_t p = 0; p < kClassicColumnCount; ++p) {
        for (std::size_t s = 0; s < kSamples; ++s) {
            ASSERT_EQ(hits[p][s], 1) << kParameterNames[p] << " stratum " << s;
        }
    }
}

TEST(Sampling, ParametersAndSeedsDrawIndependentValues)
{
    // A shared stream between parameters or seeds would make columns move together.
    for (const Sampling sampling : {Sampling::LatinHypercube, Sampling::Uniform}) {
        TableSpec spec = VaryingSpec(sampling, 500);
        TableSpec other = spec;
        other.seed = 43;
        int sameAsNext = 0, sameAcrossSeeds = 0;
        for (std::uint64_t row = 0; row < spec.samples; ++row) {
            const ParameterValues a = SampleValues(spec, row), b = SampleValues(other, row);
            const double u0 = (a[0] - 1) / 1.5, u4 = (a[4] - 0.1) / 7.9;
            sameAsNext += std::abs(u0 - u4) < 1e-3;
            sameAcrossSeeds += a[1] == b[1];
        }
        EXPECT_LT(sameAsNext, 10);
        EXPECT_EQ(sameAcrossSeeds, 0);
    }
}

}  // namespace
}  // namespace tulmera::lut
