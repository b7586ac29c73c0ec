#pragma once
#include <string>
#include <string_view>

#include "batch/batch_arguments.h"
#include "lut/table_run.h"

// The options the commands over many simulations share (lut, gsa): seeds, ranges, shards,
// threads. A stop signal ends the whole process (stop_signals.h), removing its temporaries.
namespace tulmera::batch {

// Seeds below it are written exactly as number text.
inline constexpr double kLargestSeed = 1e15;

// The whole number `text` in lowest .. limit - 1. Throws UsageError(what) otherwise.
double WholeValue(std::string_view text, double lowest, double limit, const std::string& what);

// The rows of `--shard k/n` among `samples` (lut::ShardRows), or all of them without it.
// Throws UsageError for a shard that is not k/n with 0 <= k < n.
lut::RowRange ShardFrom(const BatchArguments& arguments, std::uint64_t samples);

// Reads "P=lo:hi" into the range of P of `spec` (varies = true; the range itself is checked
// by lut::RangeProblem later). Throws UsageError for a malformed text, an unknown parameter,
// one that spec.leafModel does not read (Cm for prospect-pro, Car for classic), a parameter
// given twice or also held by its own option (--lai, ...).
void ReadRange(const std::string& text, const BatchArguments& arguments, lut::TableSpec& spec);

// --threads T, 1 .. 1024, by default every core.
int ThreadsFrom(const BatchArguments& arguments);

}  // namespace tulmera::batch
