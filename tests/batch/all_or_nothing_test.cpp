// The promise of every run of the tulmera-batch program: it writes every file it was asked
// for, or changes none and says why — whether it is refused, fails, runs beside another run
// in the same directory or is killed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/work_dir.h"
#include "textio/directory_lock.h"
#include "textio/pause_point.h"
#include "textio/working_files.h"

namespace tulmera::batch {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::ScopedWorkDir;

// A tulmera-batch process started in the current directory, its stderr on a pipe.
struct Child {
    pid_t pid = -1;
    int errorPipe = -1;
};

Child Spawn(const std::vector<std::string>& arguments, rlim_t fileSizeLimit = RLIM_INFINITY,
            const std::string& pauseAt = "")
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeEnds[1], STDERR_FILENO);
        ::close(pipeEnds[0]);
        if (fileSizeLimit != RLIM_INFINITY) {  // a full disk: writes fail with EFBIG
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (!pauseAt.empty()) ::setenv(textio::kPauseAtVariable, pauseAt.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(TULMERA_BATCH)};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(TULMERA_BATCH, argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    return {pid, pipeEnds[0]};
}

// Reads the child's stderr to its end, waits for it and returns its exit code (-1: killed).
int Wait(Child& child, std::string* errorText = nullptr)
{
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = ::read(child.errorPipe, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(child.errorPipe);
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    if (errorText != nullptr) *errorText = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunToEnd(const std::vector<std::string>& arguments, std::string* errorText = nullptr,
             rlim_t fileSizeLimit = RLIM_INFINITY)
{
    Child child = Spawn(arguments, fileSizeLimit);
    return Wait(child, errorText);
}

// Every regular file under the current directory with its bytes, the lock file aside.
std::map<std::string, std::string> Snapshot()
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == kLockFile) continue;
        if (name.starts_with(".") && name.ends_with(".tmp")) continue;  // see Temporaries()
        files[entry.path().string()] = FileBytes(entry.path());
    }
    return files;
}

std::vector<std::string> Temporaries()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".") && name.ends_with(".tmp")) names.push_back(entry.path());
    }
    return names;
}

// The results of earlier good runs of every command, and places that refuse files.
void MakePreviousResults()
{
    fs::create_directory("imgs");
    fs::create_directories("blocked/leaf.png");  // a directory in each image's place
    fs::create_directories("blocked/canopy.png");
    fs::create_directories("blocked/sweep.png");
    std::string error;
    ASSERT_EQ(RunToEnd({"sweep", "--param", "Cm", "--png", "imgs", "--xlsx", "s.xlsx"}, &error), 0)
        << error;
    ASSERT_EQ(RunToEnd({"canopy", "--lai", "2", "--png", "imgs"}, &error), 0) << error;
    ASSERT_EQ(RunToEnd({"export", "--xlsx", "e.xlsx"}, &error), 0) << error;
}

TEST(AllOrNothing, AFailedRunOfAnyCommandLeavesEveryPreviousFileAsItWas)
{
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        const char* keyword;
        rlim_t fileSizeLimit = RLIM_INFINITY;
    } cases[] = {
        // leaf
        {{"leaf", "--N", "x"}, 2, "--N: \"x\" is not a number"},
        {{"leaf", "--Cm", "0"}, 2, "--Cm 0 is outside 0 (excluded) to 10."},
        {{"leaf", "--bogus", "1"}, 2, "Unknown option \"--bogus\""},
        {{"leaf", "--png", "missing"}, 1, "\"missing\""},
        {{"leaf", "--png", "blocked"}, 1, "it is a directory"},
        {{"leaf", "--N", "3"}, 1, "File too large", 4000},
        // canopy
        {{"canopy", "--sun", "100"}, 2, "--sun 100 is outside 0 to 90."},
        {{"canopy", "--lai", "1e6"}, 2, "--lai 1000000 is outside"},
        {{"canopy", "--png", "blocked"}, 1, "it is a directory"},
        {{"canopy", "--N", "1.01", "--Cab", "1500"}, 1, "Leaf model at 400 nm"},
        {{"canopy", "--sun", "30", "--png", "imgs"}, 1, "File too large", 12000},
        // sweep
        {{"sweep", "--param", "Cab", "--from", "-5", "--to", "5", "--step", "5"}, 2, "is outside"},
        {{"sweep", "--from", "1e17", "--to", "1e17", "--step", "1"}, 2, "too small to advance"},
        {{"sweep", "--xlsx", "MVP.dat"}, 2, "the working file \"MVP.dat\""},
        {{"sweep", "--png", "imgs", "--xlsx", "imgs/sweep.png"}, 2, "another output"},
        {{"sweep", "--xlsx", "nodir/x.xlsx"}, 1, "nodir/x.xlsx"},
        {{"sweep", "--xlsx", "blocked"}, 1, "it is a directory"},
        {{"sweep", "--png", "blocked"}, 1, "it is a directory"},
        {{"sweep", "--N", "1.01", "--param", "Cab", "--from", "100", "--to", "1500", "--step",
          "700", "--xlsx", "s.xlsx"},
         1,
         "value 2 of 3"},
        {{"sweep", "--xlsx", "s.xlsx"}, 1, "File too large", 200000},
        // export
        {{"export", "--xlsx", "VP.dat"}, 2, "the working file \"VP.dat\""},
        {{"export", "--xlsx", "e.xlsx", "--N", "x"}, 2, "is not a number"},
        {{"export", "--xlsx", "nodir/e.xlsx"}, 1, "nodir/e.xlsx"},
        {{"export", "--xlsx", "blocked"}, 1, "it is a directory"},
        {{"export", "--xlsx", "e.xlsx"}, 1, "Cannot write the workbook", 2000},
    };
    ScopedWorkDir dir;
    MakePreviousResults();
    const auto before = Snapshot();
    ASSERT_EQ(before.size(), 10u);  // 4 working files, 4 images, 2 workbooks
    for (const auto& c : cases) {
        std::string label;
        for (const std::string& a : c.arguments) label += a + " ";
        std::string error;
        EXPECT_EQ(RunToEnd(c.arguments, &error, c.fileSizeLimit), c.exitCode) << label << error;
        EXPECT_NE(error.find(c.keyword), std::string::npos) << label << error;
        EXPECT_EQ(error.find(".."), std::string::npos) << label << error;  // one full stop
        EXPECT_EQ(error.find("[ERROR]"), std::string::npos) << label << error;
        EXPECT_TRUE(Snapshot() == before) << label << "changed a previous file";
        EXPECT_TRUE(Temporaries().empty()) << label << Temporaries().front();
    }
}

TEST(AllOrNothing, TwoRunsInOneDirectoryEachGetTheirOwnWholeResults)
{
    const std::vector<std::string> a = {"canopy", "--N", "2", "--lai", "3", "--sun", "30"};
    const std::vector<std::string> b = {"canopy", "--N", "1.5", "--Cab", "60", "--lai", "1"};
    ScopedWorkDir dir;
    std::map<std::string, std::string> reference[2];
    for (int i = 0; i < 2; ++i) {
        const std::string own = "ref" + std::to_string(i);
        fs::create_directory(own);
        std::vector<std::string> arguments = i == 0 ? a : b;
        for (const char* more : {"-C", own.c_str(), "--png", "."}) arguments.push_back(more);
        ASSERT_EQ(RunToEnd(arguments), 0);
        for (const char* name : {"VP.dat", "VS.dat", "leaf.png", "canopy.png"}) {
            reference[i][name] = FileBytes(fs::path(own) / name);
        }
    }
    fs::create_directories("shared/pa");
    fs::create_directories("shared/pb");
    for (int round = 0; round < 5; ++round) {
        std::vector<std::string> runA = a, runB = b;
        for (const char* more : {"-C", "shared", "--png", "pa"}) runA.push_back(more);
        for (const char* more : {"-C", "shared", "--png", "pb"}) runB.push_back(more);
        Child first = Spawn(runA);
        Child second = Spawn(runB);
        ASSERT_EQ(Wait(first), 0);
        ASSERT_EQ(Wait(second), 0);
        const std::string vp = FileBytes("shared/VP.dat"), vs = FileBytes("shared/VS.dat");
        const bool isA = vp == reference[0]["VP.dat"] && vs == reference[0]["VS.dat"];
        const bool isB = vp == reference[1]["VP.dat"] && vs == reference[1]["VS.dat"];
        EXPECT_TRUE(isA || isB) << "round " << round << ": a mix of both runs";
        for (const char* image : {"leaf.png", "canopy.png"}) {
            EXPECT_EQ(FileBytes(fs::path("shared/pa") / image), reference[0][image]) << image;
            EXPECT_EQ(FileBytes(fs::path("shared/pb") / image), reference[1][image]) << image;
        }
    }
}

TEST(AllOrNothing, ASecondRunWaitsForTheLockOrWithNoWaitFailsNamingTheHolder)
{
    ScopedWorkDir dir;
    auto lock = std::make_unique<textio::DirectoryLock>(".");
    ASSERT_TRUE(lock->TryLock());
    std::string error;
    EXPECT_EQ(RunToEnd({"leaf", "--no-wait"}, &error), 1);
    EXPECT_NE(error.find("process " + std::to_string(::getpid())), std::string::npos) << error;

    Child waiting = Spawn({"leaf"});
    std::string said;  // read until it says it waits: it is then blocked on the lock
    char c;
    while (said.find('\n') == std::string::npos && ::read(waiting.errorPipe, &c, 1) == 1) said += c;
    EXPECT_NE(said.find("waiting for process " + std::to_string(::getpid())), std::string::npos);
    EXPECT_FALSE(fs::exists("VP.dat"));
    lock.reset();
    EXPECT_EQ(Wait(waiting), 0);
    EXPECT_TRUE(fs::exists("VP.dat"));
}

// Kills a long sweep with a workbook once a file whose name starts with `prefix` appears:
// deterministic points of the run rather than moments in time.
void KillWhenFileAppears(const std::vector<std::string>& arguments, const std::string& prefix)
{
    Child child = Spawn(arguments);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    bool seen = false;
    while (!seen && std::chrono::steady_clock::now() < deadline) {
        for (const auto& entry : fs::directory_iterator(".")) {
            if (entry.path().filename().string().starts_with(prefix)) seen = true;
        }
    }
    ASSERT_TRUE(seen) << prefix << " never appeared";
    ::kill(child.pid, SIGKILL);
    EXPECT_EQ(Wait(child), -1) << prefix << ": the sweep ended before it was killed";
}

TEST(AllOrNothing, AKilledSweepLeavesThePreviousResultsAndTheNextRunRemovesItsLeftovers)
{
    ScopedWorkDir dir;
    ASSERT_EQ(RunToEnd({"sweep", "--param", "Cm", "--xlsx", "s.xlsx"}), 0);
    auto before = Snapshot();
    const std::vector<std::string> longSweep = {"sweep",  "--from", "1",      "--to",  "60",
                                                "--step", "0.1",    "--xlsx", "s.xlsx"};
    // The staged sweep file, the staged curve file, the reserved workbook, the workbook
    // writer's own file.
    for (const std::string prefix : {".MVP.dat.", ".MVPaint.dat.", ".s.xlsx.", "..s.xlsx."}) {
        KillWhenFileAppears(longSweep, prefix);
        EXPECT_FALSE(Temporaries().empty()) << prefix;  // what the killed run left
        EXPECT_TRUE(Snapshot() == before) << prefix << ": a previous file changed";
        std::string error;
        ASSERT_EQ(RunToEnd({"leaf"}, &error), 0) << error;  // any next run
        EXPECT_TRUE(Temporaries().empty()) << prefix << ": " << Temporaries().front();
        EXPECT_EQ(FileBytes("MVP.dat"), before.at("./MVP.dat")) << prefix;
        EXPECT_EQ(FileBytes("s.xlsx"), before.at("./s.xlsx")) << prefix;
        before = Snapshot();  // with the new "VP.dat" of the leaf run
    }
}

// A run stopped at the named point of its own (textio::PausePoint), or a failed assertion when
// it ends without reaching it.
Child SpawnPausedAt(const std::vector<std::string>& arguments, const std::string& point)
{
    Child child = Spawn(arguments, RLIM_INFINITY, point);
    int status = 0;
    ::waitpid(child.pid, &status, WUNTRACED);
    EXPECT_TRUE(WIFSTOPPED(status)) << point << " was never reached";
    return child;
}

// Sends `signal` to a paused run and lets it go on to receive it; returns its exit code.
int SignalPaused(Child& child, int signal, std::string* errorText = nullptr)
{
    ::kill(child.pid, signal);
    ::kill(child.pid, SIGCONT);
    return Wait(child, errorText);
}

std::vector<std::string> Journals()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".tulmera-publish.")) names.push_back(entry.path());
    }
    return names;
}

TEST(AllOrNothing, ARunKilledAtAnySwapIsCompletedByTheNextSoEveryFileComesFromOneRun)
{
    const auto withOutputs = [](std::vector<std::string> arguments) {
        for (const char* more : {"--png", "img", "--svg", "img", "--csv", "c.csv"}) {
            arguments.push_back(more);
        }
        return arguments;
    };
    const std::vector<std::string> older = withOutputs({"canopy", "--lai", "2"});
    const std::vector<std::string> newer = withOutputs({"canopy", "--lai", "4", "--sun", "50"});
    ScopedWorkDir dir;
    std::map<std::string, std::string> results[2];  // each run's files, run whole on its own
    for (int i = 0; i < 2; ++i) {
        fs::create_directories("img");
        ASSERT_EQ(RunToEnd(i == 0 ? older : newer), 0);
        results[i] = Snapshot();
        fs::remove_all("img");
        for (const auto& [name, bytes] : results[i]) fs::remove(name);
    }
    ASSERT_EQ(results[1].size(), 7u);  // 2 working files, 2 PNG, 2 SVG, 1 CSV
    ASSERT_NE(results[0], results[1]);
    std::vector<std::string> points;
    for (std::size_t swap = 1; swap <= results[1].size(); ++swap) {
        points.push_back("publish-swap-" + std::to_string(swap));
    }
    points.push_back("publish-done");
    for (const std::string& point : points) {
        fs::create_directories("img");
        ASSERT_EQ(RunToEnd(older), 0);
        Child killed = SpawnPausedAt(newer, point);
        EXPECT_EQ(SignalPaused(killed, SIGKILL), -1) << point;
        EXPECT_FALSE(Journals().empty()) << point << ": no journal left behind";
        std::string error;
        ASSERT_EQ(RunToEnd({"lut", "--samples", "1", "--out", "other.csv"}, &error), 0) << error;
        fs::remove("other.csv");
        EXPECT_TRUE(Snapshot() == results[1]) << point << ": not every file of the killed run";
        EXPECT_TRUE(Temporaries().empty()) << point << ": " << Temporaries().front();
        EXPECT_TRUE(Journals().empty()) << point;
        fs::remove_all("img");
        for (const auto& [name, bytes] : results[1]) fs::remove(name);
    }
}

TEST(AllOrNothing, AStoppedRunRemovesItsTemporariesAndAKilledOnesAreRemovedByTheNext)
{
    const struct {
        std::vector<std::string> arguments;
        const char* point;
        int signal;
        bool published;  // the stop came during the swaps, which are finished first
    } cases[] = {
        {{"lut", "--samples", "20", "--out", "t.h5"}, "table-complete", SIGINT, false},
        {{"lut", "--samples", "20", "--out", "t.csv"}, "table-complete", SIGTERM, false},
        {{"lut", "--samples", "20", "--out", "t.h5"}, "table-complete", SIGKILL, false},
        {{"lut", "--samples", "20", "--out", "t.csv"}, "table-complete", SIGHUP, false},
        {{"canopy", "--png", ".", "--csv", "c.csv"}, "publish-swap-2", SIGTERM, true},
        {{"canopy", "--png", ".", "--csv", "c.csv"}, "publish-swap-1", SIGINT, true},
        {{"sweep", "--xlsx", "s.xlsx"}, "publish-swap-1", SIGKILL, false},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        std::string label = std::string(c.point) + " " + ::strsignal(c.signal) + ":";
        for (const std::string& a : c.arguments) label += " " + a;
        Child child = SpawnPausedAt(c.arguments, c.point);
        std::string error;
        const int exitCode = SignalPaused(child, c.signal, &error);
        if (c.signal == SIGKILL) {
            EXPECT_EQ(exitCode, -1) << label;
            EXPECT_FALSE(Temporaries().empty()) << label << ": nothing left to clean up";
            ASSERT_EQ(RunToEnd({"leaf", "--N", "2", "--csv", "l.csv"}, &error), 0) << error;
        } else if (c.published) {
            EXPECT_TRUE(exitCode == 0 || exitCode == 1) << label << error;
            EXPECT_TRUE(fs::exists("canopy.png") && fs::exists("c.csv")) << label;
        } else {
            EXPECT_EQ(exitCode, 1) << label << error;
            EXPECT_NE(error.find("stopped by"), std::string::npos) << label << error;
            EXPECT_TRUE(Snapshot().empty()) << label << ": " << Snapshot().begin()->first;
        }
        EXPECT_TRUE(Temporaries().empty()) << label << ": " << Temporaries().front();
        EXPECT_TRUE(Journals().empty()) << label;
    }
}

}  // namespace
}  // namespace tulmera::batch
