#pragma once
#include <atomic>
#include <functional>

// Long computations of the module that Ctrl-C stops. Python runs its signal handlers (the one
// that raises KeyboardInterrupt among them) only on the main thread and only while that thread
// holds the GIL, so a computation that released the GIL would otherwise run to its end.
namespace tulmera::python {

// Runs work(cancel) on a thread of its own while the calling thread, which must hold the GIL,
// waits for it with the GIL released and every few milliseconds takes the GIL back to run
// Python's signal handlers. When a handler raises (KeyboardInterrupt for Ctrl-C), *cancel
// becomes true, the work is waited for and the handler's exception is raised
// (py::error_already_set); whatever the work threw then is dropped. Otherwise an exception
// of the work is rethrown on the calling thread. `work` must not touch Python objects.
void RunInterruptibly(const std::function<void(const std::atomic<bool>* cancel)>& work);

}  // namespace tulmera::python
