#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_arguments.h"

namespace tulmera::batch {

// The work of one command line, ready to run.
struct BatchWork {
    // The run, called from the working directory while it is locked; it stages every file it
    // writes and publishes them all at its end. Throws tulmera::Error when the run fails.
    std::function<void()> run;
    // The files it writes besides the working files (images, workbook), as given (relative to
    // the working directory): none may be a working file or another output.
    std::vector<std::string> outputs;
    // Whether the run reads or writes the working files of its directory, and so holds the
    // directory's lock; a command that only reads its own inputs and prints does not.
    bool usesWorkingFiles = true;
};

// One command of tulmera-batch. `prepare` reads and checks the command's options, including
// every value against the models' accepted ranges (throwing UsageError), and returns the work.
struct BatchCommand {
    std::string_view name;
    std::string_view summary;  // for the help text; may span lines
    std::vector<OptionInfo> options;
    std::function<BatchWork(const BatchArguments&)> prepare;
};

}  // namespace tulmera::batch
