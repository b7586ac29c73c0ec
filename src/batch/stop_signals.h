#pragma once

// What tulmera-batch does on Ctrl-C (SIGINT), SIGTERM or SIGHUP: it removes the temporary files
// of its run, so that a stopped run leaves no trace, and ends with exit code 1 ("run failed").
// A publish in progress is finished first, and a stop that came before it began publishes
// nothing: the run's files appear all together or not at all.
namespace tulmera::batch {

// Blocks the stop signals in the calling thread, and so in every thread it starts later, and
// starts the one thread that waits for them (signalfd and sigwait: no code runs inside a signal
// handler, so the cleanup may lock and allocate). Call it first in main(), before any other thread
// exists.
void HandleStopSignals();

// Returns at once unless a stop request has come: then it never returns, and the stop
// thread ends the process with its message and exit code 1. Call it after the run, so that
// a run that ended (or failed because its temporaries were removed under it) does not exit
// before the stop is handled.
void LetAStopUnderWayFinish();

}  // namespace tulmera::batch
