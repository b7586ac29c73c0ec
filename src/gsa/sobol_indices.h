#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// First- and total-order Sobol indices from the outputs of a Saltelli design, with bootstrap
// intervals. Independent of the model: any function evaluated on the design will do.
namespace tulmera::gsa {

// The model outputs on a Saltelli design: for each base row, for each matrix (A, B, then
// A_B^(1) .. A_B^(k), see saltelli_design.h), one value per quantity. NaN marks a value the
// model left undefined.
struct DesignOutputs {
    std::size_t parameters = 0;  // k, at least 1
    std::size_t quantities = 0;  // Q
    std::uint64_t firstRow = 0;  // the base row of the first values (shards start later)
    std::vector<double> values;  // rows × (k + 2) × Q, row after row, matrix after matrix

    std::uint64_t Rows() const
    {
        const std::size_t perRow = (parameters + 2) * quantities;
        return perRow == 0 ? 0 : values.size() / perRow;
    }
    // The values of the Q quantities of matrix `matrix` at base row firstRow + row.
    const double* At(std::uint64_t row, std::size_t matrix) const
    {
        return values.data() + (row * (parameters + 2) + matrix) * quantities;
    }
};

// An index and its bootstrap 95 % interval.
struct IndexEstimate {
    double value = 0;
    double low = 0;   // 2.5th percentile of the bootstrap estimates
    double high = 0;  // 97.5th percentile
};

struct ParameterIndices {
    IndexEstimate S1;  // first order: the share of the variance this parameter alone explains
    IndexEstimate ST;  // total order: its share with all its interactions
};

// The indices of one quantity, one entry per parameter; empty when the quantity has no
// indices: a value of it was undefined, or it did not vary over the design.
using QuantityIndices = std::optional<std::vector<ParameterIndices>>;

// The indices of every quantity of `outputs` (which hold the whole design, N >= 2 rows):
//   V    = the variance of the 2N values f(A), f(B), about their mean m,
//   S1_i = (1/N) Σ_j (f(B)_j - m)·(f(A_B^(i))_j - f(A)_j) / V   (Saltelli et al. 2010, Table 2 b)
//   ST_i = (1/2N) Σ_j (f(A)_j - f(A_B^(i))_j)² / V                (Jansen 1999)
// f(B) taken about m leaves the estimator's expectation as in the paper (E f(A_B^(i)) =
// E f(A)) and spares it the noise of the output's offset (a REIP near 720 nm). The intervals
// come from `bootstrap` resamples of the base rows, drawn with replacement by counter from
// `seed` (the same numbers on every machine and thread count); a resample with no variance
// counts as indices 0. The point estimates sum in row order; each resample's sums are one
// matrix product of its rows' multiplicities and the estimators' terms (weighted_sums.h), so
// equal outputs give equal bits on any number of `threads` (the quantities are shared among
// them) on one instruction set.
std::vector<QuantityIndices> EstimateIndices(const DesignOutputs& outputs, int bootstrap,
                                             std::uint64_t seed, int threads = 1);

}  // namespace tulmera::gsa
