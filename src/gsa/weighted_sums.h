#pragma once
#include <cstddef>

// The bootstrap's arithmetic: many weighted sums of the same columns at once, a small matrix
// product in vectors of as many doubles as the machine's registers hold (Highway, chosen at run
// time for the machine's instruction set).
namespace tulmera::gsa {

// The stride between rows of n values in the buffers of WeightedSums: n and a cache line more,
// so that the rows read together do not fall into the same cache sets (rows a power of two
// apart would, and evict one another).
inline std::size_t PaddedStride(std::size_t n) { return n + 8; }

// out[r·columns + c] = Σ_{j < n} weights[r·stride + j] · values[c·stride + j] for r < rows,
// c < columns, with stride = PaddedStride(n). The sums run in a fixed order of lanes and steps:
// the same inputs give the same bits on one instruction set, whatever the thread (another one
// may differ in the last bits).
void WeightedSums(const double* weights, std::size_t rows, std::size_t n, const double* values,
                  std::size_t columns, double* out);

}  // namespace tulmera::gsa
