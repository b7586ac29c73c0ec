#include "batch/batch_runner.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "batch/canopy_command.h"
#include "batch/export_command.h"
#include "batch/leaf_command.h"
#include "batch/lut_command.h"
#include "batch/sweep_command.h"
#include "plot/chart_background.h"
#include "textio/error.h"

namespace tulmera::batch {
namespace {

const OptionInfo kDirectoryOption{"-C", "DIR",
                                  "write the result files into DIR (default: the current one)"};

bool IsHelp(std::string_view argument)
{
    return argument == "--help" || argument == "-h" || argument == "help";
}

void ChangeDirectory(const std::string& directory)
{
    std::error_code error;
    std::filesystem::current_path(directory, error);
    if (error) {
        throw Error("Cannot use the directory \"" + directory + "\": " + error.message() + ".");
    }
}

}  // namespace

const std::vector<BatchCommand>& BatchCommands()
{
    static const std::vector<BatchCommand> commands = {LeafCommand(),  CanopyCommand(),
                                                       SweepCommand(), ExportCommand(),
                                                       LutCommand(),   LutMergeCommand()};
    return commands;
}

std::string BatchHelpText()
{
    std::string text =
        "Usage: tulmera-batch COMMAND [OPTIONS]\n\n"
        "Runs Tulmera's models without windows and writes the same result files as the\n"
        "program, in the current directory or in the one given with -C.\n";
    for (const BatchCommand& command : BatchCommands()) {
        text += "\ntulmera-batch " + std::string(command.name) + " [OPTIONS]\n  ";
        for (const char c : command.summary)
            text += c == '\n' ? std::string("\n  ") : std::string(1, c);
        text += "\n";
        for (const OptionInfo& option : command.options) {
            std::string usage =
                "    " + std::string(option.name) + " " + std::string(option.valueName);
            usage.resize(std::max<std::size_t>(usage.size() + 1, 24), ' ');
            text += usage + std::string(option.help) + "\n";
        }
    }
    text +=
        "\nEvery command also takes -C DIR (write the result files into DIR) and --help.\n"
        "A relative DIR or FILE of an option is taken from the -C directory.\n"
        "Numbers use a point as decimal separator, whatever the locale.\n"
        "Exit status: 0 success, 1 the run failed, 2 bad arguments.\n"
        "\n--background N chooses an entry of the main window's chart menu:";
    for (int entry = 1; entry <= plot::kBackgroundEntryCount; ++entry) {
        const std::string_view caption =
            plot::kBackgroundCaptions[static_cast<std::size_t>(entry - 1)];
        const char* separator = entry == 1 ? "\n  " : entry % 3 == 1 ? ",\n  " : ", ";
        text += separator + std::to_string(entry) + " \"" + std::string(caption) + "\"";
    }
    text += ".\n";
    return text;
}

PreparedBatch PrepareBatch(const std::vector<std::string_view>& arguments)
{
    if (arguments.empty()) throw UsageError("No command given; try --help.");
    const auto& commands = BatchCommands();
    const auto command = std::find_if(commands.begin(), commands.end(), [&](const BatchCommand& c) {
        return c.name == arguments.front();
    });
    if (command == commands.end()) {
        throw UsageError("Unknown command \"" + std::string(arguments.front()) + "\"; try --help.");
    }
    std::vector<OptionInfo> accepted = command->options;
    accepted.push_back(kDirectoryOption);
    const BatchArguments parsed = BatchArguments::Parse(
        std::vector<std::string_view>(arguments.begin() + 1, arguments.end()), accepted);
    return {parsed.Text("-C", "."), command->prepare(parsed)};
}

int RunBatch(const std::vector<std::string_view>& arguments, std::ostream& out, std::ostream& err)
{
    if (std::any_of(arguments.begin(), arguments.end(), IsHelp)) {
        out << BatchHelpText();
        return 0;
    }
    PreparedBatch prepared;
    try {
        prepared = PrepareBatch(arguments);
    } catch (const UsageError& e) {
        err << "tulmera-batch: " << e.what() << '\n';
        return 2;
    }
    try {
        ChangeDirectory(prepared.directory);
        prepared.work();
        return 0;
    } catch (const std::exception& e) {
        err << "tulmera-batch: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace tulmera::batch
