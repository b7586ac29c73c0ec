// Compiled once for each x86-64 instruction set Highway knows (foreach_target.h); the best
// one the machine has runs. Four weight rows by two or four value columns at a time, so that
// each vector loaded feeds several products, over passes short enough to stay in the cache:
// the loop is bound by arithmetic rather than by loads.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "gsa/weighted_sums.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// clang-format off
#include "hwy/highway.h"
// clang-format on

#include <algorithm>

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

// out[r·outStride + c] += Σ weights[r][j]·values[c][j] over j in [from, to), for R weight rows
// and C value columns.
template <std::size_t R, std::size_t C>
void Block(const double* const* w, const double* const* v, std::size_t from, std::size_t to,
           double* out, std::size_t outStride)
{
    const hn::ScalableTag<double> d;
    const std::size_t lanes = hn::Lanes(d);
    using V = hn::Vec<decltype(d)>;
    // Unrolled whole, so that the sums live in registers (-O2 would keep loops of arrays).
    V sum[R][C];
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r)
#pragma GCC unroll 4
        for (std::size_t c = 0; c < C; ++c) sum[r][c] = hn::Zero(d);
    std::size_t j = from;
    for (; j + lanes <= to; j += lanes) {
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
    for (std::size_t r = 0; r < R; ++r) {
        for (std::size_t c = 0; c < C; ++c) {
            double total = hn::GetLane(hn::SumOfLanes(d, sum[r][c]));
            for (std::size_t tail = j; tail < to; ++tail) total += w[r][tail] * v[c][tail];
            out[r * outStride + c] += total;
        }
    }
}

template <std::size_t R>
void Rows(const double* const* w, const double* values, std::size_t n, std::size_t from,
          std::size_t to, std::size_t columns, double* out, std::size_t outStride)
{
    n = PaddedStride(n);
    std::size_t c = 0;
    for (; c + kColumnsAtOnce <= columns; c += kColumnsAtOnce) {
        const double* v[kColumnsAtOnce];
        for (std::size_t i = 0; i < kColumnsAtOnce; ++i) v[i] = values + (c + i) * n;
        Block<R, kColumnsAtOnce>(w, v, from, to, out + c, outStride);
    }
    for (; c + 2 <= columns; c += 2) {
        const double* v[2] = {values + c * n, values + (c + 1) * n};
        Block<R, 2>(w, v, from, to, out + c, outStride);
    }
    for (; c < columns; ++c) {
        const double* v[1] = {values + c * n};
        Block<R, 1>(w, v, from, to, out + c, outStride);
    }
}

void WeightedSums(const double* weights, std::size_t rows, std::size_t n, const double* values,
                  std::size_t columns, double* out)
{
    std::fill(out, out + rows * columns, 0.0);
    const std::size_t stride = PaddedStride(n);
    for (std::size_t from = 0; from < n; from += kStepsPerPass) {
        const std::size_t to = std::min(n, from + kStepsPerPass);
        std::size_t r = 0;
        for (; r + 4 <= rows; r += 4) {
            const double* w[4] = {weights + r * stride, weights + (r + 1) * stride,
                                  weights + (r + 2) * stride, weights + (r + 3) * stride};
            Rows<4>(w, values, n, from, to, columns, out + r * columns, columns);
        }
        for (; r < rows; ++r) {
            const double* w[1] = {weights + r * stride};
            Rows<1>(w, values, n, from, to, columns, out + r * columns, columns);
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
