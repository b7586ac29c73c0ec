// The trial read of a user's HDF5 file in a child process: each way a read can end, reported
// as such, and the child's end never the caller's.
#include "lut/hdf5_trial.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "textio/error.h"

namespace tulmera::lut::hdf5 {
namespace {

using namespace std::chrono_literals;
using Kind = TrialOutcome::Kind;

TEST(Hdf5Trial, ReportsHowTheChildsReadEnded)
{
    struct Case {
        const char* label;
        std::function<void()> read;
        Kind kind;
        const char* text;  // found in the outcome's text
    };
    const TrialLimits limits{2s, std::uint64_t{1} << 30};
    // clang-format off
    const std::vector<Case> cases = {
        {"returns", [] {}, Kind::Read, ""},
        {"refuses", [] { throw Error("\"t.h5\" is not a look-up table of ours"); }, Kind::Refused,
         "\"t.h5\" is not a look-up table of ours"},
        {"crashes", [] { ::raise(SIGSEGV); }, Kind::Stopped, "signal 11"},
        {"aborts", [] { std::abort(); }, Kind::Stopped, "signal 6"},
        {"loops", [] { for (;;) std::this_thread::sleep_for(10ms); }, Kind::Stopped,
         "it took longer than 2 s"},
        {"asks for too much memory", [] { std::vector<char> huge(std::size_t{8} << 30); },
         Kind::Stopped, ""},
        {"leaves by exit", [] { ::_exit(3); }, Kind::Stopped, "it ended the reading process"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const TrialOutcome outcome = TryInChild("t.h5", c.read, limits);
        EXPECT_EQ(outcome.kind, c.kind) << outcome.text;
        EXPECT_NE(outcome.text.find(c.text), std::string::npos) << outcome.text;
    }
}

TEST(Hdf5Trial, AStoppedChildIsARefusalNamingTheFile)
{
    try {
        RequireSafeToRead("shard.h5", [] { ::raise(SIGSEGV); });
        FAIL() << "no refusal";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "\"shard.h5\" is a damaged HDF5 file: the HDF5 library stopped on it "
                     "(signal 11).");
    }
    EXPECT_NO_THROW(RequireSafeToRead("shard.h5", [] {}));
}

TEST(Hdf5Trial, LimitsGrowWithTheFile)
{
    EXPECT_EQ(TrialLimitsFor(0).time, 10s);
    EXPECT_EQ(TrialLimitsFor(0).extraAddressBytes, std::uint64_t{2} << 30);
    EXPECT_EQ(TrialLimitsFor(std::uint64_t{1} << 30).time, 74s);
    EXPECT_EQ(TrialLimitsFor(std::uint64_t{1} << 30).extraAddressBytes, std::uint64_t{16} << 30);
    EXPECT_EQ(TrialLimitsFor(UINT64_MAX).extraAddressBytes, UINT64_MAX);  // no overflow
}

}  // namespace
}  // namespace tulmera::lut::hdf5
