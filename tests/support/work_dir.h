#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace tulmera::testing {

// A fresh temporary directory that is the current directory for the object's lifetime, so
// that runs writing working files by bare name ("VP.dat") never meet another test's files.
class ScopedWorkDir {
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Makes the (still empty) directory refuse new files, for root as well: removes write
    // permission, or, for root, removes the directory while it stays the current one.
    void MakeUnwritable();

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

// Lets no file grow beyond `bytes` while the object lives (a full disk, for root as well):
// writes past the limit fail with EFBIG instead of raising SIGXFSZ.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(unsigned long bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    unsigned long previousSoftLimit_;
};

// The lines of a result file without their CR LF; a last line without CR LF is kept with
// "<no CR LF>" appended, so that a layout test sees it.
std::vector<std::string> Lines(const std::string& text);

// The content of a file, as bytes.
std::string FileBytes(const std::filesystem::path& file);

}  // namespace tulmera::testing
