#include "textio/own_temporaries.h"

#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace tulmera::textio {
namespace {

// Function-local statics: made on first use, so they exist before any temporary does.
std::mutex& PublishingMutex()
{
    static std::mutex mutex;
    return mutex;
}

struct Registry {
    std::mutex mutex;
    std::vector<std::string> names;
};

Registry& Own()
{
    static Registry registry;
    return registry;
}

}  // namespace

void RememberTemporary(const std::string& temporary)
{
    Registry& own = Own();
    const std::lock_guard lock(own.mutex);
    own.names.push_back(temporary);
}

void ForgetTemporary(const std::string& temporary)
{
    Registry& own = Own();
    const std::lock_guard lock(own.mutex);
    const auto at = std::find(own.names.begin(), own.names.end(), temporary);
    if (at != own.names.end()) own.names.erase(at);
}

void RemoveTemporary(const std::string& temporary)
{
    ::unlink(temporary.c_str());
    ForgetTemporary(temporary);
}

sigset_t StopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal);
    return set;
}

namespace {

bool StopSignalPending()
{
    sigset_t pending;
    sigemptyset(&pending);
    if (::sigpending(&pending) != 0) return false;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        if (sigismember(&pending, signal) == 1) return true;
    }
    return false;
}

}  // namespace

PublishingGuard::PublishingGuard()
{
    PublishingMutex().lock();
    if (!StopSignalPending()) return;
    // A signal is only pending where it is blocked and waited for (stop_signals.h): let that
    // thread take the lock and end the process; this one publishes nothing.
    PublishingMutex().unlock();
    for (;;) ::pause();
}

PublishingGuard::~PublishingGuard() { PublishingMutex().unlock(); }

void RemoveOwnTemporariesForExit()
{
    PublishingMutex().lock();  // never unlocked: the process ends next
    Registry& own = Own();
    const std::lock_guard lock(own.mutex);
    for (const std::string& name : own.names) ::unlink(name.c_str());
    own.names.clear();
}

}  // namespace tulmera::textio
