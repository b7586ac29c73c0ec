#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "textio/text_file.h"

// The files of one run, written aside and published together only when all are complete, so
// that a run that fails, or is stopped, leaves every previous file exactly as it was.
namespace tulmera::textio {

class StagedFiles {
public:
    // `flushing`: whether Publish first flushes every staged file and its directory to disk
    // (batch runs, saved files) or skips that (the window's live refresh).
    explicit StagedFiles(Flushing flushing = Flushing::ToDisk) : flushing_(flushing) {}
    // Removes every temporary file not published.
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes `content` into a new temporary sibling of `fileName` (CreateTemporarySibling),
    // replacing what was staged for it before. Returns the temporary's name, under which the
    // staged content can be read until Publish. Throws tulmera::Error naming `fileName`.
    std::string Stage(const std::string& fileName, std::string_view content);

    // Appends `content` to what is staged for `fileName`, staging it empty first if it is not
    // staged yet (the file's present content is not carried over). Throws tulmera::Error.
    void Append(const std::string& fileName, std::string_view content);

    // A new empty temporary sibling of `fileName`, staged for it, for a writer that fills a
    // file by name (an image or workbook writer). Returns its name.
    std::string Reserve(const std::string& fileName);

    // The name under which `fileName` reads as this run sees it: its temporary when staged,
    // else `fileName` itself.
    std::string ReadName(const std::string& fileName) const;

    // Puts every staged file in the place of its file, in the order they were first staged,
    // after checking that no place holds a directory or other non-regular file (then nothing
    // is published); afterwards nothing is staged. With more than one file a publish journal
    // (publish_journal.h) is written first, so that a run killed between two swaps is completed
    // by the next one. A stop request waits until the last swap (PublishingGuard). Throws
    // tulmera::Error naming the first file that could not be flushed or published; the
    // temporaries not published are removed.
    void Publish();

private:
    struct Staged {
        std::string fileName;
        std::string temporary;
    };
    Staged* Find(const std::string& fileName);
    void CheckPlaces() const;
    void Flush() const;
    std::vector<std::string> WriteJournals() const;

    Flushing flushing_;
    std::vector<Staged> files_;
};

}  // namespace tulmera::textio
