#include "textio/publish_journal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <optional>

#include "textio/error.h"
#include "textio/text_file.h"

namespace tulmera::textio {
namespace {

constexpr std::string_view kJournalBase = "tulmera-publish";
constexpr std::string_view kFirstLine = "tulmera publish journal 1\n";
constexpr std::size_t kMaxJournalBytes = std::size_t{1} << 20;

// A name as "LENGTH:BYTES", so that any byte, a newline or a blank included, survives.
void AppendName(std::string& text, const std::string& name)
{
    text += std::to_string(name.size());
    text += ':';
    text += name;
}

// Reads a journal's text back, consuming it from the front.
class JournalParser {
public:
    explicit JournalParser(std::string_view text) : rest_(text) {}

    bool Literal(std::string_view word)
    {
        if (!rest_.starts_with(word)) return false;
        rest_.remove_prefix(word.size());
        return true;
    }

    std::optional<std::uint64_t> Whole()
    {
        std::uint64_t value = 0;
        const auto [end, error] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
        if (error != std::errc() || end == rest_.data()) return std::nullopt;
        rest_.remove_prefix(static_cast<std::size_t>(end - rest_.data()));
        return value;
    }

    std::optional<std::string> Name()
    {
        const std::optional<std::uint64_t> length = Whole();
        if (!length || !Literal(":") || *length > rest_.size()) return std::nullopt;
        std::string name(rest_.substr(0, *length));
        rest_.remove_prefix(*length);
        return name;
    }

private:
    std::string_view rest_;
};

struct ParsedJournal {
    bool complete = false;
    std::vector<std::string> copies;
    std::vector<JournalEntry> entries;
};

ParsedJournal Parse(std::string_view text)
{
    ParsedJournal journal;
    JournalParser parser(text);
    if (!parser.Literal(kFirstLine)) return journal;
    for (;;) {
        if (parser.Literal("end\n")) {
            journal.complete = true;
            return journal;
        }
        if (parser.Literal("copy ")) {
            const std::optional<std::string> copy = parser.Name();
            if (!copy || !parser.Literal("\n")) return journal;
            journal.copies.push_back(*copy);
        } else if (parser.Literal("file ")) {
            const std::optional<std::uint64_t> inode = parser.Whole();
            if (!inode || !parser.Literal(" ")) return journal;
            const std::optional<std::string> temporary = parser.Name();
            if (!temporary || !parser.Literal(" ")) return journal;
            const std::optional<std::string> fileName = parser.Name();
            if (!fileName || !parser.Literal("\n")) return journal;
            journal.entries.push_back({*temporary, *fileName, *inode});
        } else {
            return journal;
        }
    }
}

}  // namespace

std::string JournalText(const std::vector<std::string>& copies,
                        const std::vector<JournalEntry>& entries)
{
    std::string text(kFirstLine);
    for (const std::string& copy : copies) {
        text += "copy ";
        AppendName(text, copy);
        text += '\n';
    }
    for (const JournalEntry& entry : entries) {
        text += "file " + std::to_string(entry.inode) + ' ';
        AppendName(text, entry.temporary);
        text += ' ';
        AppendName(text, entry.fileName);
        text += '\n';
    }
    text += "end\n";
    return text;
}

bool IsJournalName(std::string_view baseName)
{
    return baseName.size() > kJournalBase.size() + 1 && baseName.front() == '.'
           && baseName.substr(1, kJournalBase.size()) == kJournalBase
           && baseName[kJournalBase.size() + 1] == '.';
}

std::string JournalNameIn(const std::string& directory)
{
    return directory + "/" + std::string(kJournalBase);
}

void RollForwardJournal(const std::string& journal)
{
    ParsedJournal parsed;
    try {
        parsed = Parse(ReadTextFile(journal, kMaxJournalBytes));
    } catch (const Error&) {  // gone already (another run rolled it forward) or unreadable
        return;
    }
    if (!parsed.complete) {
        ::unlink(journal.c_str());
        return;
    }
    for (const JournalEntry& entry : parsed.entries) {
        struct stat info {};
        if (::lstat(entry.temporary.c_str(), &info) != 0) continue;  // swapped and cleaned up
        if (static_cast<std::uint64_t>(info.st_ino) == entry.inode) {
            if (::rename(entry.temporary.c_str(), entry.fileName.c_str()) != 0) return;
        } else {
            ::unlink(entry.temporary.c_str());  // the old file, exchanged out of place
        }
    }
    for (const std::string& copy : parsed.copies) ::unlink(copy.c_str());
    ::unlink(journal.c_str());
}

}  // namespace tulmera::textio
