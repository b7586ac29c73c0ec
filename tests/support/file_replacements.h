#pragma once
#include <map>
#include <string>

namespace tulmera::testing {

// Counts how often each file of a directory is put in place by a rename, the way every
// result file is published (a recomputation publishes "VP.dat" and "VS.dat" once each). The
// kernel queues the events as the renames happen (inotify), so a count read right after an
// action is complete, without waiting. Only renames count: a file emptied or written in place
// is not replaced.
class FileReplacements {
public:
    // Watches `directory` from now on. Throws std::runtime_error when it cannot.
    explicit FileReplacements(const std::string& directory = ".");
    ~FileReplacements();
    FileReplacements(const FileReplacements&) = delete;
    FileReplacements& operator=(const FileReplacements&) = delete;

    // How many times the file `name` of the directory was put in place since construction.
    int Count(const std::string& name);

private:
    void ReadPendingEvents();

    int fd_ = -1;
    std::map<std::string, int> counts_;
};

}  // namespace tulmera::testing
