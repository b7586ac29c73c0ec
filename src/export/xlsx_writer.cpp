#include "export/xlsx_writer.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "export/utf8_text.h"
#include "textio/error.h"
#include "textio/staged_files.h"
#include "textio/system_reason.h"

namespace tulmera::exports {
namespace {

std::string Reason(int errorNumber) { return textio::SystemReason(errorNumber); }

// Catches what the workbook writer prints on the standard error stream while the object
// lives (its "[ERROR][packager.c:…]: …" lines), so that it reaches the user inside our one
// message instead of before it. The stream is a memory file meanwhile; if that cannot be set
// up, the writer's lines go where they always went.
class CapturedStandardError {
public:
    CapturedStandardError()
    {
        std::fflush(stderr);
        memory_ = ::memfd_create("tulmera-xlsx-diagnostics", MFD_CLOEXEC);
        if (memory_ < 0) return;
        saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (saved_ < 0 || ::dup2(memory_, STDERR_FILENO) < 0) Restore();
    }
    ~CapturedStandardError() { Restore(); }
    CapturedStandardError(const CapturedStandardError&) = delete;
    CapturedStandardError& operator=(const CapturedStandardError&) = delete;

    // The captured lines without their "[ERROR][file:line]: " prefixes, joined by "; ",
    // without final punctuation; the stream is given back first. At most 300 characters.
    std::string Text()
    {
        std::fflush(stderr);
        std::string captured;
        if (memory_ >= 0) {
            char buffer[4096];
            const ssize_t got = ::pread(memory_, buffer, sizeof buffer, 0);
            if (got > 0) captured.assign(buffer, static_cast<std::size_t>(got));
        }
        Restore();
        std::string text;
        std::size_t start = 0;
        while (start < captured.size()) {
            std::size_t end = captured.find('\n', start);
            if (end == std::string::npos) end = captured.size();
            std::string line = captured.substr(start, end - start);
            start = end + 1;
            while (!line.empty() && line.front() == '[') {
                const std::size_t close = line.find(']');
                if (close == std::string::npos) break;
                line.erase(0, close + 1);
            }
            if (line.starts_with(":")) line.erase(0, 1);
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.erase(0, 1);
            while (!line.empty()
                   && (line.back() == '.' || line.back() == ' ' || line.back() == '\r')) {
                line.pop_back();
            }
            if (line.empty()) continue;
            text += (text.empty() ? "" : "; ") + line;
        }
        if (text.size() > 300) text = text.substr(0, 300) + "...";
        return text;
    }

private:
    void Restore()
    {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
            saved_ = -1;
        }
        if (memory_ >= 0) {
            ::close(memory_);
            memory_ = -1;
        }
    }

    int memory_ = -1;
    int saved_ = -1;
};

// "Cannot …: reason" with the library's own words after it, ending in one full stop.
std::string WithLibraryText(std::string message, const std::string& libraryText)
{
    while (!message.empty() && message.back() == '.') message.pop_back();
    if (!libraryText.empty()) message += " (the spreadsheet library says: " + libraryText + ")";
    return message + ".";
}

// Makes this thread use the "C" locale while the object lives. The workbook writer prints its
// numbers with the C library's "%g", which follows the locale: under es_ES (which the windows
// adopt) 12.3456 would become "12,3456" and the workbook unreadable.
class ScopedCLocale {
public:
    ScopedCLocale() : c_(::newlocale(LC_ALL_MASK, "C", nullptr))
    {
        if (c_ == nullptr) throw Error("Cannot write a workbook: the C locale is not available.");
        previous_ = ::uselocale(c_);
    }
    ~ScopedCLocale()
    {
        ::uselocale(previous_);
        ::freelocale(c_);
    }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t c_;
    locale_t previous_ = nullptr;
};

std::string CellName(RowNumber row, int column)
{
    return "row " + std::to_string(row) + ", column " + std::to_string(column);
}

void CheckCells(const Workbook& workbook)
{
    for (const Sheet& sheet : workbook.sheets) {
        for (const Cell& cell : sheet.cells) {
            if (cell.row < 1 || cell.row > LXW_ROW_MAX || cell.column < 1
                || cell.column > LXW_COL_MAX) {
                throw Error("The cell at " + CellName(cell.row, cell.column)
                            + " lies outside a worksheet.");
            }
            const float* number = std::get_if<float>(&cell.value);
            if (number != nullptr && !std::isfinite(*number)) {
                throw Error("The cell at " + CellName(cell.row, cell.column)
                            + " would hold a number that is not finite.");
            }
        }
    }
}

// A failure of textio's file steps for `path` as a workbook's: "Cannot write "x": reason." or
// "Cannot replace "x": ..." becomes "Cannot write the workbook "shown": ...".
Error WorkbookFileError(const Error& error, const std::string& path, const std::string& shownName)
{
    std::string message = error.what();
    const std::string quoted = "\"" + path + "\"";
    if (const std::size_t at = message.find(quoted); at != std::string::npos) {
        message.replace(at, quoted.size(), "\"" + shownName + "\"");
    }
    for (const std::string_view verb : {"Cannot write ", "Cannot replace "}) {
        if (message.starts_with(verb)) {
            message.replace(0, verb.size(), "Cannot write the workbook ");
            break;
        }
    }
    return Error(message);
}

// An open workbook of libxlsxwriter, freed unless it was closed.
class OpenWorkbook {
public:
    explicit OpenWorkbook(const std::string& fileName) : scratchDirectory_(UserTemporaryDirectory())
    {
        lxw_workbook_options options{};
        options.tmpdir = scratchDirectory_.data();
        CapturedStandardError diagnostics;  // nothing to report: a failure is "out of memory"
        workbook_ = workbook_new_opt(fileName.c_str(), &options);
        if (workbook_ == nullptr) throw Error("Cannot start a new workbook: out of memory.");
    }
    ~OpenWorkbook()
    {
        if (workbook_ != nullptr) lxw_workbook_free(workbook_);
    }
    OpenWorkbook(const OpenWorkbook&) = delete;
    OpenWorkbook& operator=(const OpenWorkbook&) = delete;

    void AddSheet(const Sheet& sheet)
    {
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook_, nullptr);
        if (worksheet == nullptr) throw Error("Cannot add a sheet to the workbook: out of memory.");
        for (const Cell& cell : sheet.cells) {
            const auto row = static_cast<lxw_row_t>(cell.row - 1);
            const auto column = static_cast<lxw_col_t>(cell.column - 1);
            lxw_error error = LXW_NO_ERROR;
            if (const std::string* text = std::get_if<std::string>(&cell.value)) {
                const std::string utf8 = Utf8Text(*text);
                error = worksheet_write_string(worksheet, row, column, utf8.c_str(), nullptr);
            } else {
                const double number = CellNumber(std::get<float>(cell.value));
                error = worksheet_write_number(worksheet, row, column, number, nullptr);
            }
            if (error != LXW_NO_ERROR) {
                throw Error("Cannot set the cell at " + CellName(cell.row, cell.column) + ": "
                            + lxw_strerror(error) + ".");
            }
        }
    }

    // Writes the file and frees the workbook. Throws tulmera::Error naming `shownName`, with
    // `fileName` in the library's words replaced by it.
    void Close(const std::string& fileName, const std::string& shownName)
    {
        lxw_error error = LXW_NO_ERROR;
        int systemError = 0;
        std::string libraryText;
        {
            const ScopedCLocale cLocale;
            CapturedStandardError diagnostics;
            errno = 0;
            error = workbook_close(std::exchange(workbook_, nullptr));  // frees the workbook
            systemError = errno;
            libraryText = diagnostics.Text();
            for (std::size_t at; (at = libraryText.find(fileName)) != std::string::npos;) {
                libraryText.replace(at, fileName.size(), shownName);
            }
        }
        if (error == LXW_NO_ERROR) return;
        std::string message =
            "Cannot write the workbook \"" + shownName + "\": " + lxw_strerror(error);
        while (!message.empty() && message.back() == '.') message.pop_back();
        if (systemError != 0) message += " (" + Reason(systemError) + ")";
        throw Error(WithLibraryText(message, libraryText));
    }

private:
    std::string scratchDirectory_;  // outlives the workbook, which keeps a pointer to it
    lxw_workbook* workbook_ = nullptr;
};

}  // namespace

std::string UserTemporaryDirectory()
{
    const char* directory = std::getenv("TMPDIR");
    return directory != nullptr && *directory != '\0' ? directory : "/tmp";
}

void WriteWorkbook(const Workbook& workbook, const std::string& path, const std::string& shownPath)
{
    const std::string& shownName = shownPath.empty() ? path : shownPath;
    CheckCells(workbook);
    textio::StagedFiles staged;
    std::string scratch;
    try {
        scratch = staged.Reserve(path);
    } catch (const Error& e) {
        throw WorkbookFileError(e, path, shownName);
    }
    OpenWorkbook open(scratch);
    if (workbook.sheets.empty()) open.AddSheet(Sheet{});
    for (const Sheet& sheet : workbook.sheets) open.AddSheet(sheet);
    open.Close(scratch, shownName);
    try {
        staged.Publish();  // removes the scratch file when it fails
    } catch (const Error& e) {
        throw WorkbookFileError(e, path, shownName);
    }
}

}  // namespace tulmera::exports
