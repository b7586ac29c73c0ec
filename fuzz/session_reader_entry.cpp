// The session reader on arbitrary text: it either refuses the text with tulmera::Error or gives
// a session that writes and reads back unchanged, so that no accepted file can be saved into
// one the windows would then refuse.
#include <string>

#include "fuzz/fuzz_entries.h"
#include "session/session.h"
#include "textio/error.h"

namespace tulmera::fuzz {

void FuzzSessionReader(std::string_view bytes)
{
    session::Session read;
    try {
        read = session::ReadSession(bytes, "fuzz.tulmera");
    } catch (const Error&) {
        return;  // refused, as its contract allows
    }
    std::string text;
    try {
        text = session::SessionText(read);
    } catch (const Error& e) {
        throw FuzzFailure(std::string("an accepted session cannot be written: ") + e.what());
    }
    if (!(session::ReadSession(text, "fuzz.tulmera") == read)) {
        throw FuzzFailure("an accepted session does not read back as it was written");
    }
}

}  // namespace tulmera::fuzz
