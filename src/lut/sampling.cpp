#include "lut/sampling.h"

#include <algorithm>
#include <bit>

#include "textio/printed_value.h"

namespace tulmera::lut {
namespace {

constexpr int kFeistelRounds = 4;

// Bits that depend on `a` and `b`, for deriving the streams of the samples.
std::uint64_t Mix(std::uint64_t a, std::uint64_t b) { return SplitMix64(a ^ SplitMix64(b)); }

// Stream tags: the bits of each parameter's jitter and of its permutation are independent.
constexpr std::uint64_t kJitterStream = 1;
constexpr std::uint64_t kPermutationStream = 2;

std::uint64_t StreamKey(std::uint64_t seed, std::size_t parameter, std::uint64_t stream)
{
    return Mix(Mix(seed, stream), parameter);
}

}  // namespace

std::uint64_t SplitMix64(std::uint64_t x)
{
    std::uint64_t z = x + 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

double UnitFromBits(std::uint64_t bits)
{
    constexpr double kTwoToMinus53 = 1.0 / 9007199254740992.0;
    return static_cast<double>(bits >> 11) * kTwoToMinus53;
}

std::uint64_t PermuteIndex(std::uint64_t index, std::uint64_t count, std::uint64_t key)
{
    int bits = static_cast<int>(std::bit_width(count - 1));
    bits = bits < 2 ? 2 : bits + (bits & 1);  // even, at least 2
    const int half = bits / 2;
    const std::uint64_t mask = (std::uint64_t{1} << half) - 1;
    std::uint64_t x = index;
    do {  // cycle walking: a bijection of 0 .. 2^bits - 1 restricted to 0 .. count - 1
        std::uint64_t left = x >> half, right = x & mask;
        for (int round = 0; round < kFeistelRounds; ++round) {
            const std::uint64_t next =
                left ^ (Mix(key + static_cast<std::uint64_t>(round), right) & mask);
            left = right;
            right = next;
        }
        x = (left << half) | right;
    } while (x >= count);
    return x;
}

ParameterValues SampleValues(const TableSpec& spec, std::uint64_t row)
{
    ParameterValues values{};
    for (std::size_t p = 0; p < values.size(); ++p) {
        const ParameterRange& range = spec.ranges[p];
        if (!range.varies) {
            values[p] = range.lo;
            continue;
        }
        const double jitter = UnitFromBits(Mix(StreamKey(spec.seed, p, kJitterStream), row));
        double u = jitter;
        if (spec.sampling == Sampling::LatinHypercube) {
            const std::uint64_t stratum =
                PermuteIndex(row, spec.samples, StreamKey(spec.seed, p, kPermutationStream));
            u = (static_cast<double>(stratum) + jitter) / static_cast<double>(spec.samples);
        }
        // Ends typed with more than 15 digits could round outside the range: kept inside.
        values[p] = std::clamp(textio::PrintedValue(range.lo + (range.hi - range.lo) * u), range.lo,
                               range.hi);
    }
    return values;
}

}  // namespace tulmera::lut
