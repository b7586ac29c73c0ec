#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/batch_runner.h"
#include "support/split.h"
#include "support/work_dir.h"

// The batch tests' two ways of running a command line: in memory through the runner itself, or
// as the installed program through the shell.
namespace tulmera::testing {

// Runs a tulmera-batch command line in memory: its exit status, and what it wrote to standard
// output and standard error, in that order. The runner changes into its -C directory and stays
// there. The overloads take the arguments as the tests hold them.
inline std::pair<int, std::string> RunCommand(const std::vector<std::string_view>& arguments)
{
    std::ostringstream out, err;
    const int status = batch::RunBatch(arguments, out, err);
    return {status, out.str() + err.str()};
}
inline std::pair<int, std::string> RunCommand(const std::vector<std::string>& arguments)
{
    return RunCommand(std::vector<std::string_view>(arguments.begin(), arguments.end()));
}
inline std::pair<int, std::string> RunCommand(std::initializer_list<std::string_view> arguments)
{
    return RunCommand(std::vector<std::string_view>(arguments));
}

// What a program run through the shell gave back: its exit status (-1 when it did not exit),
// its standard output and its standard error, apart.
struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `commandLine` through the shell, standard error caught in a file of the temporary
// directory (removed again), so that the working directory holds only what the program wrote.
inline Outcome RunProgram(const std::string& commandLine)
{
    static std::atomic<int> runs{0};
    const std::filesystem::path errFile =
        std::filesystem::temp_directory_path()
        / ("tulmera-test-stderr-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
    Outcome outcome;
    if (FILE* pipe = ::popen((commandLine + " 2>'" + errFile.string() + "'").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            outcome.out.append(buffer, got);
        }
        const int status = ::pclose(pipe);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::error_code ignored;
    if (std::filesystem::exists(errFile, ignored)) outcome.err = FileBytes(errFile);
    std::filesystem::remove(errFile, ignored);
    return outcome;
}

#ifdef TULMERA_BATCH  // the path of the tulmera-batch program, where the test target gives it
// Runs the tulmera-batch program with `arguments` (shell words) as RunProgram does.
inline Outcome RunBatchProgram(const std::string& arguments)
{
    return RunProgram(std::string(TULMERA_BATCH) + " " + arguments);
}

// The same with each argument quoted for the shell, for the commands that print to the
// process's standard output (indices, fit-canopy).
inline Outcome RunBatchProgram(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& argument : arguments) line += " '" + argument + "'";
    return RunBatchProgram(line);
}
#endif

// `head` followed by `tail`: a command line made of a command's own arguments and shared ones.
inline std::vector<std::string> With(std::vector<std::string> head,
                                     const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace tulmera::testing
