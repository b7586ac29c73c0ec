#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Benchmarks that write working files run in a temporary directory of their own.
class BenchWorkDir {
public:
    BenchWorkDir() : previous_(std::filesystem::current_path())
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tulmera-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~BenchWorkDir()
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(path_);
    }
    BenchWorkDir(const BenchWorkDir&) = delete;
    BenchWorkDir& operator=(const BenchWorkDir&) = delete;

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};
