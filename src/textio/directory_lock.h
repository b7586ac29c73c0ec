#pragma once
#include <sys/types.h>

#include <string>

namespace tulmera::textio {

// The advisory lock (flock) of a working directory, on its file ".tulmera.lock": one run,
// batch or window, works in a directory at a time. The lock is the operating system's, so it
// ends with its holder, even a killed one; the file keeps the last holder's process id.
class DirectoryLock {
public:
    // Opens (creating it if missing) the lock file of `directory` ("" or "." is the current
    // one), without locking. Throws tulmera::Error naming the file when it cannot be opened.
    explicit DirectoryLock(const std::string& directory);
    // Releases the lock, if held.
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

    // Takes the lock if nobody holds it; returns whether it is now held by this object.
    bool TryLock();
    // Waits until the lock is free and takes it. Throws tulmera::Error if it cannot.
    void Lock();
    // The process id its holder wrote into the lock file; 0 when unknown.
    pid_t HolderPid() const;

private:
    void WriteOwnPid();

    std::string fileName_;
    int fd_ = -1;
};

}  // namespace tulmera::textio
