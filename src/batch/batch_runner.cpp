#include "batch/batch_runner.h"

#include <signal.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>

#include "batch/brdf_command.h"
#include "batch/canopy_command.h"
#include "batch/export_command.h"
#include "batch/fit_canopy_command.h"
#include "batch/fit_leaf_command.h"
#include "batch/gsa_command.h"
#include "batch/indices_command.h"
#include "batch/leaf_command.h"
#include "batch/lut_command.h"
#include "batch/session_option.h"
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
const OptionInfo kNoWaitOption{
    "--no-wait", "", "fail at once when another run works in the directory", OptionKind::Flag};

// What every command takes besides its own options.
std::vector<OptionInfo> AcceptedOptions(const BatchCommand& command)
{
    std::vector<OptionInfo> accepted = command.options;
    accepted.push_back(kDirectoryOption);
    accepted.push_back(kNoWaitOption);
    if (TakesSession(command.options)) accepted.push_back(kSessionOption);
    return accepted;
}

// Declares a flag of the runner itself on `app` (CLI11 wants its help as a named string).
void AddFlag(CLI::App& app, const std::string& name, const std::string& help)
{
    app.add_flag(name, help);
}

// The notes under the help; the chart menu's entries where --background is taken.
std::string HelpNotes(bool withBackgrounds)
{
    std::string text =
        "A relative DIR or FILE of an option is taken from the -C directory.\n"
        "An option's value follows it (--N 2) or its name and \"=\" (--N=2).\n"
        "Numbers use a point as decimal separator, whatever the locale.\n"
        "One run works in a directory at a time (batch or window, through the lock\n"
        "file .tulmera.lock); a second run waits for the first, or with --no-wait\n"
        "fails at once naming its process id.\n"
        "A run writes all its files or none: a failed or stopped run leaves the\n"
        "previous ones as they were. No output may be a working file (VP.dat, VS.dat,\n"
        "MVP.dat, MVPaint.dat) nor another output of the same run.\n"
        "Exit status: 0 success; 1 the run failed (files, model); 2 the command line\n"
        "(unknown option, bad number, value out of range, output over a working file).";
    if (!withBackgrounds) return text;
    text += "\n\n--background N chooses an entry of the main window's chart menu:";
    for (int entry = 1; entry <= plot::kBackgroundEntryCount; ++entry) {
        const std::string_view caption =
            plot::kBackgroundCaptions[static_cast<std::size_t>(entry - 1)];
        const char* separator = entry == 1 ? "\n  " : entry % 3 == 1 ? ",\n  " : ", ";
        text += separator + std::to_string(entry) + " \"" + std::string(caption) + "\"";
    }
    text += ".";
    return text;
}

// CLI11's help with a blank line before each command of the full help, so that help2man
// sets every command apart in the manual page.
class BatchHelpFormatter : public CLI::Formatter {
public:
    std::string make_expanded(const CLI::App* sub) const override
    {
        return "\n" + CLI::Formatter::make_expanded(sub);
    }
};

// The parser of tulmera-batch: one subcommand per command, each with its help flag, and
// the unlisted "help [COMMAND]".
std::unique_ptr<CLI::App> MakeParser()
{
    auto app = std::make_unique<CLI::App>(
        "Runs Tulmera's models without windows and writes the same result files as the\n"
        "program, in the current directory or in the one given with -C.",
        "tulmera-batch");
    app->set_help_flag();  // answered by the runner, which also shows it after a bad line
    AddFlag(*app, "-h,--help", "print this help");
    AddFlag(*app, "--version", "print the version");
    app->allow_extras();            // an unknown command is refused by name below
    app->require_subcommand(0, 1);  // so that a plain argument never starts a second command
    app->footer(HelpNotes(true));
    app->formatter(std::make_shared<BatchHelpFormatter>());  // the commands inherit it
    app->get_formatter()->label("SUBCOMMAND", "COMMAND");
    for (const BatchCommand& command : BatchCommands()) {
        CLI::App* sub =
            app->add_subcommand(std::string(command.name), std::string(command.summary));
        sub->group("Commands");
        AddFlag(*sub, "-h,--help", "print this help");
        DeclareOptions(*sub, AcceptedOptions(command));
        const bool takesBackground =
            std::any_of(command.options.begin(), command.options.end(),
                        [](const OptionInfo& o) { return o.name == "--background"; });
        sub->footer(HelpNotes(takesBackground));
    }
    app->add_subcommand("help", "")->group("")->allow_extras();
    return app;
}

// The command chosen on a parsed command line, or nullptr.
CLI::App* ChosenCommand(const CLI::App& app)
{
    const std::vector<CLI::App*> chosen = app.get_subcommands();
    return chosen.empty() ? nullptr : chosen.front();
}

// The help a parsed command line asks for ("--help", "-h", "help", "help COMMAND",
// "COMMAND ... --help"), told apart from its text: a line prepared for a run only needs to know
// that it asks for one, and the general help's text takes a parser of its own to build.
struct AskedHelp {
    bool asked = false;
    const CLI::App* command = nullptr;  // whose help it is; nullptr: the general help

    std::string Text() const { return command ? command->help("tulmera-batch") : BatchHelpText(); }
};

AskedHelp HelpAsked(const CLI::App& app)
{
    if (app.count(std::string("--help")) > 0) return {true};
    const CLI::App* chosen = ChosenCommand(app);
    if (!chosen) return {};
    if (chosen->get_name() == "help") {
        const std::vector<std::string> topic = chosen->remaining();
        const std::vector<const CLI::App*> command = app.get_subcommands([&](const CLI::App* c) {
            return !topic.empty() && c->get_name() == topic.front() && c != chosen;
        });
        return {true, command.empty() ? nullptr : command.front()};
    }
    if (chosen->count(std::string("--help")) == 0) return {};
    return {true, chosen};
}

// "-C DIR" given before the command moves after it, where the command's options are read, so
// that both places work alike.
std::vector<std::string_view> DirectoryAfterCommand(std::vector<std::string_view> arguments)
{
    if (arguments.size() >= 3 && arguments[0] == "-C") {
        const std::string_view directory = arguments[1];
        arguments.erase(arguments.begin(), arguments.begin() + 2);
        arguments.insert(arguments.begin() + 1, {"-C", directory});
    }
    return arguments;
}

// The help asked for by "--help" or "-h" anywhere on the command line, even where an option
// would take it for its value (`leaf --csv --help` must not write a file named "--help"): the
// help of the command named before it, else the general help.
std::optional<std::string> HelpAnywhere(const CLI::App& app,
                                        const std::vector<std::string_view>& arguments)
{
    if (std::none_of(arguments.begin(), arguments.end(),
                     [](std::string_view a) { return a == "--help" || a == "-h"; })) {
        return std::nullopt;
    }
    for (const std::string_view argument : arguments) {
        if (argument == "--help" || argument == "-h") break;
        for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
            if (command->get_name() == argument && argument != "help") {
                return command->help("tulmera-batch");
            }
        }
    }
    return BatchHelpText();
}

const BatchCommand& FindCommand(std::string_view name)
{
    const auto& commands = BatchCommands();
    return *std::find_if(commands.begin(), commands.end(),
                         [&](const BatchCommand& c) { return c.name == name; });
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
        if (output.starts_with('-')) {
            throw UsageError("The output \"" + Shown(output)
                             + "\" looks like an option; to name such a file write \"./"
                             + Shown(output) + "\".");
        }
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
    // The holder writes its id just after it takes the lock: until then the file holds none,
    // or its previous holder's; a moment's wait names the right one.
    pid_t holder = lock->HolderPid();
    for (int attempt = 0;
         attempt < 100 && (holder <= 0 || (::kill(holder, 0) != 0 && errno == ESRCH)); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        holder = lock->HolderPid();
    }
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
        LeafCommand(),        CanopyCommand(),   IndicesCommand(), SweepCommand(),
        SweepCanopyCommand(), ExportCommand(),   FitLeafCommand(), FitCanopyCommand(),
        LutCommand(),         LutMergeCommand(), GsaCommand(),     GsaMergeCommand(),
        BrdfCommand()};
    return commands;
}

std::string BatchHelpText() { return MakeParser()->help("", CLI::AppFormatMode::All); }

namespace {

// Prepares the command a parsed command line chose; throws UsageError as PrepareBatch does.
PreparedBatch PrepareParsed(const CLI::App& app)
{
    const std::vector<std::string> unknown = app.remaining();
    if (!unknown.empty()) {
        throw UsageError("Unknown command \"" + Shown(unknown.front()) + "\"; try --help.");
    }
    if (app.count(std::string("--version")) > 0) {
        throw UsageError("--version takes no other argument; try --help.");
    }
    if (HelpAsked(app).asked) {
        throw UsageError("The command line asks for the help, not for a run.");
    }
    const CLI::App* chosen = ChosenCommand(app);
    if (!chosen) throw UsageError("No command given; try --help.");
    const BatchCommand& command = FindCommand(chosen->get_name());
    BatchArguments parsed = BatchArguments::From(*chosen, AcceptedOptions(command));
    PreparedBatch prepared;
    prepared.directory = parsed.Text(kDirectoryOption.name, ".");
    SupplyFromSession(parsed, AcceptedOptions(command), prepared.directory);
    BatchWork work = command.prepare(parsed);
    CheckOutputs(prepared.directory, work.outputs);
    prepared.work = std::move(work.run);
    prepared.outputs = std::move(work.outputs);
    prepared.noWait = parsed.Has(kNoWaitOption.name);
    prepared.usesWorkingFiles = work.usesWorkingFiles;
    return prepared;
}

}  // namespace

PreparedBatch PrepareBatch(const std::vector<std::string_view>& arguments)
{
    // Building the parser (every command with every option) costs some hundred times a parse,
    // and the tests and the fuzzer prepare many lines: each thread builds it once and clears
    // what a line left in it (its options' values, chosen command, extras) as soon as the line
    // is prepared or refused. Nothing of a line then outlives it, neither in the next line nor
    // in memory: a leak checker that counts a line's allocations finds them all freed (the
    // fuzzer runs again, to look for a leak, every input that leaves memory allocated).
    thread_local const std::unique_ptr<CLI::App> app = MakeParser();
    const struct ClearedAfterLine {
        CLI::App& parser;
        ~ClearedAfterLine() { parser.clear(); }
    } cleared{*app};
    ParseCommandLine(*app, DirectoryAfterCommand(arguments));
    return PrepareParsed(*app);
}

int RunBatch(const std::vector<std::string_view>& given, std::ostream& out, std::ostream& err)
{
    const std::unique_ptr<CLI::App> app = MakeParser();
    const std::vector<std::string_view> arguments = DirectoryAfterCommand(given);
    if (const std::optional<std::string> help = HelpAnywhere(*app, arguments)) {
        out << *help;
        return 0;
    }
    PreparedBatch prepared;
    try {
        try {
            ParseCommandLine(*app, arguments);
        } catch (const UsageError&) {
            // The help wins over a bad command line.
            if (const AskedHelp help = HelpAsked(*app); help.asked) {
                out << help.Text();
                return 0;
            }
            throw;
        }
        if (const AskedHelp help = HelpAsked(*app); help.asked) {
            out << help.Text();
            return 0;
        }
        if (arguments.size() == 1 && app->count(std::string("--version")) == 1) {
            out << "tulmera-batch " << kVersion << '\n';
            return 0;
        }
        prepared = PrepareParsed(*app);
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
    } catch (const UsageError& e) {
        // An option that only the run's inputs show to be wrong (fit-canopy's --sky-mix
        // against its table's): still the command line, refused before anything is written.
        err << "tulmera-batch: " << e.what() << '\n';
        return 2;
    } catch (const std::exception& e) {
        err << "tulmera-batch: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace tulmera::batch
