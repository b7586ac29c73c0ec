#include "support/file_replacements.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tulmera::testing {

FileReplacements::FileReplacements(const std::string& directory)
    : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (fd_ < 0 || ::inotify_add_watch(fd_, directory.c_str(), IN_MOVED_TO) < 0) {
        const int error = errno;
        if (fd_ >= 0) ::close(fd_);
        throw std::runtime_error("cannot watch " + directory + ": " + std::strerror(error));
    }
}

FileReplacements::~FileReplacements() { ::close(fd_); }

int FileReplacements::Count(const std::string& name)
{
    ReadPendingEvents();
    return counts_[name];
}

void FileReplacements::ReadPendingEvents()
{
    alignas(inotify_event) char buffer[4096];
    while (true) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && errno == EAGAIN) return;  // nothing more is queued
        if (got <= 0) throw std::runtime_error("cannot read the file events");
        for (ssize_t at = 0; at < got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                throw std::runtime_error("too many file events: the count is lost");
            }
            if (event.len > 0) ++counts_[std::string(buffer + at + sizeof event)];
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
}

}  // namespace tulmera::testing
