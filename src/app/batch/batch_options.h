#pragma once
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "leaf/leaf_parameters.h"

namespace tulmera::batch {

enum class BatchCommand { Help, Leaf };

// What one invocation of tulmera-batch asks for.
struct BatchOptions {
    BatchCommand command = BatchCommand::Help;
    std::string directory = ".";  // -C: the working directory of the run
    leaf::LeafParameters leaf = leaf::kStartLeafParameters;
};

// A command line that cannot be understood; what() says why, in English.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

// Parses the arguments after the program name. Throws UsageError for an unknown command or
// option, a missing value or a value that is not a number.
BatchOptions ParseBatchArguments(const std::vector<std::string_view>& arguments);

// The text printed by --help.
std::string BatchHelpText();

}  // namespace tulmera::batch
