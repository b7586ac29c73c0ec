#include "gsa/evaluation.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>

#include "parallel/parallel_for.h"
#include "textio/error.h"

namespace tulmera::gsa {
namespace {

constexpr std::size_t kChunkSets = 16;  // sets between two progress reports

// The first failure over all workers: the lowest position, whatever thread met it first.
struct Failure {
    std::mutex mutex;
    std::optional<std::size_t> at;
    std::string message;

    void Record(std::size_t position, const std::string& what)
    {
        const std::lock_guard lock(mutex);
        if (at && *at < position) return;
        at = position;
        message = what;
    }
};

}  // namespace

void ForEachPart(std::size_t count, int threads,
                 const std::function<void(std::size_t first, std::size_t end)>& work)
{
    if (count == 0) return;
    const std::size_t parts =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(1, threads)), 1, count);
    parallel::LoopOptions loop;
    loop.threads = static_cast<int>(parts);
    loop.grain = (count + parts - 1) / parts;
    parallel::ParallelFor(count, loop, work);
}

std::vector<lut::Simulator::WithFluxes> EvaluateSimulations(
    const lut::TableSpec& model, bool withFluxes, std::span<const lut::ParameterValues> sets,
    const EvaluationOptions& options)
{
    std::vector<lut::Simulator::WithFluxes> products(sets.size());
    std::atomic<std::uint64_t> done{0};
    Failure failure;
    // Each part computes its sets in order and stops at its first failure: every set below
    // the lowest failure is then computed by some part.
    ForEachPart(sets.size(), options.threads, [&](std::size_t first, std::size_t end) {
        try {
            lut::Simulator simulator(model);
            for (std::size_t chunk = first; chunk < end; chunk += kChunkSets) {
                if (options.cancel && options.cancel->load(std::memory_order_relaxed)) return;
                const std::size_t chunkEnd = std::min(chunk + kChunkSets, end);
                for (std::size_t s = chunk; s < chunkEnd; ++s) {
                    try {
                        if (withFluxes) {
                            products[s] = simulator.SimulateWithFluxes(sets[s]);
                        } else {
                            products[s].reflectance = simulator.Simulate(sets[s]);
                        }
                    } catch (const std::exception& e) {
                        failure.Record(s, e.what());
                        return;
                    }
                }
                const std::uint64_t total = done.fetch_add(chunkEnd - chunk) + (chunkEnd - chunk);
                if (options.progress) options.progress(total);
            }
        } catch (const std::exception& e) {  // the simulator's leaf architecture or soil
            failure.Record(first, e.what());
        }
    });
    if (failure.at) {
        throw Error("The simulation with " + lut::DescribeValues(sets[*failure.at])
                    + " failed: " + failure.message);
    }
    return products;
}

}  // namespace tulmera::gsa
