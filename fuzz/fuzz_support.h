#pragma once
#include <string>
#include <string_view>

#include "fuzz/fuzz_entries.h"
#include "textio/error.h"

// Helpers of the fuzz entry functions.
namespace tulmera::fuzz {

// The bytes for a message: printable characters as they are, others as "\xNN", at most 64.
std::string Shown(std::string_view bytes);

// Throws FuzzFailure with `what` unless `holds`.
inline void Require(bool holds, const std::string& what)
{
    if (!holds) throw FuzzFailure(what);
}

// Runs `read`, which reads the file `fileName`, and tells whether it succeeded. A
// tulmera::Error is an allowed outcome, but its message must name the file; any other
// exception is passed on.
template <class Read>
bool ReadsOrNamesFile(std::string_view fileName, Read&& read)
{
    try {
        read();
        return true;
    } catch (const Error& e) {
        const std::string_view message = e.what();
        if (message.find(fileName) == std::string_view::npos) {
            throw FuzzFailure("A failure reading \"" + std::string(fileName)
                              + "\" does not name the file: " + Shown(message));
        }
        return false;
    }
}

}  // namespace tulmera::fuzz
