#include "textio/directory_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "textio/error.h"
#include "textio/system_reason.h"
#include "textio/working_files.h"

namespace tulmera::textio {

DirectoryLock::DirectoryLock(const std::string& directory)
    : fileName_(directory.empty() || directory == "." ? std::string(kLockFile)
                                                      : directory + "/" + kLockFile)
{
    fd_ = ::open(fileName_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    if (fd_ < 0) {
        throw Error("Cannot open the lock file \"" + fileName_ + "\": " + SystemReason(errno)
                    + ".");
    }
}

DirectoryLock::~DirectoryLock()
{
    if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the flock
}

bool DirectoryLock::TryLock()
{
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) return false;
        throw Error("Cannot lock \"" + fileName_ + "\": " + SystemReason(errno) + ".");
    }
    WriteOwnPid();
    return true;
}

void DirectoryLock::Lock()
{
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        throw Error("Cannot lock \"" + fileName_ + "\": " + SystemReason(errno) + ".");
    }
    WriteOwnPid();
}

pid_t DirectoryLock::HolderPid() const
{
    char text[24] = {};
    const ssize_t got = ::pread(fd_, text, sizeof text - 1, 0);
    if (got <= 0) return 0;
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(text, text + got, pid);
    return error == std::errc{} && end != text ? pid : 0;
}

// Best effort: the process id only makes messages more helpful; the lock itself is the flock.
void DirectoryLock::WriteOwnPid()
{
    // Written over the old id, then cut: a reader never finds the file empty, at worst the new
    // id followed by the old one's tail, which the reader's number ends before.
    const std::string pid = std::to_string(::getpid()) + "\n";
    const ssize_t written = ::pwrite(fd_, pid.data(), pid.size(), 0);
    if (written == static_cast<ssize_t>(pid.size())) {
        [[maybe_unused]] const int cut = ::ftruncate(fd_, written);
    }
}

}  // namespace tulmera::textio
