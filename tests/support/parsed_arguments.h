#pragma once
#include <CLI/CLI.hpp>
#include <string_view>
#include <vector>

#include "batch/batch_arguments.h"

namespace tulmera::testing {

// `arguments` (a command's options, without the program and command names) read the way the
// runner reads a command's options: declared on a parser of their own (DeclareOptions), parsed
// (ParseCommandLine) and taken from it (BatchArguments::From). Throws batch::UsageError as the
// runner would refuse the line.
inline batch::BatchArguments ParsedArguments(const std::vector<std::string_view>& arguments,
                                             const std::vector<batch::OptionInfo>& accepted)
{
    CLI::App app;
    app.set_help_flag();  // the runner answers --help
    batch::DeclareOptions(app, accepted);
    batch::ParseCommandLine(app, arguments);
    return batch::BatchArguments::From(app, accepted);
}

}  // namespace tulmera::testing
