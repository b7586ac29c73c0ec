#pragma once
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/batch_runner.h"

namespace tulmera::testing {

// Runs a tulmera-batch command line in memory: its exit status, and what it wrote to standard
// output and standard error, in that order. The runner changes into its -C directory and stays
// there.
inline std::pair<int, std::string> RunCommand(const std::vector<std::string>& arguments)
{
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    std::ostringstream out, err;
    const int status = batch::RunBatch(views, out, err);
    return {status, out.str() + err.str()};
}

}  // namespace tulmera::testing
