// Every input a fuzzer ever crashed on, kept under fuzz/regressions/<target>/ (and
// fuzz/library_faults/<target>/ for faults of a library we guard against), and every seed
// of fuzz/corpus/<target>/, run through the same entry function as the fuzz target, each in a
// fresh working directory. Under the sanitizer build this also catches memory faults and
// undefined behaviour that a normal build lets pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "fuzz/fuzz_entries.h"
#include "support/work_dir.h"

namespace tulmera::fuzz {

// Test names and messages show a target by its name.
void PrintTo(const FuzzTarget& target, std::ostream* out) { *out << target.name; }

namespace {

namespace fs = std::filesystem;

const fs::path kFuzzDir = TULMERA_FUZZ_DIR;

// The files of `folder`, sorted, so that every run replays them in the same order.
std::vector<fs::path> FilesIn(const fs::path& folder)
{
    std::vector<fs::path> files;
    if (!fs::is_directory(folder)) return files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class FuzzInputs : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzInputs, RegressionsAndSeedsRunClean)
{
    const FuzzTarget target = GetParam();
    std::size_t seeds = 0;
    // library_faults: files on which the HDF5 library itself stops, which its target reads in
    // a child process first.
    for (const char* folder : {"regressions", "corpus", "library_faults"}) {
        const std::vector<fs::path> files = FilesIn(kFuzzDir / folder / target.name);
        if (std::string_view(folder) == "corpus") seeds = files.size();
        for (const fs::path& file : files) {
            const std::string bytes = testing::FileBytes(file);
            testing::ScopedWorkDir work;
            try {
                target.entry(bytes);
            } catch (const std::exception& e) {
                ADD_FAILURE() << file.string() << ": " << e.what();
            }
        }
    }
    EXPECT_GT(seeds, 0u) << "no seed corpus for " << target.name;
}

std::string TargetName(const ::testing::TestParamInfo<FuzzTarget>& target)
{
    return std::string(target.param.name);
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, FuzzInputs, ::testing::ValuesIn(FuzzTargets()), TargetName);

// A folder of inputs that names no target would never be replayed.
TEST(FuzzInputFolders, EachNamesATarget)
{
    for (const char* folder : {"regressions", "corpus", "library_faults"}) {
        if (!fs::is_directory(kFuzzDir / folder)) continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(kFuzzDir / folder)) {
            const std::string name = entry.path().filename().string();
            const auto& targets = FuzzTargets();
            EXPECT_TRUE(std::any_of(targets.begin(), targets.end(),
                                    [&](const FuzzTarget& t) { return t.name == name; }))
                << (kFuzzDir / folder / name).string() << " names no fuzz target";
        }
    }
}

}  // namespace
}  // namespace tulmera::fuzz
