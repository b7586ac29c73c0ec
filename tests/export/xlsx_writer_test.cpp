// The .xlsx backend and the desktop opener, without starting any program.
#include "export/xlsx_automation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include "export/desktop_opener.h"
#include "export/export_fixture.h"
#include "export/main_export.h"
#include "export/sweep_export.h"
#include "export/synthetic_sweep.h"
#include "export/utf8_text.h"
#include "export/workbook_files.h"
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

struct OpenerLog {
    std::vector<std::string> opened;
    DocumentOpener Opener()
    {
        return [this](const std::string& path) { opened.push_back(path); };
    }
};

TEST(XlsxAutomation, WritesTheGivenFileWholeAndShowsItOnce)
{
    ScopedWorkDir dir;
    CopyGolden("canopy-spherical", {"VP.dat", "VS.dat"});
    textio::ReplaceTextFile("out.xlsx", "an older file");
    OpenerLog log;
    XlsxAutomation automation(XlsxOptions{"out.xlsx", log.Opener(), {}});
    ExportMainWindow(testing::SphericalCanopyHeader(), automation);

    EXPECT_TRUE(IsZipFile("out.xlsx"));
    EXPECT_EQ(automation.lastWorkbook(), "out.xlsx");
    EXPECT_EQ(log.opened, std::vector<std::string>{"out.xlsx"});
    EXPECT_EQ(FileNames("."), (std::set<std::string>{"VP.dat", "VS.dat", "out.xlsx"}));
}

TEST(XlsxAutomation, EachExportIsANewFileInTheTemporaryDirectory)
{
    ScopedWorkDir dir;
    CopyGolden("sweep-Cw", {"MVP.dat"});
    fs::create_directory("tmp");
    const ScopedEnvironment tmpdir("TMPDIR", (dir.path() / "tmp").string());
    OpenerLog log;
    XlsxAutomation automation(XlsxOptions{{}, log.Opener(), {}});
    ExportSweep(8, automation);
    ExportSweep(8, automation);

    ASSERT_EQ(log.opened.size(), 2u);
    EXPECT_NE(log.opened[0], log.opened[1]);
    EXPECT_EQ(automation.lastWorkbook(), log.opened[1]);
    for (const std::string& path : log.opened) {
        EXPECT_EQ(fs::path(path).parent_path(), dir.path() / "tmp");
        EXPECT_TRUE(fs::path(path).filename().string().starts_with("tulmera-")) << path;
        EXPECT_EQ(fs::path(path).extension(), ".xlsx");
        EXPECT_TRUE(IsZipFile(path)) << path;
    }
    EXPECT_EQ(FileNames("tmp").size(), 2u);  // the writer's own temporary files are gone
}

TEST(XlsxAutomation, AnApplicationLeftWithoutEndingLeavesNothing)
{
    ScopedWorkDir dir;
    const ScopedEnvironment tmpdir("TMPDIR", dir.path().string());
    OpenerLog log;
    XlsxAutomation automation(XlsxOptions{{}, log.Opener(), {}});
    {
        auto application = automation.CreateApplication("Excel.application");
        application->SetVisible(true);
        application->AddWorkbook();
        application->SetFormula(1, 1, "text");
        application->SetFormula(2, 1, 0.5f);
    }
    EXPECT_TRUE(FileNames(".").empty());
    EXPECT_TRUE(log.opened.empty());
    EXPECT_TRUE(automation.lastWorkbook().empty());
}

TEST(XlsxAutomation, AnInvisibleApplicationIsWrittenButNotShown)
{
    ScopedWorkDir dir;
    OpenerLog log;
    XlsxAutomation automation(XlsxOptions{"hidden.xlsx", log.Opener(), {}});
    auto application = automation.CreateApplication("EXCEL.Application");  // any case
    application->AddWorkbook();
    application->SetFormula(1, 1, 1.5f);
    application->EndCommand();
    EXPECT_TRUE(IsZipFile("hidden.xlsx"));
    EXPECT_TRUE(log.opened.empty());
}

// Runs `work`, which must throw tulmera::Error containing every one of `parts`.
void ExpectError(const std::function<void()>& work, std::initializer_list<std::string> parts)
{
    try {
        work();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        for (const std::string& part : parts) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos)
                << "\"" << part << "\" not in: " << e.what();
        }
    }
}

TEST(XlsxAutomation, FailuresAreErrorsThatSayWhereAndLeaveNoFile)
{
    ScopedWorkDir dir;
    CopyGolden("canopy-spherical", {"VP.dat", "VS.dat"});
    const MainExportHeader header = testing::SphericalCanopyHeader();

    ExpectError([&] { WriteMainWorkbook(header, "missing/out.xlsx"); },
                {"\"missing/out.xlsx\"", "No such file"});
    {
        const ScopedEnvironment tmpdir("TMPDIR", (dir.path() / "missing").string());
        XlsxAutomation automation(XlsxOptions{{}, {}, {}});
        ExpectError([&] { ExportMainWindow(header, automation); },
                    {"temporary directory", "missing\""});
    }
    {
        const ScopedEnvironment tmpdir("TMPDIR", dir.path().string());
        const testing::ScopedFileSizeLimit fullDisk(4096);  // every file stops at 4 KiB
        ExpectError([&] { WriteMainWorkbook(header, "full.xlsx"); },
                    {"Cannot write the workbook \"full.xlsx\"", "File too large"});
    }
    XlsxAutomation automation(XlsxOptions{"cells.xlsx", {}, {}});
    ExpectError([&] { automation.CreateApplication("Calc.application"); },
                {"\"Calc.application\""});
    auto application = automation.CreateApplication(kApplicationId);
    ExpectError([&] { application->SetFormula(1, 1, "before a workbook"); }, {"before"});
    application->AddWorkbook();
    ExpectError([&] { application->AddWorkbook(); }, {"one workbook"});
    ExpectError([&] { application->SetFormula(0, 1, 1.0f); }, {"row 0, column 1"});
    ExpectError([&] { application->SetFormula(1048577, 1, 1.0f); }, {"row 1048577"});
    ExpectError([&] { application->SetFormula(1, 16385, "x"); }, {"column 16385"});
    application.reset();
    EXPECT_EQ(FileNames("."), (std::set<std::string>{"VP.dat", "VS.dat"}));
}

TEST(XlsxAutomation, AWorkbookThatCannotBeShownNamesItsFile)
{
    ScopedWorkDir dir;
    CopyGolden("canopy-spherical", {"VP.dat", "VS.dat"});
    const MainExportHeader header = testing::SphericalCanopyHeader();
    XlsxAutomation failing(XlsxOptions{
        "shown.xlsx", [](const std::string&) { throw Error("The viewer crashed."); }, {}});
    ExpectError([&] { ExportMainWindow(header, failing); },
                {"written to \"shown.xlsx\"", "The viewer crashed."});
    EXPECT_TRUE(IsZipFile("shown.xlsx"));  // the user can still open it by hand

    // The desktop's opener with no spreadsheet program on the PATH: nothing is started.
    fs::create_directory("empty");
    const ScopedEnvironment path("PATH", (dir.path() / "empty").string());
    XlsxAutomation desktop(XlsxOptions{"desktop.xlsx", OpenInDesktopSpreadsheet, {}});
    ExpectError([&] { ExportMainWindow(header, desktop); },
                {"written to \"desktop.xlsx\"", "No spreadsheet program", "soffice", "xdg-open"});
    EXPECT_TRUE(IsZipFile("desktop.xlsx"));
}

TEST(DesktopOpener, PrefersCalcAsANewDocumentThenTheDesktopOpener)
{
    ScopedWorkDir dir;
    const auto program = [&](const std::string& directory, const std::string& name, bool exec) {
        fs::create_directories(directory);
        textio::ReplaceTextFile(directory + "/" + name, "#!/bin/sh\nexit 1\n");  // never run
        ::chmod((directory + "/" + name).c_str(), exec ? 0755 : 0644);
        return (dir.path() / directory / name).string();
    };
    const std::string calc = program("office", "soffice", true);
    const std::string opener = program("xdg", "xdg-open", true);
    program("broken", "soffice", false);  // not executable: passed over
    const std::string office = (dir.path() / "office").string();
    const std::string xdg = (dir.path() / "xdg").string();
    const std::string broken = (dir.path() / "broken").string();
    const std::string none = (dir.path() / "none").string();

    const struct {
        std::string searchPath;
        std::vector<std::string> expected;
    } cases[] = {
        {xdg + ":" + office, {calc, "--calc", "-n", "/tmp/w.xlsx"}},
        {broken + ":" + xdg, {opener, "/tmp/w.xlsx"}},
        {none + "::" + broken, {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DesktopSpreadsheetCommand("/tmp/w.xlsx", c.searchPath), c.expected)
            << c.searchPath;
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
