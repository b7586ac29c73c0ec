#pragma once
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "lut/table.h"

namespace tulmera::lut {

// The rows first .. end - 1 of shard `index` (0 .. count-1) of a table of `samples` rows:
// contiguous ranges in shard order, their sizes differing by at most one.
struct RowRange {
    std::uint64_t first = 0;
    std::uint64_t end = 0;
};
RowRange ShardRows(std::uint64_t samples, std::uint64_t index, std::uint64_t count);

struct RunOptions {
    RowRange rows;    // the rows to compute, within 0 .. spec.samples
    int threads = 1;  // workers, at least 1
    // Set from outside (a signal handler) to stop the run; the rows are then not written.
    const std::atomic<bool>* cancel = nullptr;
    // Called from the workers with the number of rows done so far; must be thread-safe.
    std::function<void(std::uint64_t done)> progress;
};

// Computes the rows of `spec` that `options` asks for, on options.threads threads, and hands
// them to `writer` in order, a block at a time, from this thread while the workers compute
// the next block.
// Throws tulmera::Error naming the lowest failing row and its parameters when a model fails
// at a sample, or saying the run was interrupted when *options.cancel became true; the
// writer then has not been committed.
void ComputeRows(const TableSpec& spec, const RunOptions& options, TableWriter& writer);

// ComputeRows into `file` (its format by extension), committed when every row is written.
void WriteTable(const std::filesystem::path& file, const TableSpec& spec,
                const RunOptions& options);

// Each row's parameters must be those its seed and sampling give, and its reflectances lie in
// 0 to 1 as every table run keeps them: a shard edited and given a matching digest is refused.
// Throws tulmera::Error naming `file` (the shard `table` was read from) and the first bad row.
void CheckShardRows(const std::filesystem::path& file, const Table& table);

// Joins shard files (in any order) into `out` (its format by extension): they must describe
// the same table and together hold each of its rows exactly once. Throws tulmera::Error naming
// the file at fault, or the missing or repeated rows, with nothing written under `out`.
void MergeShards(const std::filesystem::path& out,
                 const std::vector<std::filesystem::path>& shards);

}  // namespace tulmera::lut
