#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "gsa/gsa_spec.h"

// The sample design of Saltelli et al. (2010, Computer Physics Communications 181:259-270):
// two independent N × k matrices A and B and, for each varied parameter i, the matrix A_B^(i)
// whose column i comes from B and all others from A. Row j of A and B is point j of a
// 2k-dimensional Sobol sequence (Boost.Random's `sobol`, which leaves out the origin and
// starts at (0.5, ..., 0.5)), its first k coordinates for A and the last k for B.
namespace tulmera::gsa {

// The matrices of one base row, in the order every file and estimator uses.
inline constexpr std::size_t kMatrixA = 0;
inline constexpr std::size_t kMatrixB = 1;
// A_B^(i) is matrix kMatrixA_B + i (i counts the varied parameters from 0).
inline constexpr std::size_t kMatrixA_B = 2;

// The matrices of one base row in the order its simulations run: A, the A_B^(i) of the canopy
// inputs (A's leaf under other canopies), B, then the A_B^(i) of the leaf inputs, so that the
// engine computes each leaf once for the sets that share it one after the other.
std::vector<std::size_t> SimulationOrder(const std::vector<std::size_t>& varied);

// The Sobol points of base rows first .. end - 1: (end - first) rows of 2k coordinates in
// [0, 1), row after row. Needs 1 <= k and 2k at most Boost's table of dimensions.
std::vector<double> SobolRows(std::size_t k, std::uint64_t first, std::uint64_t end);

// The coordinate in [0, 1) of varied parameter i (0 .. k-1) in matrix `matrix` at the base
// row whose Sobol point is `point`: from B's half for B and for A_B^(i), else from A's.
double DesignUnit(const double* point, std::size_t k, std::size_t matrix, std::size_t i);

// One value of each input (kInputNames order).
using InputValues = std::array<double, kInputCount>;

// The input values of matrix `matrix` (kMatrixA, kMatrixB or kMatrixA_B + i) at the base row
// whose Sobol point is `point` (2k coordinates): each varied input (`varied`, see
// VariedParameters) lo + (hi - lo)·u, the held ones at their value.
InputValues DesignValues(const GsaSpec& spec, const std::vector<std::size_t>& varied,
                         const double* point, std::size_t matrix);

}  // namespace tulmera::gsa
