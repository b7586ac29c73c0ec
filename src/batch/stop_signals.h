#pragma once

// What tulmera-batch does on Ctrl-C (SIGINT), SIGTERM or SIGHUP: it removes the temporary files
// of its run, so that a stopped run leaves no trace, and ends with exit code 1 ("run failed").
// A publish in progress is finished first: the run's files appear all together or not at all.
namespace tulmera::batch {

// Blocks the stop signals in the calling thread, and so in every thread it starts later, and
// starts the one thread that waits for them (sigwait: no code runs inside a signal handler, so
// the cleanup may lock and allocate). Call it first in main(), before any other thread exists.
void HandleStopSignals();

}  // namespace tulmera::batch
