#include "textio/staged_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "textio/error.h"
#include "textio/system_reason.h"
#include "textio/text_file.h"

namespace tulmera::textio {
namespace {

// Writes all of `content` at the end of the file `name`; returns 0 or the errno.
int AppendAll(const std::string& name, std::string_view content)
{
    const int fd = ::open(name.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

}  // namespace

StagedFiles::~StagedFiles()
{
    for (const Staged& file : files_) ::unlink(file.temporary.c_str());
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
        ::unlink(staged->temporary.c_str());
        staged->temporary = temporary;
    } else {
        files_.push_back({fileName, temporary});
    }
    return temporary;
}

std::string StagedFiles::Stage(const std::string& fileName, std::string_view content)
{
    const std::string temporary = Reserve(fileName);
    if (const int error = AppendAll(temporary, content); error != 0) {
        throw Error("Cannot write \"" + fileName + "\": " + SystemReason(error) + ".");
    }
    return temporary;
}

void StagedFiles::Append(const std::string& fileName, std::string_view content)
{
    const Staged* staged = Find(fileName);
    const std::string temporary = staged != nullptr ? staged->temporary : Reserve(fileName);
    if (const int error = AppendAll(temporary, content); error != 0) {
        throw Error("Cannot write \"" + fileName + "\": " + SystemReason(error) + ".");
    }
}

std::string StagedFiles::ReadName(const std::string& fileName) const
{
    for (const Staged& file : files_) {
        if (file.fileName == fileName) return file.temporary;
    }
    return fileName;
}

void StagedFiles::Publish()
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
    while (!files_.empty()) {
        const Staged file = files_.front();
        files_.erase(files_.begin());
        PublishTemporary(file.temporary, file.fileName);  // removes it on failure
    }
}

}  // namespace tulmera::textio
