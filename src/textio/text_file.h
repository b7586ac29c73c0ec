#pragma once
#include <string>
#include <string_view>

// Whole-file access to the working files. Names are used as given, so a bare name such as
// "VP.dat" is a file of the current directory. Every failure throws tulmera::Error naming the
// file and the operating system's reason.
namespace tulmera::textio {

// The whole content of a file.
std::string ReadTextFile(const std::string& fileName);

// Replaces the file's content with `content` so that readers only ever see the old or the new
// complete file: the text goes to a temporary sibling, which is then renamed over the file.
// On failure the previous file is left as it was and the temporary file is removed.
void ReplaceTextFile(const std::string& fileName, std::string_view content);

// Appends `content` to the end of the file, creating it if missing.
void AppendTextFile(const std::string& fileName, std::string_view content);

// Empties the file: opens it for output (creating it if missing) and closes it at once, so it
// exists afterwards with length 0.
void EmptyTextFile(const std::string& fileName);

}  // namespace tulmera::textio
