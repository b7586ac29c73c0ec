// A real round trip: workbooks written by the .xlsx writer, read back by LibreOffice Calc.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>

#include "export/export_fixture.h"
#include "export/main_export.h"
#include "export/sweep_export.h"
#include "export/utf8_text.h"
#include "export/xlsx_writer.h"
#include "support/golden.h"
#include "support/work_dir.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

extern char** environ;

namespace tulmera::exports {
namespace {

namespace fs = std::filesystem;
using testing::CellContent;
using testing::CellMap;
using testing::CellsOf;
using testing::ScopedWorkDir;

// Comma-separated, UTF-8, no cell "as shown" (numbers at full precision), en-US numbers.
constexpr const char* kCsvFilter =
    "csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,true,false,false";
constexpr const char* kConversionSeconds = "300";

// The full path of "soffice" on the PATH, if it is there.
std::optional<std::string> FindCalc()
{
    const char* searchPath = std::getenv("PATH");
    std::string_view rest = searchPath != nullptr ? searchPath : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const fs::path candidate = fs::path(rest.substr(0, colon)) / "soffice";
        std::error_code error;
        if (fs::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return std::nullopt;
}

// Runs `arguments` (the first one found on the PATH) with its output in `log`; its exit status.
int RunProgram(std::vector<std::string> arguments, const std::string& log)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0644);
    ::posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The fields of a CSV file, by row; quoted fields may hold commas, quotes and line ends.
std::vector<std::vector<std::string>> ReadCsv(const fs::path& file)
{
    const std::string text = testing::FileBytes(file);
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(std::exchange(field, {}));
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            rows.back().push_back(std::exchange(field, {}));
            rows.emplace_back();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !rows.back().empty()) rows.back().push_back(field);
    if (rows.back().empty()) rows.pop_back();
    return rows;
}

// Every cell of `expected` is in the CSV with its text or its exact number; nothing else is.
::testing::AssertionResult CsvHolds(const fs::path& csv, const CellMap& expected)
{
    const auto rows = ReadCsv(csv);
    const RowNumber lastRow = expected.rbegin()->first.first;
    if (rows.size() != static_cast<std::size_t>(lastRow)) {
        return ::testing::AssertionFailure()
               << csv << " has " << rows.size() << " rows, not " << lastRow;
    }
    std::size_t found = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& field = rows[r][c];
            const auto key = std::make_pair(static_cast<RowNumber>(r + 1), static_cast<int>(c + 1));
            const auto cell = expected.find(key);
            const std::string where = "row " + std::to_string(r + 1) + ", column "
                                      + std::to_string(c + 1) + " (\"" + field + "\")";
            if (cell == expected.end()) {
                if (!field.empty()) return ::testing::AssertionFailure() << where << " is extra";
                continue;
            }
            ++found;
            if (const std::string* text = std::get_if<std::string>(&cell->second)) {
                if (field != Utf8Text(*text)) {
                    return ::testing::AssertionFailure()
                           << where << " should be \"" << *text << "\"";
                }
            } else if (textio::ParseNumberText(field) != std::get<double>(cell->second)) {
                return ::testing::AssertionFailure()
                       << where << " should be "
                       << textio::NumberText(std::get<double>(cell->second));
            }
        }
    }
    if (found != expected.size()) {
        return ::testing::AssertionFailure()
               << found << " of " << expected.size() << " cells found";
    }
    return ::testing::AssertionSuccess();
}

TEST(ExportRoundTrip, CalcReadsBackEveryCellOfBothLayouts)
{
    const std::optional<std::string> calc = FindCalc();
    if (!calc) {
        const char* ci = std::getenv("CI");
        if (ci != nullptr && *ci != '\0') {
            FAIL() << "LibreOffice (soffice) is not on the PATH; CI must run this round trip "
                      "(scripts/install-deps test installs libreoffice-calc-nogui).";
        }
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the round trip through a real "
                        "spreadsheet is skipped on this machine (CI runs it).";
    }
    ScopedWorkDir dir;
    testing::CopyGolden("canopy-spherical", {"VP.dat", "VS.dat"});
    // A sweep file edited by hand in a single-byte encoding: its text still arrives whole.
    std::string sweep = textio::ReadTextFile(testing::GoldenDir("sweep-Cw") / "MVP.dat");
    sweep.replace(0, sweep.find("\r\n"), "N = 1 a\xF1o");
    textio::ReplaceTextFile("MVP.dat", sweep);
    const MainExportHeader header = testing::SphericalCanopyHeader();

    {
        // The windows run under the user's locale, whose decimal separator may be a comma.
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, "es_ES.UTF-8") == nullptr) {
            std::cout << "  (es_ES.UTF-8 is not installed: the workbooks are written in "
                      << previous << ")\n";
        }
        WriteWorkbook(MainWindowWorkbook(header), "main.xlsx");
        WriteWorkbook(SweepWorkbook(8), "sweep.xlsx");
        std::setlocale(LC_ALL, previous.c_str());
    }
    const int status =
        RunProgram({"timeout", kConversionSeconds, *calc,
                    "-env:UserInstallation=file://" + (dir.path() / "profile").string(),
                    "--headless", "--convert-to", kCsvFilter, "--outdir",
                    (dir.path() / "csv").string(), "main.xlsx", "sweep.xlsx"},
                   (dir.path() / "soffice.log").string());
    ASSERT_EQ(status, 0) << testing::FileBytes(dir.path() / "soffice.log");

    EXPECT_TRUE(CsvHolds("csv/main.csv", CellsOf(MainWindowWorkbook(header).sheets.front())));
    EXPECT_TRUE(CsvHolds("csv/sweep.csv", CellsOf(SweepWorkbook(8).sheets.front())));
}

}  // namespace
}  // namespace tulmera::exports
