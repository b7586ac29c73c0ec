#include "textio/staged_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "textio/error.h"
#include "textio/own_temporaries.h"
#include "textio/pause_point.h"
#include "textio/publish_journal.h"
#include "textio/system_reason.h"

namespace tulmera::textio {
namespace {

// Writes all of `content` at the end of the file `name`; returns 0 or the errno.
int AppendAll(const std::string& name, std::string_view content)
{
    const int fd = ::open(name.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = WriteAllTo(fd, content);
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

[[noreturn]] void FailWrite(const std::string& fileName, int error)
{
    throw Error("Cannot write \"" + fileName + "\": " + SystemReason(error) + ".");
}

std::string Absolute(const std::string& name)
{
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(name, ignored);
    return absolute.empty() ? name : absolute.string();
}

}  // namespace

StagedFiles::~StagedFiles()
{
    for (const Staged& file : files_) RemoveTemporary(file.temporary);
}

StagedFiles::Staged* StagedFiles::Find(const std::string& fileName)
{
    for (Staged& file : files_) {
        if (file.fileName == fileName) return &file;
    }
    return nullptr;
}

std::string StagedFiles::Reserve(const std::string& fileName)
{
    const std::string temporary = CreateTemporarySibling(fileName);
    if (Staged* staged = Find(fileName)) {
        RemoveTemporary(staged->temporary);
        staged->temporary = temporary;
    } else {
        files_.push_back({fileName, temporary});
    }
    return temporary;
}

std::string StagedFiles::Stage(const std::string& fileName, std::string_view content)
{
    const std::string temporary = Reserve(fileName);
    if (const int error = AppendAll(temporary, content); error != 0) FailWrite(fileName, error);
    return temporary;
}

void StagedFiles::Append(const std::string& fileName, std::string_view content)
{
    const Staged* staged = Find(fileName);
    const std::string temporary = staged != nullptr ? staged->temporary : Reserve(fileName);
    if (const int error = AppendAll(temporary, content); error != 0) FailWrite(fileName, error);
}

std::string StagedFiles::ReadName(const std::string& fileName) const
{
    for (const Staged& file : files_) {
        if (file.fileName == fileName) return file.temporary;
    }
    return fileName;
}

void StagedFiles::CheckPlaces() const
{
    // Each place must take a file before any is replaced: a directory or a device where a
    // file should go would otherwise stop the run half published.
    for (const Staged& file : files_) {
        struct stat info {};
        if (::lstat(file.fileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            throw Error("Cannot replace \"" + file.fileName + "\": "
                        + (S_ISDIR(info.st_mode) ? "it is a directory." : "not a regular file."));
        }
    }
}

void StagedFiles::Flush() const
{
    // Each file's data, then the directories that hold their names: a journal naming a
    // temporary that a crash could lose would roll forward an empty file.
    std::vector<std::string> directories;
    for (const Staged& file : files_) {
        if (const int error = FlushToDisk(file.temporary); error != 0) {
            FailWrite(file.fileName, error);
        }
        const std::string directory = DirectoryOf(file.fileName);
        if (std::find(directories.begin(), directories.end(), directory) == directories.end()) {
            directories.push_back(directory);
        }
    }
    for (const std::string& directory : directories) {
        if (const int error = FlushToDisk(directory); error != 0) FailWrite(directory, error);
    }
}

std::vector<std::string> StagedFiles::WriteJournals() const
{
    std::vector<std::string> directories, copies;
    std::vector<JournalEntry> entries;
    for (const Staged& file : files_) {
        struct stat info {};
        if (::lstat(file.temporary.c_str(), &info) != 0) FailWrite(file.fileName, errno);
        entries.push_back({Absolute(file.temporary), Absolute(file.fileName),
                           static_cast<std::uint64_t>(info.st_ino)});
        const std::string directory = DirectoryOf(file.fileName);
        if (std::find(directories.begin(), directories.end(), directory) == directories.end()) {
            directories.push_back(directory);
        }
    }
    std::vector<int> descriptors;
    for (const std::string& directory : directories) {
        int fd = -1;
        copies.push_back(CreateTemporarySibling(JournalNameIn(directory), &fd));
        descriptors.push_back(fd);
    }
    std::vector<std::string> absoluteCopies;
    for (const std::string& copy : copies) absoluteCopies.push_back(Absolute(copy));
    const std::string text = JournalText(absoluteCopies, entries);
    int error = 0;
    for (const int fd : descriptors) {
        if (error == 0) error = WriteAllTo(fd, text);
        if (error == 0 && flushing_ == Flushing::ToDisk && ::fsync(fd) != 0) error = errno;
        if (::close(fd) != 0 && error == 0) error = errno;
    }
    if (error == 0 && flushing_ == Flushing::ToDisk) {
        for (const std::string& directory : directories) {
            if (error == 0) error = FlushToDisk(directory);
        }
    }
    if (error != 0) {
        for (const std::string& copy : copies) RemoveTemporary(copy);
        FailWrite(copies.front(), error);
    }
    return copies;
}

void StagedFiles::Publish()
{
    CheckPlaces();
    if (flushing_ == Flushing::ToDisk) Flush();
    std::vector<std::string> directories;
    for (const Staged& file : files_) {
        const std::string directory = DirectoryOf(file.fileName);
        if (std::find(directories.begin(), directories.end(), directory) == directories.end()) {
            directories.push_back(directory);
        }
    }
    const PublishingGuard guard;  // a stop request waits for the last swap
    const std::vector<std::string> journals =
        files_.size() > 1 ? WriteJournals() : std::vector<std::string>{};
    try {
        for (int swap = 1; !files_.empty(); ++swap) {
            PausePoint("publish-swap-" + std::to_string(swap));
            const Staged file = files_.front();
            files_.erase(files_.begin());
            PublishTemporary(file.temporary, file.fileName);  // removes it on failure
        }
    } catch (const Error&) {
        // This process lives on: no later run may complete what it gave up.
        for (const std::string& journal : journals) RemoveTemporary(journal);
        throw;
    }
    if (flushing_ == Flushing::ToDisk) {
        for (const std::string& directory : directories) FlushToDisk(directory);
    }
    PausePoint("publish-done");
    for (const std::string& journal : journals) RemoveTemporary(journal);
}

}  // namespace tulmera::textio
