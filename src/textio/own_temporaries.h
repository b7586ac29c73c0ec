#pragma once
#include <signal.h>

#include <string>

// The temporary files this process has made and not yet published or removed, known to the
// whole process so that a stop request (SIGINT, SIGTERM) can remove them before it exits. This
// is the one piece of process-wide state in textio: a signal concerns the process, not a run.
namespace tulmera::textio {

// Notes `temporary` as one of this process's own. Thread-safe.
void RememberTemporary(const std::string& temporary);

// Forgets `temporary` (published or removed). Thread-safe; unknown names are ignored.
void ForgetTemporary(const std::string& temporary);

// Removes `temporary` from disk and forgets it. Best effort: a file already gone is fine.
void RemoveTemporary(const std::string& temporary);

// The signals that ask a run to stop: SIGINT, SIGTERM and SIGHUP.
sigset_t StopSignals();

// Holds publishing back for as long as the guard lives: a stop request waits for a publish in
// progress to finish, so that the files of a run appear all together or not at all. A stop
// request that came before the publish wins: when one of StopSignals() is pending (blocked and
// not yet taken by the thread that waits for it), the guard never returns and that thread ends
// the process with nothing published.
class PublishingGuard {
public:
    PublishingGuard();
    ~PublishingGuard();
    PublishingGuard(const PublishingGuard&) = delete;
    PublishingGuard& operator=(const PublishingGuard&) = delete;
};

// For a process about to end on a stop request: waits for a publish in progress, removes every
// remembered temporary and keeps publishing blocked from then on. Call it from an ordinary
// thread (it locks), never from a signal handler, and take the pending stop signal only after
// it returns, so that PublishingGuard still sees it pending until then.
void RemoveOwnTemporariesForExit();

}  // namespace tulmera::textio
