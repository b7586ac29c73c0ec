#include "export/xlsx_automation.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "export/utf8_text.h"
#include "textio/error.h"
#include "textio/system_reason.h"
#include "textio/text_file.h"

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

bool SameIdentifier(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x))
               == std::tolower(static_cast<unsigned char>(y));
    });
}

// Creates a new empty file with a unique name for the workbook writer to fill: in the
// temporary directory when `target` is empty, else beside `target` (so that the finished
// file can be renamed over it). Returns its name.
std::string ReserveFile(const std::string& target)
{
    if (target.empty()) {
        const std::string directory = UserTemporaryDirectory();
        std::string name = directory + "/tulmera-XXXXXX.xlsx";
        const int fd = ::mkostemps(name.data(), 5, O_CLOEXEC);
        if (fd < 0) {
            throw Error("Cannot create a workbook file in the temporary directory \"" + directory
                        + "\": " + Reason(errno) + ".");
        }
        ::close(fd);
        return name;
    }
    try {
        return textio::CreateTemporarySibling(target);
    } catch (const Error& e) {  // "Cannot write "x.xlsx": reason." -> "... the workbook ..."
        std::string message = e.what();
        if (message.starts_with("Cannot write ")) message.insert(13, "the workbook ");
        throw Error(message);
    }
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

class XlsxApplication : public SpreadsheetApplication {
public:
    XlsxApplication(XlsxOptions options, std::shared_ptr<std::string> lastWorkbook)
        : options_(std::move(options)), lastWorkbook_(std::move(lastWorkbook))
    {
    }
    ~XlsxApplication() override { Discard(); }
    XlsxApplication(const XlsxApplication&) = delete;
    XlsxApplication& operator=(const XlsxApplication&) = delete;

    void SetVisible(bool visible) override { visible_ = visible; }

    void AddWorkbook() override
    {
        if (workbook_ != nullptr) {
            throw Error("This spreadsheet holds one workbook per command; a second was added.");
        }
        reserved_ = ReserveFile(options_.path);
        temporaryDirectory_ = UserTemporaryDirectory();
        lxw_workbook_options workbookOptions{};
        workbookOptions.tmpdir = temporaryDirectory_.data();
        {
            CapturedStandardError diagnostics;  // nothing to report: a failure is "out of memory"
            workbook_ = workbook_new_opt(reserved_.c_str(), &workbookOptions);
        }
        if (workbook_ != nullptr) sheet_ = workbook_add_worksheet(workbook_, nullptr);
        if (sheet_ == nullptr) {
            Discard();
            throw Error("Cannot start a new workbook: out of memory.");
        }
    }

    void AddSheet() override
    {
        if (workbook_ == nullptr) throw Error("A sheet was added before the workbook.");
        lxw_worksheet* sheet = workbook_add_worksheet(workbook_, nullptr);
        if (sheet == nullptr) throw Error("Cannot add a sheet to the workbook: out of memory.");
        sheet_ = sheet;
    }

    void SetFormula(RowNumber row, int column, std::string_view text) override
    {
        CheckCell(row, column);
        const std::string utf8 = Utf8Text(text);
        Check(worksheet_write_string(sheet_, static_cast<lxw_row_t>(row - 1),
                                     static_cast<lxw_col_t>(column - 1), utf8.c_str(), nullptr),
              row, column);
    }

    void SetFormula(RowNumber row, int column, float number) override
    {
        CheckCell(row, column);
        Check(
            worksheet_write_number(sheet_, static_cast<lxw_row_t>(row - 1),
                                   static_cast<lxw_col_t>(column - 1), CellNumber(number), nullptr),
            row, column);
    }

    void EndCommand() override
    {
        if (workbook_ == nullptr) return;  // no workbook was added: nothing to write or show
        const std::string& shownName = !options_.shownPath.empty() ? options_.shownPath
                                       : options_.path.empty()     ? reserved_
                                                                   : options_.path;
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
            for (std::size_t at; (at = libraryText.find(reserved_)) != std::string::npos;) {
                libraryText.replace(at, reserved_.size(), shownName);
            }
        }
        if (error != LXW_NO_ERROR) {
            std::string message =
                "Cannot write the workbook \"" + shownName + "\": " + lxw_strerror(error);
            while (!message.empty() && message.back() == '.') message.pop_back();
            if (systemError != 0) message += " (" + Reason(systemError) + ")";
            Discard();
            throw Error(WithLibraryText(message, libraryText));
        }
        if (!options_.path.empty() && ::rename(reserved_.c_str(), options_.path.c_str()) != 0) {
            const std::string message =
                "Cannot write the workbook \"" + options_.path + "\": " + Reason(errno) + ".";
            Discard();
            throw Error(message);
        }
        const std::string written = shownName;
        reserved_.clear();
        *lastWorkbook_ = written;
        if (!visible_ || !options_.opener) return;
        try {
            options_.opener(written);
        } catch (const std::exception& e) {
            throw Error("The workbook was written to \"" + written + "\" but cannot be shown. "
                        + e.what());
        }
    }

private:
    void CheckCell(RowNumber row, int column) const
    {
        if (sheet_ == nullptr) throw Error("A cell was set before a workbook was added.");
        if (row < 1 || row > LXW_ROW_MAX || column < 1 || column > LXW_COL_MAX) {
            throw Error("The cell at row " + std::to_string(row) + ", column "
                        + std::to_string(column) + " lies outside a worksheet.");
        }
    }

    static void Check(lxw_error error, RowNumber row, int column)
    {
        if (error != LXW_NO_ERROR) {
            throw Error("Cannot set the cell at row " + std::to_string(row) + ", column "
                        + std::to_string(column) + ": " + lxw_strerror(error) + ".");
        }
    }

    // Forgets the unfinished workbook and removes its file.
    void Discard() noexcept
    {
        if (workbook_ != nullptr) lxw_workbook_free(std::exchange(workbook_, nullptr));
        sheet_ = nullptr;
        if (!reserved_.empty()) ::unlink(reserved_.c_str());
        reserved_.clear();
    }

    const XlsxOptions options_;                  // a copy: the application may outlive its maker
    std::shared_ptr<std::string> lastWorkbook_;  // shared with the maker, which reports it
    bool visible_ = false;
    std::string reserved_;  // the file the workbook is written to, until it is finished
    std::string temporaryDirectory_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
};

}  // namespace

XlsxAutomation::XlsxAutomation() : XlsxAutomation(XlsxOptions{{}, OpenInDesktopSpreadsheet, {}}) {}

XlsxAutomation::XlsxAutomation(XlsxOptions options) : options_(std::move(options)) {}

std::unique_ptr<SpreadsheetApplication> XlsxAutomation::CreateApplication(
    std::string_view programmaticId)
{
    if (!SameIdentifier(programmaticId, kApplicationId)) {
        throw Error("No spreadsheet application is known as \"" + std::string(programmaticId)
                    + "\".");
    }
    return std::make_unique<XlsxApplication>(options_, lastWorkbook_);  // copies, shared name
}

std::string UserTemporaryDirectory()
{
    const char* directory = std::getenv("TMPDIR");
    return directory != nullptr && *directory != '\0' ? directory : "/tmp";
}

}  // namespace tulmera::exports
