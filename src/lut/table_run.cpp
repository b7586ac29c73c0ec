#include "lut/table_run.h"

#include <algorithm>
#include <array>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "lut/physical_row.h"
#include "lut/sampling.h"
#include "lut/simulation.h"
#include "textio/error.h"

namespace tulmera::lut {
namespace {

constexpr std::uint64_t kBlockRows = 8192;  // rows computed between two writes
constexpr std::uint64_t kChunkRows = 32;    // rows a worker takes at a time

// The first failure of a block: the lowest row, whatever thread met it first.
struct Failure {
    std::mutex mutex;
    std::optional<std::uint64_t> row;
    std::string message;

    void Record(std::uint64_t at, const std::string& what)
    {
        const std::lock_guard lock(mutex);
        if (row && *row < at) return;
        row = at;
        message = what;
    }
};

void ComputeRow(const TableSpec& spec, Simulator& simulator, std::uint64_t row, TableRows& block)
{
    const ParameterValues values = SampleValues(spec, row);
    spectral::Spectrum reflectance = simulator.Simulate(values);
    KeepPhysicalRow(reflectance);
    const std::size_t at = static_cast<std::size_t>(row - block.firstRow);
    std::copy(values.begin(), values.end(),
              block.parameters.begin() + static_cast<std::ptrdiff_t>(at * kParameterCount));
    float* out = block.reflectance.data() + at * spectral::kWavelengthCount;
    for (std::size_t i = 0; i < reflectance.size(); ++i)
        out[i] = static_cast<float>(reflectance[i]);
}

}  // namespace

RowRange ShardRows(std::uint64_t samples, std::uint64_t index, std::uint64_t count)
{
    __extension__ using UInt128 = unsigned __int128;  // samples · count may exceed 64 bits
    const auto at = [&](std::uint64_t k) {
        return static_cast<std::uint64_t>(UInt128{samples} * k / count);
    };
    return {at(index), at(index + 1)};
}

namespace {

// Computes the rows of `block` (its firstRow set, its vectors sized) on `threads` new
// threads; meanwhile this thread runs `meanwhile` (the write of the previous block: the HDF5
// library is called from one thread only).
void ComputeBlock(const TableSpec& spec, const RunOptions& options, int threads,
                  std::atomic<std::uint64_t>& done, TableRows& block,
                  const std::function<void()>& meanwhile)
{
    const std::uint64_t first = block.firstRow, end = first + block.Count();
    std::atomic<std::uint64_t> next{first};
    // Rows from the lowest failing one on are not needed; every row below it is computed,
    // so the failure reported is the lowest of the block whatever the threads' timing.
    std::atomic<std::uint64_t> limit{end};
    Failure failure;
    const auto work = [&] {
        std::optional<Simulator> simulator;
        for (;;) {
            if (options.cancel && options.cancel->load(std::memory_order_relaxed)) return;
            const std::uint64_t chunk = next.fetch_add(kChunkRows);
            if (chunk >= limit.load()) return;
            const std::uint64_t chunkEnd = std::min(chunk + kChunkRows, end);
            for (std::uint64_t row = chunk; row < chunkEnd; ++row) {
                try {
                    if (!simulator) simulator.emplace(spec);
                    ComputeRow(spec, *simulator, row, block);
                } catch (const std::exception& e) {
                    failure.Record(row, e.what());
                    std::uint64_t seen = limit.load();
                    while (row < seen && !limit.compare_exchange_weak(seen, row)) {
                    }
                    return;
                }
            }
            const std::uint64_t total = done.fetch_add(chunkEnd - chunk) + (chunkEnd - chunk);
            if (options.progress) options.progress(total);
        }
    };
    {
        std::vector<std::jthread> workers;
        for (int t = 0; t < threads; ++t) workers.emplace_back(work);
        meanwhile();  // a failure here waits for the workers (jthread joins), then propagates
    }
    if (failure.row) {
        throw Error("The simulation of row " + std::to_string(*failure.row) + " ("
                    + DescribeValues(SampleValues(spec, *failure.row))
                    + ") failed: " + failure.message);
    }
    if (options.cancel && options.cancel->load()) {
        throw Error("The run was interrupted; no table was written.");
    }
}

}  // namespace

void ComputeRows(const TableSpec& spec, const RunOptions& options, TableWriter& writer)
{
    const int threads = std::max(1, options.threads);
    std::atomic<std::uint64_t> done{0};
    // Two blocks: this thread writes one while the workers compute the next.
    std::array<TableRows, 2> blocks;
    TableRows* written = nullptr;
    std::size_t current = 0;
    for (std::uint64_t first = options.rows.first; first < options.rows.end; first += kBlockRows) {
        const std::uint64_t end = std::min(first + kBlockRows, options.rows.end);
        TableRows& block = blocks[current];
        block.firstRow = first;
        block.parameters.assign((end - first) * kParameterCount, 0.0);
        block.reflectance.assign((end - first) * spectral::kWavelengthCount, 0.0f);
        ComputeBlock(spec, options, threads, done, block, [&] {
            if (written) writer.Append(*written);
        });
        written = &block;
        current = 1 - current;
    }
    if (written) writer.Append(*written);
}

void WriteTable(const std::filesystem::path& file, const TableSpec& spec, const RunOptions& options)
{
    const std::unique_ptr<TableWriter> writer =
        OpenTableWriter(file, {spec, options.rows.first, options.rows.end - options.rows.first});
    ComputeRows(spec, options, *writer);
    writer->Commit();
}

}  // namespace tulmera::lut
