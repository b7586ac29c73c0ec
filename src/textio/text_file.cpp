#include "textio/text_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>

#include "textio/error.h"
#include "textio/own_temporaries.h"
#include "textio/publish_journal.h"
#include "textio/system_reason.h"

namespace tulmera::textio {
namespace {

constexpr std::string_view kTemporarySuffix = ".tmp";

[[noreturn]] void Fail(const std::string& action, const std::string& fileName, int errorNumber)
{
    throw Error("Cannot " + action + " \"" + fileName + "\": " + SystemReason(errorNumber) + ".");
}

// Opens `fileName` with `flags`, writes `content`, closes; returns 0 or the errno of the failure.
int WriteFile(const std::string& fileName, int flags, std::string_view content)
{
    const int fd = ::open(fileName.c_str(), flags | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    int error = WriteAllTo(fd, content);
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

// The owner's process id of a temporary sibling's name ".NAME.PID.COUNT.tmp", or 0.
pid_t OwnerOf(std::string_view name)
{
    if (name.size() < 8 || name.front() != '.' || !name.ends_with(kTemporarySuffix)) return 0;
    name.remove_suffix(kTemporarySuffix.size());
    const auto countDot = name.rfind('.');
    if (countDot == std::string_view::npos || countDot == 0) return 0;
    const auto pidDot = name.rfind('.', countDot - 1);
    if (pidDot == std::string_view::npos || pidDot == 0) return 0;
    const std::string_view count = name.substr(countDot + 1);
    const std::string_view pid = name.substr(pidDot + 1, countDot - pidDot - 1);
    unsigned countValue = 0;
    pid_t pidValue = 0;
    const auto countEnd = std::from_chars(count.data(), count.data() + count.size(), countValue);
    const auto pidEnd = std::from_chars(pid.data(), pid.data() + pid.size(), pidValue);
    if (count.empty() || countEnd.ptr != count.data() + count.size()) return 0;
    if (pid.empty() || pidEnd.ptr != pid.data() + pid.size() || pidValue <= 0) return 0;
    return pidValue;
}

}  // namespace

int WriteAllTo(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int FlushToDisk(const std::string& name)
{
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno;
    int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

std::string DirectoryOf(const std::string& fileName)
{
    const auto slash = fileName.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

std::string ReadTextFile(const std::string& fileName, std::size_t maxBytes)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) Fail("open", fileName, errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        Fail("read", fileName, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        throw Error("Cannot read \"" + fileName + "\": it is not a regular file.");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        ::close(fd);
        throw Error("Cannot read \"" + fileName + "\": it has " + std::to_string(info.st_size)
                    + " bytes, more than such a file may have (" + std::to_string(maxBytes) + ").");
    }
    std::string content;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            Fail("read", fileName, error);
        }
        if (got == 0) break;
        content.append(buffer, static_cast<std::size_t>(got));
        if (content.size() > maxBytes) {  // grew while being read
            ::close(fd);
            throw Error("Cannot read \"" + fileName + "\": it grows beyond "
                        + std::to_string(maxBytes) + " bytes.");
        }
    }
    ::close(fd);
    return content;
}

std::string CreateTemporarySibling(const std::string& fileName, int* fd)
{
    static std::atomic<unsigned> counter{0};
    const auto slash = fileName.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : fileName.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    for (int attempt = 0;; ++attempt) {
        const std::string name = dir + "." + base + "." + std::to_string(::getpid()) + "."
                                 + std::to_string(counter.fetch_add(1))
                                 + std::string(kTemporarySuffix);
        const int opened = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (opened >= 0) {
            RememberTemporary(name);
            if (fd != nullptr) {
                *fd = opened;
            } else {
                ::close(opened);
            }
            return name;
        }
        if (errno != EEXIST || attempt == 100) Fail("write", fileName, errno);
    }
}

void PublishTemporary(const std::string& temporary, const std::string& fileName)
{
    // ext4 flushes the new data to disk when a rename replaces an existing file (its
    // auto_da_alloc guard), which would triple the cost of a refresh. Exchanging the two names
    // is just as atomic for readers and skips that flush; the old content then goes with the
    // temporary name. Where the exchange is not possible (no old file yet, or a file system
    // without it), a plain rename does the same job.
    struct stat old {};
    if (::lstat(fileName.c_str(), &old) == 0 && S_ISREG(old.st_mode)
        && ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, fileName.c_str(), RENAME_EXCHANGE)
               == 0) {
        RemoveTemporary(temporary);  // now holds the old content
        return;
    }
    if (::rename(temporary.c_str(), fileName.c_str()) != 0) {
        const int error = errno;
        RemoveTemporary(temporary);
        Fail("replace", fileName, error);
    }
    ForgetTemporary(temporary);
}

void RemoveStrayTemporaries(const std::string& directory)
{
    const std::string dir = directory.empty() ? "." : directory;
    // Two passes: a dead run's journal names temporaries that hold half of its results, which
    // must be put in place before the second pass would take them for strays.
    for (const bool journals : {true, false}) {
        DIR* stream = ::opendir(dir.c_str());
        if (stream == nullptr) return;
        while (const dirent* entry = ::readdir(stream)) {
            const pid_t owner = OwnerOf(entry->d_name);
            if (owner == 0 || owner == ::getpid()) continue;
            if (IsJournalName(entry->d_name) != journals) continue;
            if (::kill(owner, 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to judge
            if (journals) {
                RollForwardJournal(dir + "/" + entry->d_name);
            } else {
                ::unlinkat(::dirfd(stream), entry->d_name, 0);
            }
        }
        ::closedir(stream);
    }
}

void ReplaceTextFile(const std::string& fileName, std::string_view content, Flushing flushing)
{
    int fd = -1;
    const std::string temporary = CreateTemporarySibling(fileName, &fd);
    int error = WriteAllTo(fd, content);
    if (error == 0 && flushing == Flushing::ToDisk && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        RemoveTemporary(temporary);
        Fail("write", fileName, error);
    }
    PublishTemporary(temporary, fileName);
    if (flushing == Flushing::ToDisk) FlushToDisk(DirectoryOf(fileName));  // the rename itself
}

void AppendTextFile(const std::string& fileName, std::string_view content)
{
    if (const int error = WriteFile(fileName, O_CREAT | O_APPEND, content); error != 0) {
        Fail("append to", fileName, error);
    }
}

void EmptyTextFile(const std::string& fileName)
{
    if (const int error = WriteFile(fileName, O_CREAT | O_TRUNC, {}); error != 0) {
        Fail("empty", fileName, error);
    }
}

}  // namespace tulmera::textio
