#include "lut/hdf5_trial.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <new>
#include <system_error>

#include "textio/error.h"
#include "textio/system_reason.h"

#if defined(__SANITIZE_ADDRESS__)
#define TULMERA_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define TULMERA_SANITIZED 1
#endif
#endif

#ifdef TULMERA_SANITIZED
// The sanitizers' (and a fuzzer's) last word before a report ends the process.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void));
#endif

namespace tulmera::lut::hdf5 {
namespace {

// The child's first byte: how its read ended; a refusal's text follows.
constexpr char kReadMark = 'r';
constexpr char kRefusedMark = 'x';
constexpr char kOutOfMemoryMark = 'm';

// The address space the process holds now, from /proc (0 where there is none).
std::uint64_t AddressSpaceBytes()
{
    const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char text[64];
    const ssize_t n = ::read(fd, text, sizeof text);
    ::close(fd);
    std::uint64_t pages = 0;  // the first field: the whole size in pages
    if (n <= 0 || std::from_chars(text, text + n, pages).ec != std::errc()) return 0;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

void WriteAll(int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // the parent is gone or stopped listening
        done += static_cast<std::size_t>(n);
    }
}

// The child: a crash is to end it quietly (no core file, no crash handler of this process
// writing reports or reproducers), and memory beyond its allowance is refused to it.
[[noreturn]] void RunChild(int fd, const std::function<void()>& read, const TrialLimits& limits)
{
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    for (const int signal : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL})
        std::signal(signal, SIG_DFL);
#ifdef TULMERA_SANITIZED
    __sanitizer_set_death_callback(nullptr);
#endif
    if (const std::uint64_t held = AddressSpaceBytes(); held > 0) {
        const rlimit space{held + limits.extraAddressBytes, held + limits.extraAddressBytes};
        ::setrlimit(RLIMIT_AS, &space);
    }
    std::string report(1, kReadMark);
    try {
        read();
    } catch (const std::bad_alloc&) {
        report.assign(1, kOutOfMemoryMark);
    } catch (const std::exception& e) {
        report = kRefusedMark + std::string(e.what());
    }
    WriteAll(fd, report);
    ::_exit(0);
}

// Everything the child writes until it closes the pipe or the deadline passes; false on the
// deadline.
bool ReadReport(int fd, std::chrono::milliseconds limit, std::string& report)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready =
            ::poll(&wait, 1, static_cast<int>(std::min<long long>(left.count(), 60000)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;  // re-checks the deadline
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        report.append(buffer, static_cast<std::size_t>(n));
    }
}

// The child's exit status; -1 where it cannot be had (SIGCHLD ignored by the host program).
int Reap(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}

}  // namespace

TrialLimits TrialLimitsFor(std::uintmax_t fileBytes)
{
    constexpr std::uint64_t kLeastExtra = std::uint64_t{2} << 30;
    const std::uint64_t scaled = fileBytes > (UINT64_MAX >> 5) ? UINT64_MAX : fileBytes * 16;
    const auto seconds = static_cast<std::chrono::milliseconds::rep>(10 + fileBytes / (16 << 20));
    return {std::chrono::milliseconds(seconds * 1000), std::max(kLeastExtra, scaled)};
}

TrialOutcome TryInChild(const std::filesystem::path& file, const std::function<void()>& read,
                        const TrialLimits& limits)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        throw Error("Cannot check \"" + file.string()
                    + "\" before reading it: " + textio::SystemReason(errno) + ".");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        RunChild(fds[1], read, limits);
    }
    const int forkError = errno;
    ::close(fds[1]);
    if (child < 0) {
        ::close(fds[0]);
        throw Error("Cannot check \"" + file.string()
                    + "\" before reading it: " + textio::SystemReason(forkError) + ".");
    }
    std::string report;
    const bool inTime = ReadReport(fds[0], limits.time, report);
    ::close(fds[0]);
    if (!inTime) ::kill(child, SIGKILL);
    const int status = Reap(child);
    if (!inTime) {
        const long long seconds = std::chrono::ceil<std::chrono::seconds>(limits.time).count();
        return {TrialOutcome::Kind::Stopped,
                "it took longer than " + std::to_string(seconds) + " s"};
    }
    if (status != -1 && WIFSIGNALED(status)) {
        return {TrialOutcome::Kind::Stopped, "signal " + std::to_string(WTERMSIG(status))};
    }
    if (report.empty() || (status != -1 && (!WIFEXITED(status) || WEXITSTATUS(status) != 0))) {
        // A sanitizer's or the library's own ending (abort through exit, a report).
        return {TrialOutcome::Kind::Stopped, "it ended the reading process"};
    }
    switch (report.front()) {
        case kReadMark:
            return {TrialOutcome::Kind::Read, {}};
        case kOutOfMemoryMark:
            return {TrialOutcome::Kind::Stopped, "it asked for more memory than the file can need"};
        default:
            return {TrialOutcome::Kind::Refused, report.substr(1)};
    }
}

void RequireSafeToRead(const std::filesystem::path& file, const std::function<void()>& read)
{
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(file, error);
    const TrialOutcome outcome = TryInChild(file, read, TrialLimitsFor(error ? 0 : bytes));
    switch (outcome.kind) {
        case TrialOutcome::Kind::Read:
            return;
        case TrialOutcome::Kind::Refused:
            throw Error(outcome.text);
        case TrialOutcome::Kind::Stopped:
            throw Error("\"" + file.string()
                        + "\" is a damaged HDF5 file: the HDF5 library stopped on it ("
                        + outcome.text + ").");
    }
}

}  // namespace tulmera::lut::hdf5
