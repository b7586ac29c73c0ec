#pragma once
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch/batch_command.h"

namespace tulmera::batch {

// Every command of tulmera-batch, in the order the help lists them.
const std::vector<BatchCommand>& BatchCommands();

// The text printed by --help.
std::string BatchHelpText();

// Runs one command line (the arguments after the program name): parses it, changes to the
// directory given with -C and runs the command. Messages go to `err`, the help to `out`.
// Returns the exit status: 0 success, 1 the run failed, 2 bad arguments.
int RunBatch(const std::vector<std::string_view>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tulmera::batch
