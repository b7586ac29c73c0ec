#include "support/work_dir.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace tulmera::testing {

ScopedWorkDir::ScopedWorkDir() : previous_(std::filesystem::current_path())
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tulmera-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    std::filesystem::current_path(path_);
}

ScopedWorkDir::~ScopedWorkDir()
{
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    // A test may have made the directory read-only; make it removable again.
    ::chmod(path_.c_str(), 0700);
    std::filesystem::remove_all(path_, ignored);
}

void ScopedWorkDir::MakeUnwritable()
{
    if (::geteuid() != 0) {
        ::chmod(path_.c_str(), 0500);
    } else if (::rmdir(path_.c_str()) != 0) {
        throw std::runtime_error("MakeUnwritable needs an empty directory when run as root");
    }
}

ScopedFileSizeLimit::ScopedFileSizeLimit(unsigned long bytes)
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    previousSoftLimit_ = limit.rlim_cur;
    limit.rlim_cur = bytes;
    std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previousSoftLimit_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string FileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tulmera::testing
