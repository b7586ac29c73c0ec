#include "parallel_rows.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <string>

#include "parallel/parallel_for.h"

namespace tulmera::python {

void ParallelRows(std::size_t count, int threads, const std::function<void(std::size_t)>& row,
                  const std::atomic<bool>* cancel)
{
    // Rows above the lowest failure known so far are skipped, rows below it never are: the
    // failure reported is the lowest failing row whatever the threads' timing.
    std::atomic<std::size_t> lowestFailure{count};
    std::mutex failureMutex;
    std::string failure;
    parallel::LoopOptions options;
    options.threads = std::max(1, threads);
    options.grain = 16;
    options.cancel = cancel;
    parallel::ParallelFor(count, options, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end && i < lowestFailure.load(); ++i) {
            try {
                row(i);
            } catch (const std::exception& e) {
                const std::lock_guard lock(failureMutex);
                if (i < lowestFailure.load()) {
                    lowestFailure.store(i);
                    failure = e.what();
                }
                return;
            }
        }
    });
    if (lowestFailure.load() < count) throw RowFailure(lowestFailure.load(), failure);
}

}  // namespace tulmera::python
