#pragma once
#include <sys/wait.h>

#include <cstdio>
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

// A command line run through the shell (`commandLine` says where standard error goes, e.g.
// "2>&1" or "2>stderr.txt"): its exit status, -1 when it did not exit, and its standard output.
struct ShellRun {
    int exitCode = -1;
    std::string out;
};
inline ShellRun RunShell(const std::string& commandLine)
{
    ShellRun run;
    FILE* pipe = ::popen(commandLine.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace tulmera::testing
