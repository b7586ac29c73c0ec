// The libFuzzer driver of one fuzz target, chosen when it is compiled (TULMERA_FUZZ_TARGET).
// Every input runs in one scratch directory of the process, made on the first input and
// removed when the fuzzer exits normally; so the corpus folders and the artifact prefix given
// to the fuzzer must be absolute paths. The scratch directory lies in memory (/dev/shm, a
// tmpfs) where the machine has one: the targets that hand working files to the readers then
// cost no disk access, which would limit them to some hundred inputs a second.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "fuzz/fuzz_entries.h"

namespace {

class ScratchDirectory {
public:
    ScratchDirectory()
    {
        std::error_code error;
        for (const std::filesystem::path& parent :
             {std::filesystem::path("/dev/shm"), std::filesystem::temp_directory_path(error)}) {
            std::string pattern = (parent / "tulmera-fuzz-XXXXXX").string();
            if (!parent.empty() && ::mkdtemp(pattern.data()) != nullptr) {
                path_ = pattern;
                break;
            }
        }
        if (path_.empty()) {
            std::perror("tulmera fuzz: cannot make a scratch directory");
            std::abort();
        }
        std::filesystem::current_path(path_);
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::current_path(path_.parent_path(), ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    std::filesystem::path path_;
};

// The entry function of the target this driver was compiled for.
void (*Entry())(std::string_view)
{
    for (const tulmera::fuzz::FuzzTarget& target : tulmera::fuzz::FuzzTargets()) {
        if (target.name == TULMERA_FUZZ_TARGET) return target.entry;
    }
    std::fputs("tulmera fuzz: unknown target " TULMERA_FUZZ_TARGET "\n", stderr);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchDirectory scratch;
    static const auto entry = Entry();
    // A FuzzFailure or any other exception leaves this function: libFuzzer reports it as a
    // crash (an uncaught exception) and keeps the input.
    entry(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
