#include "gsa/sobol_indices.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numeric>

#include "gsa/evaluation.h"
#include "gsa/weighted_sums.h"
#include "lut/sampling.h"

namespace tulmera::gsa {
namespace {

// The sums of one estimate over a sample of base rows, for every quantity.
struct Sums {
    std::vector<double> a, b, a2, b2;  // Σ f(A)', Σ f(B)', Σ f(A)'², Σ f(B)'² (about m)
    std::vector<double> first, total;  // per parameter i and quantity q, at i·Q + q

    Sums(std::size_t k, std::size_t q) : a(q), b(q), a2(q), b2(q), first(k * q), total(k * q) {}
};

// Adds base row `row` to the sums; `mean` holds m of every quantity.
void AddRow(const DesignOutputs& o, std::uint64_t row, const std::vector<double>& mean, Sums& s)
{
    const std::size_t Q = o.quantities;
    const double* fA = o.At(row, 0);
    const double* fB = o.At(row, 1);
    for (std::size_t q = 0; q < Q; ++q) {
        const double a = fA[q] - mean[q], b = fB[q] - mean[q];
        s.a[q] += a;
        s.b[q] += b;
        s.a2[q] += a * a;
        s.b2[q] += b * b;
    }
    for (std::size_t i = 0; i < o.parameters; ++i) {
        const double* fAB = o.At(row, 2 + i);
        double* first = s.first.data() + i * Q;
        double* total = s.total.data() + i * Q;
        for (std::size_t q = 0; q < Q; ++q) {
            const double d = fAB[q] - fA[q];
            first[q] += (fB[q] - mean[q]) * d;
            total[q] += d * d;
        }
    }
}

// The indices of quantity q from its sums over n rows: S1 then ST of each parameter.
void IndicesOf(const Sums& s, std::size_t k, std::size_t Q, std::size_t q, double n,
               std::vector<double>& out)
{
    const double twoN = 2.0 * n;
    const double shift = (s.a[q] + s.b[q]) / twoN;
    const double variance = (s.a2[q] + s.b2[q]) / twoN - shift * shift;
    for (std::size_t i = 0; i < k; ++i) {
        const bool varies = variance > 0;
        out.push_back(varies ? s.first[i * Q + q] / n / variance : 0.0);
        out.push_back(varies ? s.total[i * Q + q] / twoN / variance : 0.0);
    }
}

// The base rows of bootstrap resample `r`: N draws with replacement, from counters alone.
std::vector<std::uint64_t> Resample(std::uint64_t N, std::uint64_t seed, int r)
{
    __extension__ using UInt128 = unsigned __int128;
    const std::uint64_t key =
        lut::SplitMix64(seed ^ lut::SplitMix64(static_cast<std::uint64_t>(r) + 1));
    std::vector<std::uint64_t> rows(N);
    for (std::uint64_t j = 0; j < N; ++j) {
        // Multiply-shift maps 64 random bits onto 0 .. N-1 (N a power of two: no bias).
        rows[j] = static_cast<std::uint64_t>((UInt128{lut::SplitMix64(key + j)} * N) >> 64);
    }
    return rows;
}

// The number of times each base row is drawn in bootstrap resamples first .. end - 1: one row
// of N multiplicities per resample (PaddedStride(N) apart).
std::vector<double> Multiplicities(std::uint64_t N, std::uint64_t seed, std::size_t first,
                                   std::size_t end, int threads)
{
    std::vector<double> weights((end - first) * PaddedStride(N), 0.0);
    ForEachPart(end - first, threads, [&](std::size_t from, std::size_t to) {
        for (std::size_t r = from; r < to; ++r) {
            double* w = weights.data() + r * PaddedStride(N);
            for (const std::uint64_t row : Resample(N, seed, static_cast<int>(first + r)))
                w[row] += 1;
        }
    });
    return weights;
}

// The values each buffer of the bootstrap holds at most (the multiplicities of a group of
// resamples, a thread's outputs of a group of quantities): 64 MB, whatever N.
constexpr std::size_t kMostBufferValues = std::size_t{1} << 23;
// Quantities whose outputs are gathered together: four cache lines of each output row, which
// the processor reads ahead better than one.
constexpr std::size_t kQuantityBlock = 32;

// The outputs of quantities q0 .. q1 - 1 as columns over the base rows: matrix m of quantity
// q at ((q - q0)·(k + 2) + m)·PaddedStride(N) (so that the columns written together do not
// share cache sets). One pass over the rows, reading whole cache lines of each, so that the
// terms below read their columns in order.
void GatherColumns(const DesignOutputs& outputs, std::size_t q0, std::size_t q1,
                   std::vector<double>& columns)
{
    const std::uint64_t N = outputs.Rows();
    const std::size_t matrices = outputs.parameters + 2;
    const std::size_t stride = PaddedStride(N);
    for (std::uint64_t j = 0; j < N; ++j) {
        for (std::size_t m = 0; m < matrices; ++m) {
            const double* f = outputs.At(j, m);
            double* to = columns.data() + m * stride + j;
            for (std::size_t q = q0; q < q1; ++q) to[(q - q0) * matrices * stride] = f[q];
        }
    }
}

// The estimators' terms of one quantity over the base rows, from its gathered columns (f(A),
// f(B), then f(A_B^(i)), PaddedStride(N) apart): rows a, b, a², b², then b·d_i and d_i², with
// a = f(A) - m, b = f(B) - m and d_i = f(A_B^(i)) - f(A), each row PaddedStride(N) long.
void EstimatorTerms(const double* f, std::uint64_t N, std::size_t k, double mean, double* terms)
{
    const std::size_t stride = PaddedStride(N);
    const double* fA = f;
    const double* fB = f + stride;
    double* a = terms;
    double* b = terms + stride;
    for (std::uint64_t j = 0; j < N; ++j) {
        a[j] = fA[j] - mean;
        b[j] = fB[j] - mean;
        terms[2 * stride + j] = a[j] * a[j];
        terms[3 * stride + j] = b[j] * b[j];
    }
    for (std::size_t i = 0; i < k; ++i) {
        const double* fAB = f + (2 + i) * stride;
        double* first = terms + (4 + i) * stride;
        double* total = terms + (4 + k + i) * stride;
        for (std::uint64_t j = 0; j < N; ++j) {
            const double d = fAB[j] - fA[j];
            first[j] = b[j] * d;
            total[j] = d * d;
        }
    }
}

// The bootstrap estimates of every quantity (S1 and ST of each parameter) into draws[x][r]
// (x = (q·k + i)·2, + 1 for ST). A resample's sums are those of its rows, each as often as it
// was drawn: Σ_j w_rj·t_j over the N base rows for the estimators' terms t (EstimatorTerms),
// all resamples of a quantity in one matrix product (WeightedSums) instead of a pass over the
// outputs per resample. Quantities in `skip` are left alone.
void BootstrapDraws(const DesignOutputs& outputs, const std::vector<double>& mean,
                    const std::vector<bool>& skip, std::uint64_t seed, int bootstrap, int threads,
                    std::vector<std::vector<double>>& draws)
{
    const std::size_t k = outputs.parameters, Q = outputs.quantities;
    const std::uint64_t N = outputs.Rows();
    const std::size_t columns = 4 + 2 * k;
    const std::size_t stride = PaddedStride(N);
    const double n = static_cast<double>(N);
    const auto B = static_cast<std::size_t>(bootstrap);
    const std::size_t group = std::clamp<std::size_t>(kMostBufferValues / N, 4, B);
    const std::size_t quantityBlock =
        std::clamp<std::size_t>(kMostBufferValues / ((k + 2) * N), 1, kQuantityBlock);
    const std::size_t blocks = (Q + quantityBlock - 1) / quantityBlock;
    // Each worker holds its own outputs and terms: no more workers than 512 MB of them hold.
    const int workers = static_cast<int>(std::clamp<std::size_t>(
        8 * kMostBufferValues / ((k + 2) * quantityBlock * stride + columns * stride), 1,
        static_cast<std::size_t>(std::max(1, threads))));
    for (std::size_t r0 = 0; r0 < B; r0 += group) {
        const std::size_t r1 = std::min(B, r0 + group);
        const std::vector<double> weights = Multiplicities(N, seed, r0, r1, threads);
        ForEachPart(blocks, workers, [&](std::size_t firstBlock, std::size_t endBlock) {
            std::vector<double> gathered((k + 2) * quantityBlock * stride);
            // Zeros in the rows' padding, which the products may read.
            std::vector<double> terms(columns * stride, 0.0);
            std::vector<double> sums((r1 - r0) * columns);
            for (std::size_t block = firstBlock; block < endBlock; ++block) {
                const std::size_t q0 = block * quantityBlock;
                const std::size_t q1 = std::min(Q, q0 + quantityBlock);
                GatherColumns(outputs, q0, q1, gathered);
                for (std::size_t q = q0; q < q1; ++q) {
                    if (skip[q]) continue;
                    EstimatorTerms(gathered.data() + (q - q0) * (k + 2) * stride, N, k, mean[q],
                                   terms.data());
                    WeightedSums(weights.data(), r1 - r0, N, terms.data(), columns, sums.data());
                    for (std::size_t r = 0; r < r1 - r0; ++r) {
                        const double* s = sums.data() + r * columns;
                        const double shift = (s[0] + s[1]) / (2.0 * n);
                        const double variance = (s[2] + s[3]) / (2.0 * n) - shift * shift;
                        const bool varies = variance > 0;
                        for (std::size_t i = 0; i < k; ++i) {
                            draws[(q * k + i) * 2][r0 + r] = varies ? s[4 + i] / n / variance : 0;
                            draws[(q * k + i) * 2 + 1][r0 + r] =
                                varies ? s[4 + k + i] / (2.0 * n) / variance : 0;
                        }
                    }
                }
            }
        });
    }
}

// The value at fraction p (0 .. 1) of sorted `v`, between neighbours linearly.
double Percentile(const std::vector<double>& v, double p)
{
    const double at = p * static_cast<double>(v.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(at));
    const std::size_t above = std::min(below + 1, v.size() - 1);
    const double t = at - static_cast<double>(below);
    return v[below] + (v[above] - v[below]) * t;
}

}  // namespace

std::vector<QuantityIndices> EstimateIndices(const DesignOutputs& outputs, int bootstrap,
                                             std::uint64_t seed, int threads)
{
    const std::size_t k = outputs.parameters, Q = outputs.quantities;
    const std::uint64_t N = outputs.Rows();
    assert(k >= 1 && N >= 2 && bootstrap >= 1);
    const double n = static_cast<double>(N);

    // m of each quantity, and which quantities are defined everywhere.
    std::vector<double> mean(Q, 0.0);
    std::vector<bool> defined(Q, true);
    for (std::uint64_t row = 0; row < N; ++row) {
        for (std::size_t m = 0; m < k + 2; ++m) {
            const double* f = outputs.At(row, m);
            for (std::size_t q = 0; q < Q; ++q) {
                if (!std::isfinite(f[q])) defined[q] = false;
            }
        }
        for (std::size_t q = 0; q < Q; ++q)
            mean[q] += outputs.At(row, 0)[q] + outputs.At(row, 1)[q];
    }
    for (std::size_t q = 0; q < Q; ++q) mean[q] /= 2.0 * n;

    const auto estimate = [&]() {
        Sums sums(k, Q);
        for (std::uint64_t j = 0; j < N; ++j) AddRow(outputs, j, mean, sums);
        std::vector<double> indices;  // q after q, then i, then S1 and ST
        indices.reserve(Q * k * 2);
        for (std::size_t q = 0; q < Q; ++q) IndicesOf(sums, k, Q, q, n, indices);
        return indices;
    };
    const std::vector<double> point = estimate();
    // A quantity that does not vary has no shares to give: its "indices" would be noise.
    std::vector<bool> skip(Q);
    for (std::size_t q = 0; q < Q; ++q) {
        double spread = 0;
        for (std::size_t i = 0; i < k; ++i) spread += point[q * k * 2 + 2 * i + 1];
        skip[q] = !defined[q] || spread == 0;
    }
    std::vector<std::vector<double>> draws(
        point.size(), std::vector<double>(static_cast<std::size_t>(bootstrap)));
    BootstrapDraws(outputs, mean, skip, seed, bootstrap, threads, draws);

    std::vector<QuantityIndices> result(Q);
    for (std::size_t q = 0; q < Q; ++q) {
        const std::size_t at0 = q * k * 2;
        if (skip[q]) continue;
        std::vector<ParameterIndices> parameters(k);
        for (std::size_t i = 0; i < k; ++i) {
            for (const int which : {0, 1}) {
                std::vector<double>& d = draws[at0 + 2 * i + static_cast<std::size_t>(which)];
                std::sort(d.begin(), d.end());
                IndexEstimate& e = which == 0 ? parameters[i].S1 : parameters[i].ST;
                e = {point[at0 + 2 * i + static_cast<std::size_t>(which)], Percentile(d, 0.025),
                     Percentile(d, 0.975)};
            }
        }
        result[q] = std::move(parameters);
    }
    return result;
}

}  // namespace tulmera::gsa
