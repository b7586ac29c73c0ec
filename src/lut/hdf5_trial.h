#pragma once
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// A trial read of a file the user hands us, in a child process, before this process reads it
// through the HDF5 library. The library (1.10) trusts the sizes and addresses a file's metadata
// announces: some damaged files make it read beyond its buffers, ask for terabytes or loop for
// ever, inside H5Fopen or H5Aread, where no check of ours can come first. In a child such a
// stop costs the child only, and the file is refused by name. POSIX (fork, pipe, poll).
namespace tulmera::lut::hdf5 {

// How a trial read ended.
struct TrialOutcome {
    enum class Kind {
        Read,     // the read returned: the file is safe to read here
        Refused,  // the read threw; `text` is its what(), which names the file
        Stopped,  // the child died, overran its time or its memory; `text` says which
    };
    Kind kind;
    std::string text;
};

// What a trial may take: wall time, and address space beyond what the process holds at the
// fork (the child also gets no core file).
struct TrialLimits {
    std::chrono::milliseconds time;
    std::uint64_t extraAddressBytes;
};

// The limits for a file of `fileBytes`: 10 s plus a second per 16 MB, and the larger of
// 2 GiB and 16 times the file (a table's rows take about its size in memory).
TrialLimits TrialLimitsFor(std::uintmax_t fileBytes);

// Runs `read` in a forked child within `limits` and reports how it ended. The child only runs
// `read` and leaves with _exit: no atexit handler, no stream of this process flushed twice.
// Only the thread that calls this exists in the child, so `read` must not wait for another
// thread. Throws tulmera::Error naming `file` when no child can be started.
TrialOutcome TryInChild(const std::filesystem::path& file, const std::function<void()>& read,
                        const TrialLimits& limits);

// The check every reader of a user's HDF5 file makes first: TryInChild with the limits of the
// file's size; returns when the child read it, throws the child's refusal as tulmera::Error,
// and for a child that stopped throws tulmera::Error
// "\"<file>\" is a damaged HDF5 file: the HDF5 library stopped on it (<why>)."
void RequireSafeToRead(const std::filesystem::path& file, const std::function<void()>& read);

}  // namespace tulmera::lut::hdf5
