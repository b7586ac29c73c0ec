#pragma once
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_command.h"

namespace tulmera::batch {

// Every command of tulmera-batch, in the order the help lists them.
const std::vector<BatchCommand>& BatchCommands();

// The text printed by --help.
std::string BatchHelpText();

// A command line parsed and checked, ready to run.
struct PreparedBatch {
    std::string directory;       // the value of -C: where the run writes ("." when not given)
    std::function<void()> work;  // the command's run, to be called from `directory`
};

// Parses one command line (the arguments after the program name) and prepares its command
// without running it, changing directory or touching the disk. Throws UsageError when no or
// an unknown command is given or its options are bad. The help options are RunBatch's.
PreparedBatch PrepareBatch(const std::vector<std::string_view>& arguments);

// Runs one command line (the arguments after the program name): parses it, changes to the
// directory given with -C and runs the command. Messages go to `err`, the help to `out`.
// Returns the exit status: 0 success, 1 the run failed, 2 bad arguments.
int RunBatch(const std::vector<std::string_view>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tulmera::batch
