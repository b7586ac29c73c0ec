#include "gsa/sobol_indices.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numeric>

#include "gsa/evaluation.h"
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

    const auto estimate = [&](const std::vector<std::uint64_t>* rows) {
        Sums sums(k, Q);
        for (std::uint64_t j = 0; j < N; ++j) AddRow(outputs, rows ? (*rows)[j] : j, mean, sums);
        std::vector<double> indices;  // q after q, then i, then S1 and ST
        indices.reserve(Q * k * 2);
        for (std::size_t q = 0; q < Q; ++q) IndicesOf(sums, k, Q, q, n, indices);
        return indices;
    };
    const std::vector<double> point = estimate(nullptr);
    std::vector<std::vector<double>> draws(
        point.size(), std::vector<double>(static_cast<std::size_t>(bootstrap)));
    ForEachPart(
        static_cast<std::size_t>(bootstrap), threads, [&](std::size_t first, std::size_t end) {
            for (std::size_t r = first; r < end; ++r) {
                const std::vector<std::uint64_t> rows = Resample(N, seed, static_cast<int>(r));
                const std::vector<double> again = estimate(&rows);
                for (std::size_t x = 0; x < again.size(); ++x) draws[x][r] = again[x];
            }
        });

    std::vector<QuantityIndices> result(Q);
    for (std::size_t q = 0; q < Q; ++q) {
        // A quantity that does not vary has no shares to give: its "indices" would be noise.
        const std::size_t at0 = q * k * 2;
        double spread = 0;
        for (std::size_t i = 0; i < k; ++i) spread += point[at0 + 2 * i + 1];
        if (!defined[q] || spread == 0) continue;
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
