#pragma once
#include <string_view>

// Named points in a run where a test can stop the process, to signal or kill it at exactly that
// step instead of guessing with sleeps.
namespace tulmera::textio {

// The environment variable that names the one point to stop at, e.g. "publish-swap-2".
inline constexpr const char* kPauseAtVariable = "TULMERA_PAUSE_AT";

// When kPauseAtVariable names `point`, the process stops itself there (SIGSTOP), as a debugger
// would; it carries on when it receives SIGCONT. Otherwise nothing happens.
void PausePoint(std::string_view point);

}  // namespace tulmera::textio
