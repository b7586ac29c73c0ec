#include "interruptible.h"

#include <pybind11/pybind11.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace tulmera::python {
namespace {

namespace py = pybind11;

// How long a pending Ctrl-C waits at most before the computation hears of it.
constexpr std::chrono::milliseconds kSignalCheckInterval{20};

}  // namespace

void RunInterruptibly(const std::function<void(const std::atomic<bool>* cancel)>& work)
{
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable finishedChanged;
    bool finished = false;
    bool interrupted = false;
    std::exception_ptr failure;
    {
        const py::gil_scoped_release released;
        std::thread worker([&] {
            try {
                work(&cancel);
            } catch (...) {
                failure = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex);
                finished = true;
            }
            finishedChanged.notify_all();
        });
        std::unique_lock lock(mutex);
        while (!finishedChanged.wait_for(lock, kSignalCheckInterval, [&] { return finished; })) {
            if (interrupted) continue;
            lock.unlock();
            {
                // The handler's exception stays set on this thread's state until raised below.
                const py::gil_scoped_acquire held;
                if (PyErr_CheckSignals() != 0) interrupted = true;
            }
            if (interrupted) cancel.store(true);
            lock.lock();
        }
        lock.unlock();
        worker.join();
    }
    if (interrupted) throw py::error_already_set();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tulmera::python
