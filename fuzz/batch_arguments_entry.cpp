#include <string>
#include <vector>

#include "batch/batch_arguments.h"
#include "batch/batch_runner.h"
#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_support.h"

namespace tulmera::fuzz {

void FuzzBatchArguments(std::string_view bytes)
{
    // The bytes are the arguments as the program receives them: each ended by a NUL byte.
    std::vector<std::string_view> arguments;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        arguments.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    batch::PreparedBatch prepared;
    try {
        prepared = batch::PrepareBatch(arguments);
    } catch (const batch::UsageError& e) {
        Require(*e.what() != '\0', "A command line is refused without a message.");
        return;
    }
    Require(static_cast<bool>(prepared.work), "A prepared command has no work to run.");
    Require(!arguments.empty(), "An empty command line was prepared.");
}

}  // namespace tulmera::fuzz
