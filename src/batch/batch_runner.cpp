#include "batch/batch_runner.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>

#include "batch/canopy_command.h"
#include "batch/export_command.h"
#include "batch/fit_canopy_command.h"
#include "batch/fit_leaf_command.h"
#include "batch/indices_command.h"
#include "batch/leaf_command.h"
#include "batch/lut_command.h"
#include "batch/sweep_canopy_command.h"
#include "batch/sweep_command.h"
#include "plot/chart_background.h"
#include "textio/directory_lock.h"
#include "textio/error.h"
#include "textio/system_reason.h"
#include "textio/text_file.h"
#include "textio/working_files.h"
#include "tulmera_version.h"

namespace tulmera::batch {
namespace {

const OptionInfo kDirectoryOption{"-C", "DIR",
                                  "write the result files into DIR (default: the current one)"};

bool IsHelp(std::string_view argument) { return argument == "--help" || argument == "-h"; }

// Whether `argument` names an option of `command` that is followed by its value.
bool TakesValue(const BatchCommand& command, std::string_view argument)
{
    if (argument == kDirectoryOption.name) return true;
    return std::any_of(command.options.begin(), command.options.end(), [&](const OptionInfo& o) {
        return o.name == argument
               && (o.kind == OptionKind::Value || o.kind == OptionKind::Repeated);
    });
}

const BatchCommand* FindCommand(std::string_view name)
{
    const auto& commands = BatchCommands();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [&](const BatchCommand& c) { return c.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

void ChangeDirectory(const std::string& directory)
{
    std::error_code error;
    std::filesystem::current_path(directory, error);
    if (error) {
        throw Error("Cannot use the directory \"" + Shown(directory)
                    + "\": " + textio::SystemReason(error.value()) + ".");
    }
}

// `path` as seen from the working directory `directory`, symbolic links resolved as far as
// the path exists, so that two spellings of one file compare equal.
std::filesystem::path Resolved(const std::string& directory, const std::string& path)
{
    const std::filesystem::path full = std::filesystem::path(directory) / path;
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(full, error);
    return error ? full.lexically_normal() : resolved;
}

// Refuses an output that would be written over a working file of the directory or over
// another output of the same run.
void CheckOutputs(const std::string& directory, const std::vector<std::string>& outputs)
{
    std::vector<std::filesystem::path> seen;
    for (const std::string_view working : kWorkingFiles) {
        seen.push_back(Resolved(directory, std::string(working)));
    }
    const std::size_t workingCount = seen.size();
    for (const std::string& output : outputs) {
        const std::filesystem::path resolved = Resolved(directory, output);
        for (std::size_t i = 0; i < seen.size(); ++i) {
            if (seen[i] != resolved) continue;
            throw UsageError("The output \"" + Shown(output) + "\" would be written over "
                             + (i < workingCount
                                    ? "the working file \"" + std::string(kWorkingFiles[i]) + "\""
                                    : std::string("another output of this run"))
                             + "; choose another name.");
        }
        seen.push_back(resolved);
    }
}

// The lock of the working directory, taken as asked: waiting, or failing at once.
std::unique_ptr<textio::DirectoryLock> LockDirectory(bool noWait, std::ostream& err)
{
    auto lock = std::make_unique<textio::DirectoryLock>(".");
    if (lock->TryLock()) return lock;
    const pid_t holder = lock->HolderPid();
    const std::string who = holder > 0 ? "process " + std::to_string(holder) : "another process";
    if (noWait) {
        throw Error("The directory is busy: " + who
                    + " (a tulmera-batch run or a Tulmera window) works in it (--no-wait).");
    }
    err << "tulmera-batch: waiting for " << who << ", which works in this directory.\n";
    lock->Lock();
    return lock;
}

}  // namespace

const std::vector<BatchCommand>& BatchCommands()
{
    static const std::vector<BatchCommand> commands = {
        LeafCommand(),    CanopyCommand(),    IndicesCommand(), SweepCommand(),
        SweepCanopyCommand(), ExportCommand(), FitLeafCommand(), FitCanopyCommand(),
        LutCommand(),     LutMergeCommand()};
    return commands;
}

std::string BatchHelpText()
{
    std::string text =
        "Usage: tulmera-batch COMMAND [OPTIONS]\n\n"
        "Runs Tulmera's models without windows and writes the same result files as the\n"
        "program, in the current directory or in the one given with -C.\n"
        "tulmera-batch --version prints the version.\n";
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
        "Every command also takes --no-wait: one run works in a directory at a time\n"
        "(batch or window, through the lock file .tulmera.lock); a second run waits\n"
        "for the first, or with --no-wait fails at once naming its process id.\n"
        "A run writes all its files or none: a failed or stopped run leaves the\n"
        "previous ones as they were. No output may be a working file (VP.dat, VS.dat,\n"
        "MVP.dat, MVPaint.dat) nor another output of the same run.\n"
        "Exit status: 0 success; 1 the run failed (files, model); 2 the command line\n"
        "(unknown option, bad number, value out of range, output over a working file).\n"
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
    const BatchCommand* command = FindCommand(arguments.front());
    if (!command) {
        throw UsageError("Unknown command \"" + std::string(arguments.front()) + "\"; try --help.");
    }
    std::vector<OptionInfo> accepted = command->options;
    accepted.push_back(kDirectoryOption);
    std::vector<std::string_view> options;
    bool noWait = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--no-wait") {
            noWait = true;
            continue;
        }
        options.push_back(arguments[i]);
        if (TakesValue(*command, arguments[i]) && i + 1 < arguments.size()) {
            options.push_back(arguments[++i]);  // its value, whatever it reads
        }
    }
    const BatchArguments parsed = BatchArguments::Parse(options, accepted);
    PreparedBatch prepared;
    prepared.directory = parsed.Text("-C", ".");
    BatchWork work = command->prepare(parsed);
    CheckOutputs(prepared.directory, work.outputs);
    prepared.work = std::move(work.run);
    prepared.outputs = std::move(work.outputs);
    prepared.noWait = noWait;
    prepared.usesWorkingFiles = work.usesWorkingFiles;
    return prepared;
}

namespace {

bool AsksForHelp(const std::vector<std::string_view>& arguments)
{
    if (arguments.empty()) return false;
    if (arguments.front() == "help" || IsHelp(arguments.front())) return true;
    const BatchCommand* command = FindCommand(arguments.front());
    if (!command) return false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (IsHelp(arguments[i])) return true;
        if (TakesValue(*command, arguments[i])) ++i;  // skip the option's value
    }
    return false;
}

}  // namespace

int RunBatch(const std::vector<std::string_view>& arguments, std::ostream& out, std::ostream& err)
{
    if (AsksForHelp(arguments)) {
        out << BatchHelpText();
        return 0;
    }
    if (arguments.size() == 1 && arguments.front() == "--version") {
        out << "tulmera-batch " << kVersion << '\n';
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
        std::unique_ptr<textio::DirectoryLock> lock;
        if (prepared.usesWorkingFiles) lock = LockDirectory(prepared.noWait, err);
        textio::RemoveStrayTemporaries(".");
        for (const std::string& output : prepared.outputs) {
            textio::RemoveStrayTemporaries(std::filesystem::path(output).parent_path().string());
        }
        prepared.work();
        return 0;
    } catch (const std::exception& e) {
        err << "tulmera-batch: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace tulmera::batch
