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
    std::string directory;             // the value of -C: where the run writes ("." when not given)
    std::function<void()> work;        // the command's run, to be called from `directory`
    std::vector<std::string> outputs;  // its files besides the working files, from `directory`
    bool noWait = false;               // --no-wait: fail at once when the directory is busy
    bool usesWorkingFiles = true;      // the run holds the directory's lock
    bool help = false;                 // --help (or -h) as an option, or "help" as the command
};

// Parses one command line (the arguments after the program name) and prepares its command
// without running it, changing directory or touching the disk. Throws UsageError when no or
// an unknown command is given, its options are bad or outside the models' ranges, or an
// output would be written over a working file or another output. "--help", "-h" and
// "--no-wait" are read only where an option's name stands, never as an option's value.
PreparedBatch PrepareBatch(const std::vector<std::string_view>& arguments);

// Runs one command line (the arguments after the program name): parses it, changes to the
// directory given with -C, locks it (waiting for another run there, or failing at once with
// --no-wait), removes what killed runs left behind and runs the command. Messages go to
// `err`, the help to `out`. Returns the exit status: 0 success, 1 the run failed, 2 the
// command line (everything that can be known before running).
int RunBatch(const std::vector<std::string_view>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tulmera::batch
