#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "textio/working_files.h"

// Whole-file access to the working files. Names are used as given, so a bare name such as
// "VP.dat" is a file of the current directory. Every failure throws tulmera::Error naming the
// file and the operating system's reason.
namespace tulmera::textio {

// The whole content of a file, which must be a regular file of at most `maxBytes` bytes: a
// FIFO, a device, a directory or a larger file is refused at once, without reading it.
std::string ReadTextFile(const std::string& fileName, std::size_t maxBytes = kMaxSpectrumFileBytes);

// Whether a write waits until its data is on the disk before the file is put in place. Batch
// runs flush, so that a crash or power cut leaves the old file or the new one; the window's
// live refresh skips it, as its files are remade at the next refresh anyway.
enum class Flushing { ToDisk, Skip };

// A new, empty file beside `fileName`, named ".NAME.PID.COUNT.tmp" after the file and this
// process; another name is tried while one exists. This is the one naming of every temporary
// file the program makes (RemoveStrayTemporaries knows it), and the name is remembered for
// removal on a stop request (own_temporaries.h). Returns its name and, when `fd` is given,
// leaves it open for writing there (else closes it). Throws tulmera::Error naming `fileName`.
std::string CreateTemporarySibling(const std::string& fileName, int* fd = nullptr);

// Writes all of `content` to the open descriptor `fd`, retrying short writes; returns 0 or the
// errno of the failure.
int WriteAllTo(int fd, std::string_view content);

// Flushes the file or directory `name` to the disk (fsync). Returns 0 or the errno of the
// failure; a file system that cannot flush directories (EINVAL) counts as success.
int FlushToDisk(const std::string& name);

// The directory part of `fileName` as a name to open: "." for a bare name.
std::string DirectoryOf(const std::string& fileName);

// Puts the complete file `temporary` (made by CreateTemporarySibling) in the place of
// `fileName` in one step, so that readers see the old or the new file, never a mix. On failure
// `temporary` is removed and tulmera::Error names `fileName`.
void PublishTemporary(const std::string& temporary, const std::string& fileName);

// Cleans up after runs that were killed, in `directory` ("" is the current one): first every
// publish journal of a dead process is rolled forward (publish_journal.h), so that its files
// appear whole, then the temporary siblings whose process is gone are removed. Those of running
// processes stay. Best effort: a directory that cannot be read is skipped.
void RemoveStrayTemporaries(const std::string& directory);

// Replaces the file's content with `content` so that readers only ever see the old or the new
// complete file: the text goes to a temporary sibling (flushed to disk unless told to skip it),
// which is then put in the file's place. On failure the previous file is left as it was and
// the temporary file is removed.
void ReplaceTextFile(const std::string& fileName, std::string_view content,
                     Flushing flushing = Flushing::ToDisk);

// Appends `content` to the end of the file, creating it if missing.
void AppendTextFile(const std::string& fileName, std::string_view content);

// Empties the file: opens it for output (creating it if missing) and closes it at once, so it
// exists afterwards with length 0.
void EmptyTextFile(const std::string& fileName);

}  // namespace tulmera::textio
