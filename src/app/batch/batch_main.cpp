// tulmera-batch: the models without windows, for scripting, teaching material and tests.
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/batch/batch_options.h"
#include "leaf/leaf_run.h"

namespace {

int Run(const tulmera::batch::BatchOptions& options)
{
    using tulmera::batch::BatchCommand;
    switch (options.command) {
        case BatchCommand::Help:
            std::cout << tulmera::batch::BatchHelpText();
            return 0;
        case BatchCommand::Leaf:
            tulmera::leaf::RunProspect(options.leaf);
            return 0;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    tulmera::batch::BatchOptions options;
    try {
        options = tulmera::batch::ParseBatchArguments(arguments);
    } catch (const tulmera::batch::UsageError& e) {
        std::cerr << "tulmera-batch: " << e.what() << '\n';
        return 2;
    }
    try {
        std::error_code error;
        std::filesystem::current_path(options.directory, error);
        if (error) {
            std::cerr << "tulmera-batch: cannot use the directory \"" << options.directory
                      << "\": " << error.message() << ".\n";
            return 1;
        }
        return Run(options);
    } catch (const std::exception& e) {
        std::cerr << "tulmera-batch: " << e.what() << '\n';
        return 1;
    }
}
