#include "textio/text_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "textio/error.h"

namespace tulmera::textio {
namespace {

std::string Reason(int errorNumber) { return std::strerror(errorNumber); }

[[noreturn]] void Fail(const std::string& action, const std::string& fileName, int errorNumber)
{
    throw Error("Cannot " + action + " \"" + fileName + "\": " + Reason(errorNumber) + ".");
}

// Writes all of `content` to the open descriptor; returns 0 or the errno of the failure.
int WriteAll(int fd, std::string_view content)
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

// Opens `fileName` with `flags`, writes `content`, closes; returns 0 or the errno of the failure.
int WriteFile(const std::string& fileName, int flags, std::string_view content)
{
    const int fd = ::open(fileName.c_str(), flags | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    int error = WriteAll(fd, content);
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

std::string TemporarySibling(const std::string& fileName)
{
    static std::atomic<unsigned> counter{0};
    const auto slash = fileName.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : fileName.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    return dir + "." + base + "." + std::to_string(::getpid()) + "."
           + std::to_string(counter.fetch_add(1)) + ".tmp";
}

}  // namespace

std::string ReadTextFile(const std::string& fileName)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("open", fileName, errno);
    std::string content;
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
    }
    ::close(fd);
    return content;
}

void ReplaceTextFile(const std::string& fileName, std::string_view content)
{
    const std::string temporary = TemporarySibling(fileName);
    if (const int error = WriteFile(temporary, O_CREAT | O_EXCL, content); error != 0) {
        ::unlink(temporary.c_str());
        Fail("write", fileName, error);
    }
    // ext4 flushes the new data to disk when a rename replaces an existing file (its
    // auto_da_alloc guard), which would triple the cost of a refresh. Exchanging the two names
    // is just as atomic for readers and skips that flush; the old content then goes with the
    // temporary name. Where the exchange is not possible (no old file yet, or a file system
    // without it), a plain rename does the same job.
    struct stat old {};
    if (::lstat(fileName.c_str(), &old) == 0 && S_ISREG(old.st_mode)
        && ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, fileName.c_str(), RENAME_EXCHANGE)
               == 0) {
        ::unlink(temporary.c_str());
        return;
    }
    if (::rename(temporary.c_str(), fileName.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail("replace", fileName, error);
    }
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
