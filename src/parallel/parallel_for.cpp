#include "parallel/parallel_for.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tulmera::parallel {
namespace {

// The exception of the lowest chunk that threw.
struct FirstException {
    std::mutex mutex;
    std::size_t chunk = 0;
    std::exception_ptr error;

    void Record(std::size_t at, std::exception_ptr e)
    {
        const std::lock_guard lock(mutex);
        if (error && chunk < at) return;
        chunk = at;
        error = std::move(e);
    }
};

}  // namespace

bool ParallelFor(std::size_t count, const LoopOptions& options,
                 const std::function<void(std::size_t begin, std::size_t end)>& body)
{
    const std::size_t grain = std::max<std::size_t>(1, options.grain);
    const std::size_t chunks = (count + grain - 1) / grain;
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> failed{false};
    FirstException first;
    const auto cancelled = [&] {
        return options.cancel != nullptr && options.cancel->load(std::memory_order_relaxed);
    };
    const auto work = [&] {
        for (;;) {
            if (failed.load(std::memory_order_relaxed) || cancelled()) return;
            const std::size_t chunk = next.fetch_add(1);
            if (chunk >= chunks) return;
            const std::size_t begin = chunk * grain;
            const std::size_t end = std::min(count, begin + grain);
            try {
                body(begin, end);
            } catch (...) {
                first.Record(chunk, std::current_exception());
                failed = true;
                return;
            }
            const std::size_t total = done.fetch_add(end - begin) + (end - begin);
            if (options.progress) options.progress(total);
        }
    };
    const int threads = std::max(1, options.threads);
    if (threads == 1 && !options.meanwhile) {
        work();  // no thread to start: small loops (one fit evaluation) cost nothing extra
    } else {
        std::exception_ptr meanwhileError;
        {
            std::vector<std::jthread> workers;
            workers.reserve(static_cast<std::size_t>(threads));
            for (int t = 0; t < threads; ++t) workers.emplace_back(work);
            if (options.meanwhile) {
                try {
                    options.meanwhile();
                } catch (...) {
                    meanwhileError = std::current_exception();
                }
            }
        }  // the workers end here
        if (meanwhileError) std::rethrow_exception(meanwhileError);
    }
    if (first.error) std::rethrow_exception(first.error);
    return !cancelled() || next.load() >= chunks;
}

int HardwareThreads()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace tulmera::parallel
