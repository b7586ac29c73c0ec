#include "textio/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/work_dir.h"
#include "textio/error.h"

namespace tulmera::textio {
namespace {

using testing::FileBytes;
using testing::ScopedWorkDir;

TEST(TextFile, ReplaceWritesTheWholeContentAndLeavesNoTemporaryFile)
{
    ScopedWorkDir dir;
    ReplaceTextFile("VP.dat", "old\r\n");
    ReplaceTextFile("VP.dat", "new\r\n");
    EXPECT_EQ(FileBytes("VP.dat"), "new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(TextFile, AppendAndEmpty)
{
    ScopedWorkDir dir;
    AppendTextFile("MVP.dat", "a");
    AppendTextFile("MVP.dat", "b");
    EXPECT_EQ(FileBytes("MVP.dat"), "ab");
    EmptyTextFile("MVP.dat");
    EXPECT_TRUE(std::filesystem::exists("MVP.dat"));
    EXPECT_EQ(std::filesystem::file_size("MVP.dat"), 0u);
    EmptyTextFile("MVPaint.dat");  // creates a missing file
    EXPECT_EQ(std::filesystem::file_size("MVPaint.dat"), 0u);
}

TEST(TextFile, AFailedReplaceKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    ScopedWorkDir dir;
    ReplaceTextFile("VP.dat", "complete\r\n");
    try {
        testing::ScopedFileSizeLimit fullDisk(100);
        ReplaceTextFile("VP.dat", std::string(1000, 'x'));
        FAIL() << "writing past the file size limit succeeded";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot write \"VP.dat\": File too large"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(FileBytes("VP.dat"), "complete\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(TextFile, AnUnwritableDirectoryIsAnErrorNamingTheFile)
{
    ScopedWorkDir dir;
    dir.MakeUnwritable();
    for (const auto& write :
         {+[] { ReplaceTextFile("VP.dat", "x"); }, +[] { EmptyTextFile("VS.dat"); },
          +[] { AppendTextFile("MVP.dat", "x"); }}) {
        try {
            write();
            ADD_FAILURE() << "writing into an unwritable directory succeeded";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(".dat\": "), std::string::npos) << e.what();
        }
    }
}

TEST(TextFile, ReplacingADirectoryFailsWithoutLeavingTemporaryFiles)
{
    ScopedWorkDir dir;
    std::filesystem::create_directory("VP.dat");  // works as root too
    EXPECT_THROW(ReplaceTextFile("VP.dat", "x"), Error);
    EXPECT_THROW(ReadTextFile("VP.dat"), Error);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace tulmera::textio
