// Staged files, the readers' guards, stray temporaries and the directory lock: the pieces
// that make a run all or nothing.
#include "textio/staged_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <memory>

#include "support/work_dir.h"
#include "textio/directory_lock.h"
#include "textio/error.h"
#include "textio/publish_journal.h"
#include "textio/system_reason.h"
#include "textio/text_file.h"

namespace tulmera::textio {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::ScopedWorkDir;

std::size_t CountTemporaries()
{
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".") && name.ends_with(".tmp")) ++count;
    }
    return count;
}

TEST(StagedFiles, NothingIsPublishedUntilAllAreStagedAndAFailureLeavesNoTrace)
{
    ScopedWorkDir dir;
    ReplaceTextFile("a.dat", "old a");
    ReplaceTextFile("b.dat", "old b");
    {
        StagedFiles staged;
        const std::string aName = staged.Stage("a.dat", "new a");
        staged.Append("b.dat", "new ");
        staged.Append("b.dat", "b");
        EXPECT_EQ(FileBytes(aName), "new a");  // readable under its temporary name
        EXPECT_EQ(FileBytes("a.dat"), "old a");
        EXPECT_THROW(staged.Stage("missing-dir/c.dat", "c"), Error);
    }  // dropped without Publish
    EXPECT_EQ(FileBytes("a.dat"), "old a");
    EXPECT_EQ(FileBytes("b.dat"), "old b");
    EXPECT_EQ(CountTemporaries(), 0u);

    StagedFiles staged;
    staged.Stage("a.dat", "new a");
    staged.Stage("b.dat", "new b");
    fs::remove("b.dat");
    fs::create_directory("b.dat");  // a directory where a file must go: nothing is published
    EXPECT_THROW(staged.Publish(), Error);
    EXPECT_EQ(FileBytes("a.dat"), "old a");
    fs::remove("b.dat");
    staged.Publish();
    EXPECT_EQ(FileBytes("a.dat"), "new a");
    EXPECT_EQ(FileBytes("b.dat"), "new b");
    EXPECT_EQ(CountTemporaries(), 0u);
}

TEST(ReadTextFile, RefusesWhatIsNotARegularFileOfBoundedSizeAtOnce)
{
    ScopedWorkDir dir;
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);  // no writer: reading would wait for ever
    ReplaceTextFile("big", std::string(2000, '1'));
    const struct {
        const char* name;
        std::size_t maxBytes;
        const char* expected;
    } cases[] = {
        {"fifo", 1000, "not a regular file"},
        {"/dev/zero", 1000, "not a regular file"},
        {".", 1000, "not a regular file"},
        {"big", 1000, "2000 bytes, more than"},
        {"missing", 1000, "No such file or directory"},
    };
    for (const auto& c : cases) {
        try {
            ReadTextFile(c.name, c.maxBytes);
            ADD_FAILURE() << c.name << " was read";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(ReadTextFile("big", 2000).size(), 2000u);
}

TEST(RemoveStrayTemporaries, RemovesThoseOfDeadProcessesOnly)
{
    ScopedWorkDir dir;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);  // a process id that is surely gone
    const std::string dead = ".MVP.dat." + std::to_string(child) + ".0.tmp";
    const std::string alive = ".MVP.dat." + std::to_string(::getppid()) + ".0.tmp";
    for (const std::string& name :
         {dead, alive, std::string(".notes.tmp"), std::string("VP.dat")}) {
        ReplaceTextFile(name, "x");
    }
    RemoveStrayTemporaries("");
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(alive));
    EXPECT_TRUE(fs::exists(".notes.tmp"));
    EXPECT_TRUE(fs::exists("VP.dat"));
}

// A journal left by a run killed between two swaps: files already swapped (the exchange leaves
// the old content under the temporary's name), files not yet swapped, odd names, a torn journal.
TEST(RollForwardJournal, FinishesTheSwapsWithoutBringingBackOldContent)
{
    ScopedWorkDir dir;
    const std::string odd = "with space\nand newline.dat";
    for (const bool torn : {false, true}) {
        std::vector<JournalEntry> entries;
        for (const std::string& name : {std::string("a.dat"), odd}) {
            ReplaceTextFile(name, "old " + name, Flushing::Skip);
            const std::string temporary = "." + name + ".999999.0.tmp";
            ReplaceTextFile(temporary, "new " + name, Flushing::Skip);
            struct stat info {};
            ASSERT_EQ(::lstat(temporary.c_str(), &info), 0);
            entries.push_back({fs::absolute(temporary), fs::absolute(name),
                               static_cast<std::uint64_t>(info.st_ino)});
        }
        // The first swap was made: its temporary now holds the old file.
        ASSERT_EQ(::renameat2(AT_FDCWD, entries[0].temporary.c_str(), AT_FDCWD,
                              entries[0].fileName.c_str(), RENAME_EXCHANGE),
                  0);
        const std::string journal = ".tulmera-publish.999999.0.tmp";
        std::string text = JournalText({fs::absolute(journal)}, entries);
        if (torn) text.resize(text.size() - 4);  // its writer died before the "end" line
        ReplaceTextFile(journal, text, Flushing::Skip);
        RollForwardJournal(journal);
        EXPECT_FALSE(fs::exists(journal));
        EXPECT_EQ(FileBytes("a.dat"), "new a.dat");  // never the old one back
        if (torn) {
            EXPECT_EQ(FileBytes(odd), "old " + odd);  // left to the stray cleanup
            EXPECT_EQ(CountTemporaries(), 2u);
            for (const JournalEntry& entry : entries) ::unlink(entry.temporary.c_str());
        } else {
            EXPECT_EQ(FileBytes(odd), "new " + odd);
            EXPECT_EQ(CountTemporaries(), 0u);
        }
    }
}

TEST(DirectoryLock, OneHolderAtATimeAndItsProcessIdIsKnown)
{
    ScopedWorkDir dir;
    auto first = std::make_unique<DirectoryLock>(".");
    DirectoryLock second(".");  // another open file: flock keeps them apart even in one process
    ASSERT_TRUE(first->TryLock());
    EXPECT_FALSE(second.TryLock());
    EXPECT_EQ(second.HolderPid(), ::getpid());
    first.reset();  // released by closing, as at a holder's exit, even a killed one
    EXPECT_TRUE(second.TryLock());
}

TEST(SystemReason, IsEnglishWhateverTheLocale)
{
    const char* spanish = std::setlocale(LC_ALL, "es_ES.UTF-8");
    if (spanish == nullptr) GTEST_SKIP() << "es_ES.UTF-8 is not installed";
    EXPECT_EQ(SystemReason(ENOENT), "No such file or directory");
    EXPECT_EQ(SystemReason(ENOSPC), "No space left on device");
    EXPECT_EQ(SystemReason(99999), "error 99999");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tulmera::textio
