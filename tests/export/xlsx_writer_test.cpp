// The .xlsx writer: whole files in place of the old ones, every sheet, and failures that name
// the file and leave nothing behind.
#include "export/xlsx_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <set>

#include "export/export_fixture.h"
#include "export/main_export.h"
#include "export/utf8_text.h"
#include "support/work_dir.h"
#include "textio/error.h"
#include "textio/text_file.h"

namespace tulmera::exports {
namespace {

namespace fs = std::filesystem;
using testing::CopyGolden;
using testing::FileBytes;
using testing::ScopedWorkDir;

// Sets an environment variable while the object lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) previous_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (previous_) {
            ::setenv(name_, previous_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> previous_;
};

std::set<std::string> FileNames(const fs::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

bool IsZipFile(const fs::path& file) { return FileBytes(file).substr(0, 4) == "PK\x03\x04"; }

// The worksheets of an .xlsx file, by the names its zip directory lists (stored uncompressed).
int WorksheetCount(const fs::path& file)
{
    const std::string bytes = FileBytes(file);
    int count = 0;
    while (bytes.find("xl/worksheets/sheet" + std::to_string(count + 1) + ".xml")
           != std::string::npos) {
        ++count;
    }
    return count;
}

Workbook OneCell(Cell cell) { return {{Sheet{{std::move(cell)}}}}; }

TEST(XlsxWriter, WritesTheGivenFileWholeInPlaceOfTheOld)
{
    ScopedWorkDir dir;
    CopyGolden("canopy-spherical", {"VP.dat", "VS.dat"});
    textio::ReplaceTextFile("out.xlsx", "an older file");
    WriteWorkbook(MainWindowWorkbook(testing::SphericalCanopyHeader()), "out.xlsx");

    EXPECT_TRUE(IsZipFile("out.xlsx"));
    EXPECT_EQ(WorksheetCount("out.xlsx"), 1);
    EXPECT_EQ(FileNames("."), (std::set<std::string>{"VP.dat", "VS.dat", "out.xlsx"}));
}

TEST(XlsxWriter, WritesEverySheetAndAtLeastOne)
{
    ScopedWorkDir dir;
    const struct {
        std::size_t sheets;
        int written;
    } cases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}};
    for (const auto& c : cases) {
        Workbook workbook;
        for (std::size_t i = 0; i < c.sheets; ++i) {
            workbook.sheets.push_back(Sheet{{Cell(1, 1, "sheet " + std::to_string(i + 1))}});
        }
        WriteWorkbook(workbook, "sheets.xlsx");
        EXPECT_TRUE(IsZipFile("sheets.xlsx")) << c.sheets;
        EXPECT_EQ(WorksheetCount("sheets.xlsx"), c.written) << c.sheets << " sheets given";
    }
}

// Each failure throws naming the file (as shown) and leaves every file as it was: no workbook,
// no temporary, the old file untouched.
TEST(XlsxWriter, FailuresAreErrorsThatSayWhereAndLeaveNoFile)
{
    ScopedWorkDir dir;
    const ScopedEnvironment tmpdir("TMPDIR", dir.path().string());  // the library's scratch
    CopyGolden("canopy-spherical", {"VP.dat", "VS.dat"});
    textio::ReplaceTextFile("old.xlsx", "an older file");
    fs::create_directory("folder.xlsx");
    const Workbook main = MainWindowWorkbook(testing::SphericalCanopyHeader());
    const float infinite = std::numeric_limits<float>::infinity();

    const struct {
        const char* name;
        std::function<void()> write;
        std::vector<std::string> expected;
    } cases[] = {
        {"a missing folder",
         [&] { WriteWorkbook(main, "missing/out.xlsx"); },
         {"Cannot write the workbook \"missing/out.xlsx\"", "No such file"}},
        {"a missing folder, named as shown",
         [&] { WriteWorkbook(main, "missing/out.xlsx", "shown.xlsx"); },
         {"Cannot write the workbook \"shown.xlsx\"", "No such file"}},
        {"a full disk",
         [&] {
             const testing::ScopedFileSizeLimit fullDisk(4096);  // every file stops at 4 KiB
             WriteWorkbook(main, "old.xlsx");
         },
         {"Cannot write the workbook \"old.xlsx\"", "File too large"}},
        {"a folder in the file's place",
         [&] { WriteWorkbook(main, "folder.xlsx"); },
         {"Cannot write the workbook \"folder.xlsx\"", "directory"}},
        {"row 0",
         [&] { WriteWorkbook(OneCell(Cell(0, 1, 1.0f)), "old.xlsx"); },
         {"row 0, column 1"}},
        {"beyond the last row",
         [&] { WriteWorkbook(OneCell(Cell(1048577, 1, 1.0f)), "old.xlsx"); },
         {"row 1048577", "outside a worksheet"}},
        {"beyond the last column",
         [&] { WriteWorkbook(OneCell(Cell(1, 16385, "x")), "old.xlsx"); },
         {"column 16385", "outside a worksheet"}},
        {"a number that is not finite",
         [&] {
             WriteWorkbook({{Sheet{{Cell(1, 1, "fine")}}, Sheet{{Cell(2, 3, infinite)}}}},
                           "old.xlsx");
         },
         {"row 2, column 3", "not finite"}},
    };
    for (const auto& c : cases) {
        try {
            c.write();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Error& e) {
            for (const std::string& part : c.expected) {
                EXPECT_NE(std::string(e.what()).find(part), std::string::npos)
                    << c.name << ": \"" << part << "\" not in: " << e.what();
            }
        }
        EXPECT_EQ(FileNames("."),
                  (std::set<std::string>{"VP.dat", "VS.dat", "old.xlsx", "folder.xlsx"}))
            << c.name;
        EXPECT_EQ(FileBytes("old.xlsx"), "an older file") << c.name;
    }
}

TEST(Utf8Text, KeepsUtf8AndConvertsSingleByteText)
{
    const struct {
        std::string text, expected;
    } cases[] = {
        {"Suelo:  S1:61% arena", "Suelo:  S1:61% arena"},
        {"Cenital obs. = 30\xC2\xB0", "Cenital obs. = 30\xC2\xB0"},  // UTF-8 degree sign
        {"a\xF1o", "a\xC3\xB1o"},                                    // Latin-1 n with tilde
        {"\xC0\x80", "\xC3\x80\xC2\x80"},                            // an overlong form
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},                // a surrogate
        {"\xE2\x82", "\xC3\xA2\xC2\x82"},                            // a cut sequence
        {"\xF0\x9F\x8C\xBF", "\xF0\x9F\x8C\xBF"},                    // a four-byte sequence
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8Text(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace tulmera::exports
