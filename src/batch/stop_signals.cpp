#include "batch/stop_signals.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <string_view>
#include <thread>

#include "textio/own_temporaries.h"

namespace tulmera::batch {
namespace {

std::string_view NameOf(int signal)
{
    switch (signal) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        default:
            return "SIGHUP";
    }
}

// Waits until a stop signal is pending, without taking it: PublishingGuard must still see it
// pending while a run is about to publish (own_temporaries.h).
void WaitUntilStopPending(const sigset_t& set, int descriptor)
{
    if (descriptor < 0) {
        // No signalfd: sigwait takes the signal at once, leaving a short window in which a
        // publish already under way finishes first.
        int signal = 0;
        while (sigwait(&set, &signal) != 0) {
        }
        ::kill(::getpid(), signal);  // pending again, for the reading below
        return;
    }
    pollfd ready{descriptor, POLLIN, 0};
    while (::poll(&ready, 1, -1) != 1) {
    }
}

[[noreturn]] void WaitForStop(sigset_t set, int descriptor)
{
    WaitUntilStopPending(set, descriptor);
    textio::RemoveOwnTemporariesForExit();
    int signal = 0;
    while (sigwait(&set, &signal) != 0) {
    }
    std::string text = ::isatty(STDERR_FILENO) == 1 ? "\n" : "";  // after a progress bar
    text += "tulmera-batch: stopped by " + std::string(NameOf(signal))
            + "; the files of this run not yet in place were removed.\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, text.data(), text.size());
    ::_exit(1);
}

}  // namespace

void HandleStopSignals()
{
    const sigset_t set = textio::StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    const int descriptor = ::signalfd(-1, &set, SFD_CLOEXEC);
    std::thread(WaitForStop, set, descriptor).detach();
}

void LetAStopUnderWayFinish()
{
    // The guard waits while the stop thread cleans up (it never lets go), and never returns
    // while a stop signal is pending (not yet taken by that thread).
    const textio::PublishingGuard guard;
}

}  // namespace tulmera::batch
