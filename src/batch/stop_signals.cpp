#include "batch/stop_signals.h"

#include <signal.h>
#include <unistd.h>

#include <string_view>
#include <thread>

#include "textio/own_temporaries.h"

namespace tulmera::batch {
namespace {

sigset_t StopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal);
    return set;
}

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

[[noreturn]] void WaitForStop(sigset_t set)
{
    int signal = 0;
    while (sigwait(&set, &signal) != 0) {
    }
    textio::RemoveOwnTemporariesForExit();
    std::string text = ::isatty(STDERR_FILENO) == 1 ? "\n" : "";  // after a progress bar
    text += "tulmera-batch: stopped by " + std::string(NameOf(signal))
            + "; the files of this run not yet in place were removed.\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, text.data(), text.size());
    ::_exit(1);
}

}  // namespace

void HandleStopSignals()
{
    const sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(WaitForStop, set).detach();
}

}  // namespace tulmera::batch
