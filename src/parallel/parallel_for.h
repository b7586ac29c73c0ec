#pragma once
#include <atomic>
#include <cstddef>
#include <functional>

// The one parallel loop of the program: every bulk computation (tables, fits, sweeps, the
// engine's batches) splits its index range through it, so that thread counts, progress and
// cancellation behave the same everywhere.
namespace tulmera::parallel {

// How a loop runs.
struct LoopOptions {
    int threads = 1;        // workers, at least 1; 1 runs on the calling thread
    std::size_t grain = 1;  // indices a worker takes at a time, at least 1
    // Set from outside (a signal handler, a window's stop button) to stop taking new chunks.
    const std::atomic<bool>* cancel = nullptr;
    // Called after each finished chunk with the number of indices done so far, from the
    // workers: it must be thread-safe.
    std::function<void(std::size_t done)> progress;
    // Run on the calling thread while `threads` new workers run the loop (the write of the
    // previous block of a table, for example); when set, the loop always uses new threads.
    std::function<void()> meanwhile;
};

// Calls body(begin, end) on consecutive chunks of 0 .. count-1 (each at most options.grain
// long, chunk boundaries at multiples of the grain), on options.threads threads, each chunk
// once. The bodies must write disjoint results: the result of an index then does not depend
// on the thread count or on which worker took it. Returns false when options.cancel stopped
// the loop (some chunks were not run), true when every chunk ran. When bodies throw, every
// worker stops taking chunks and the exception of the lowest chunk that threw (of those that ran)
// is rethrown after all workers ended (and after `meanwhile`; an exception of `meanwhile` is
// rethrown first).
bool ParallelFor(std::size_t count, const LoopOptions& options,
                 const std::function<void(std::size_t begin, std::size_t end)>& body);

// The number of hardware threads, at least 1: the default worker count of the programs.
int HardwareThreads();

}  // namespace tulmera::parallel
