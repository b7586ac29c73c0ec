// Compiled once for each x86-64 instruction set Highway knows (foreach_target.h); the best
// one the machine has runs. Four weight rows by two or four value columns at a time, so that
// each vector loaded feeds several products, over passes short enough to stay in the cache,
// the sums kept as vectors until the end: the loop is bound by arithmetic rather than by loads.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "gsa/weighted_sums.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// clang-format off
#include "hwy/highway.h"
// clang-format on

#include <algorithm>
#include <vector>

#include "gsa/weighted_sums.h"

HWY_BEFORE_NAMESPACE();
namespace tulmera::gsa::detail {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Value columns at a time: as many as the registers hold beside four rows' sums (32 registers
// with AVX-512, 16 below it).
#if HWY_TARGET <= HWY_AVX3
constexpr std::size_t kColumnsAtOnce = 4;
#else
constexpr std::size_t kColumnsAtOnce = 2;
#endif
// Steps of j per pass: a pass's values of every column and four weight rows stay in the first
// level cache while every row and column block reads them.
constexpr std::size_t kStepsPerPass = 128;

// partial[r·partialStride + c·lanes ..] += the lanes of Σ weights[r][j]·values[c][j] over
// whole vectors of j in [from, to), for R weight rows and C value columns. The sums stay
// vectors from pass to pass: a pass is too short to pay for adding up the lanes each time.
template <std::size_t R, std::size_t C>
void Block(const double* const* w, const double* const* v, std::size_t from, std::size_t to,
           double* partial, std::size_t partialStride)
{
    const hn::ScalableTag<double> d;
    const std::size_t lanes = hn::Lanes(d);
    using V = hn::Vec<decltype(d)>;
    // Unrolled whole, so that the sums live in registers (-O2 would keep loops of arrays).
    V sum[R][C];
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r)
#pragma GCC unroll 4
        for (std::size_t c = 0; c < C; ++c)
            sum[r][c] = hn::LoadU(d, partial + r * partialStride + c * lanes);
    for (std::size_t j = from; j < to; j += lanes) {
        V values[C];
#pragma GCC unroll 4
        for (std::size_t c = 0; c < C; ++c) values[c] = hn::LoadU(d, v[c] + j);
#pragma GCC unroll 4
        for (std::size_t r = 0; r < R; ++r) {
            const V weight = hn::LoadU(d, w[r] + j);
#pragma GCC unroll 4
            for (std::size_t c = 0; c < C; ++c)
                sum[r][c] = hn::MulAdd(weight, values[c], sum[r][c]);
        }
    }
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r)
#pragma GCC unroll 4
        for (std::size_t c = 0; c < C; ++c)
            hn::StoreU(sum[r][c], d, partial + r * partialStride + c * lanes);
}

template <std::size_t R>
void Rows(const double* const* w, const double* values, std::size_t n, std::size_t from,
          std::size_t to, std::size_t columns, double* partial, std::size_t partialStride)
{
    const std::size_t lanes = hn::Lanes(hn::ScalableTag<double>());
    n = PaddedStride(n);
    std::size_t c = 0;
    for (; c + kColumnsAtOnce <= columns; c += kColumnsAtOnce) {
        const double* v[kColumnsAtOnce];
        for (std::size_t i = 0; i < kColumnsAtOnce; ++i) v[i] = values + (c + i) * n;
        Block<R, kColumnsAtOnce>(w, v, from, to, partial + c * lanes, partialStride);
    }
    for (; c + 2 <= columns; c += 2) {
        const double* v[2] = {values + c * n, values + (c + 1) * n};
        Block<R, 2>(w, v, from, to, partial + c * lanes, partialStride);
    }
    for (; c < columns; ++c) {
        const double* v[1] = {values + c * n};
        Block<R, 1>(w, v, from, to, partial + c * lanes, partialStride);
    }
}

void WeightedSums(const double* weights, std::size_t rows, std::size_t n, const double* values,
                  std::size_t columns, double* out)
{
    const hn::ScalableTag<double> d;
    const std::size_t lanes = hn::Lanes(d);
    const std::size_t stride = PaddedStride(n);
    const std::size_t vectorsEnd = n / lanes * lanes;
    // The lanes of every sum, row after row (columns · lanes values a row).
    const std::size_t partialStride = columns * lanes;
    std::vector<double> partial(rows * partialStride, 0.0);
    for (std::size_t from = 0; from < vectorsEnd; from += kStepsPerPass) {
        const std::size_t to = std::min(vectorsEnd, from + kStepsPerPass);
        std::size_t r = 0;
        for (; r + 4 <= rows; r += 4) {
            const double* w[4] = {weights + r * stride, weights + (r + 1) * stride,
                                  weights + (r + 2) * stride, weights + (r + 3) * stride};
            Rows<4>(w, values, n, from, to, columns, partial.data() + r * partialStride,
                    partialStride);
        }
        for (; r < rows; ++r) {
            const double* w[1] = {weights + r * stride};
            Rows<1>(w, values, n, from, to, columns, partial.data() + r * partialStride,
                    partialStride);
        }
    }
    // The lanes added up, then the steps after the last whole vector: a fixed order.
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < columns; ++c) {
            double total = hn::GetLane(
                hn::SumOfLanes(d, hn::LoadU(d, partial.data() + r * partialStride + c * lanes)));
            for (std::size_t j = vectorsEnd; j < n; ++j)
                total += weights[r * stride + j] * values[c * stride + j];
            out[r * columns + c] = total;
        }
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace tulmera::gsa::detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tulmera::gsa {
namespace detail {
HWY_EXPORT(WeightedSums);
}  // namespace detail

void WeightedSums(const double* weights, std::size_t rows, std::size_t n, const double* values,
                  std::size_t columns, double* out)
{
    HWY_DYNAMIC_DISPATCH(detail::WeightedSums)(weights, rows, n, values, columns, out);
}

}  // namespace tulmera::gsa
#endif  // HWY_ONCE
