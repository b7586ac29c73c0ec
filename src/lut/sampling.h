#pragma once
#include <cstdint>

#include "lut/table_spec.h"

// The samples of a table, drawn by counter: the values of row i depend only on the seed, the
// number of rows, the ranges and i, never on which thread or shard computes the row. The
// arithmetic is our own (SplitMix64 for bits, a Feistel network for the Latin hypercube's
// strata), not the standard library's distributions, whose results differ between libraries.
namespace tulmera::lut {

// SplitMix64's output function (Steele, Lea & Flood 2014): 64 well-mixed bits of x.
std::uint64_t SplitMix64(std::uint64_t x);

// A double in [0, 1) from the top 53 bits of `bits`: every multiple of 2^-53 equally likely.
double UnitFromBits(std::uint64_t bits);

// A bijection of 0 .. count-1 chosen by `key`: a four-round Feistel network over the smallest
// even number of bits that covers count, walked until it lands below count. count >= 1.
std::uint64_t PermuteIndex(std::uint64_t index, std::uint64_t count, std::uint64_t key);

// The parameter values of row `row` (0 .. spec.samples-1). A held parameter is its lo as
// given. A varying one is lo + (hi - lo)·u, rounded to the 15 significant digits of the
// number text so that the value written as text reads back as the very value simulated:
// with Latin hypercube sampling u = (stratum + jitter) / samples, each parameter visiting
// every one of the `samples` strata once over the table; with uniform sampling u is drawn
// afresh for every row and parameter.
ParameterValues SampleValues(const TableSpec& spec, std::uint64_t row);

}  // namespace tulmera::lut
