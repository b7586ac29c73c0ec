#pragma once
#include <functional>
#include <string_view>
#include <vector>

#include "batch/batch_arguments.h"

namespace tulmera::batch {

// One command of tulmera-batch. `prepare` reads and checks the command's options (throwing
// UsageError) and returns the work to do, which the runner calls from the working directory
// and which throws tulmera::Error when the run fails.
struct BatchCommand {
    std::string_view name;
    std::string_view summary;  // for the help text; may span lines
    std::vector<OptionInfo> options;
    std::function<std::function<void()>(const BatchArguments&)> prepare;
};

}  // namespace tulmera::batch
