#include "textio/pause_point.h"

#include <signal.h>

#include <cstdlib>

namespace tulmera::textio {

void PausePoint(std::string_view point)
{
    const char* wanted = std::getenv(kPauseAtVariable);
    if (wanted != nullptr && point == wanted) ::raise(SIGSTOP);
}

}  // namespace tulmera::textio
