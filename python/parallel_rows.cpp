#include "parallel_rows.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tulmera::python {
namespace {

constexpr std::size_t kChunkRows = 16;  // rows a thread takes at a time

}  // namespace

void ParallelRows(std::size_t count, int threads, const std::function<void(std::size_t)>& row)
{
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> limit{count};  // rows from the lowest failure on are not needed
    std::mutex failureMutex;
    std::optional<std::size_t> failedRow;
    std::string failure;
    const auto work = [&] {
        for (;;) {
            const std::size_t first = next.fetch_add(kChunkRows);
            if (first >= limit.load()) return;
            const std::size_t end = std::min(first + kChunkRows, count);
            for (std::size_t i = first; i < end; ++i) {
                try {
                    row(i);
                } catch (const std::exception& e) {
                    const std::lock_guard lock(failureMutex);
                    if (!failedRow || i < *failedRow) {
                        failedRow = i;
                        failure = e.what();
                    }
                    std::size_t seen = limit.load();
                    while (i < seen && !limit.compare_exchange_weak(seen, i)) {
                    }
                    return;
                }
            }
        }
    };
    const std::size_t helpers = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(1, threads)), (count + kChunkRows - 1) / kChunkRows);
    {
        std::vector<std::jthread> started;
        for (std::size_t t = 1; t < helpers; ++t) started.emplace_back(work);
        work();
    }
    if (failedRow) throw RowFailure(*failedRow, failure);
}

}  // namespace tulmera::python
