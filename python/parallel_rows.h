#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

// Independent rows of the Python module (spectra, fits) on the program's parallel loop
// (parallel::ParallelFor), with the same result and the same failure whatever the thread count.
namespace tulmera::python {

// A row that failed: the lowest such row and its failure's what().
class RowFailure : public std::runtime_error {
public:
    RowFailure(std::size_t failedRow, const std::string& what)
        : std::runtime_error(what), row(failedRow)
    {
    }
    std::size_t row;
};

// Calls row(i) for every i in 0 .. count - 1, on up to `threads` threads (the calling one
// among them; none started for a single row). Each row writes only its own outputs, so the
// order in which threads take rows changes nothing. When rows throw, every row below the
// lowest failing one is still computed and RowFailure is thrown for that lowest one, so the
// failure reported does not depend on the threads' timing either. When *cancel becomes true
// the threads stop taking rows (the rows left are not computed).
void ParallelRows(std::size_t count, int threads, const std::function<void(std::size_t)>& row,
                  const std::atomic<bool>* cancel = nullptr);

}  // namespace tulmera::python
