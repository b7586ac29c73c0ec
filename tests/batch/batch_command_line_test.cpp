// The command line as CLI11 reads it for the runner: both spellings of a value, the forms
// of the help, and the lines it must refuse.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "batch/batch_arguments.h"
#include "batch/batch_runner.h"
#include "support/parsed_arguments.h"
#include "support/run_command.h"

namespace tulmera::batch {
namespace {

const std::vector<OptionInfo> kAccepted = {
    {"--view", "deg", "a signed number"},
    {"-C", "DIR", "a short option"},
    {"--range", "P=lo:hi", "repeatable", OptionKind::Repeated},
    {"--quiet", "", "a flag", OptionKind::Flag},
    {"FILE", "FILE...", "the plain arguments", OptionKind::Positional},
};

// Everything a command can read from parsed arguments, as one comparable text.
std::string Seen(const BatchArguments& parsed)
{
    std::string seen = "view=" + parsed.Text("--view", "(none)")
                       + " C=" + parsed.Text("-C", "(none)")
                       + " quiet=" + (parsed.Has("--quiet") ? "yes" : "no") + " ranges=";
    for (const std::string& range : parsed.Values("--range")) seen += "[" + range + "]";
    seen += " files=";
    for (const std::string& file : parsed.Positionals()) seen += "[" + file + "]";
    return seen;
}

TEST(BatchCommandLine, NameEqualsValueReadsAsNameThenValue)
{
    const struct {
        std::vector<std::string_view> spaced;
        std::vector<std::string_view> joined;
        const char* seen;
    } cases[] = {
        {{"--view", "-30"}, {"--view=-30"}, "view=-30 C=(none) quiet=no ranges= files="},
        // A short option takes its value joined without "=", as getopt does.
        {{"-C", "out"}, {"-Cout"}, "view=(none) C=out quiet=no ranges= files="},
        // The value is taken whatever it reads, even an option's name.
        {{"--view", "--quiet"},
         {"--view=--quiet"},
         "view=--quiet C=(none) quiet=no ranges= files="},
        {{"--range", "N=1:2", "a", "--range", "Cab=-5:5"},
         {"--range=N=1:2", "a", "--range=Cab=-5:5"},
         "view=(none) C=(none) quiet=no ranges=[N=1:2][Cab=-5:5] files=[a]"},
        {{"x", "--quiet", "y"},
         {"x", "--quiet=true", "y"},
         "view=(none) C=(none) quiet=yes ranges= files=[x][y]"},
        // Blanks around values go, except around directory and file names.
        {{"--view", " 3\t", "--range", " N=1:2 ", "-C", " d ", " f "},
         {"--view= 3\t", "--range= N=1:2 ", "-C d ", " f "},
         "view=3 C= d  quiet=no ranges=[N=1:2] files=[ f ]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Seen(testing::ParsedArguments(c.spaced, kAccepted)), c.seen);
        EXPECT_EQ(Seen(testing::ParsedArguments(c.joined, kAccepted)), c.seen);
    }
}

TEST(BatchCommandLine, RefusesWhatTheOldSpellingCouldNotSay)
{
    const struct {
        std::vector<std::string_view> arguments;
        const char* expected;
    } cases[] = {
        {{"--view="}, "--view needs a value"},
        {{"a", "-C"}, "-C needs a value"},
        {{"--quiet", "--quiet"}, "--quiet is given twice"},
        {{"--quiet=yes"}, "--quiet takes no value"},
        {{"-Ca", "-C", "b"}, "-C is given twice"},
        {{"a", "-x", "b"}, "Unknown option \"-x\""},
    };
    for (const auto& c : cases) {
        try {
            testing::ParsedArguments(c.arguments, kAccepted);
            ADD_FAILURE() << "accepted: " << c.expected;
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
    // A command without plain arguments refuses one.
    EXPECT_THROW(testing::ParsedArguments({"--view", "1", "2"}, {kAccepted[0]}), UsageError);
}

TEST(BatchCommandLine, EachCommandsHelpShowsItsOwnOptionsWithTheirValueNames)
{
    for (const BatchCommand& command : BatchCommands()) {
        const std::string name(command.name);
        for (const auto& arguments : {std::vector<std::string_view>{command.name, "--help"},
                                      std::vector<std::string_view>{"help", command.name}}) {
            const auto [status, text] = testing::RunCommand(arguments);
            EXPECT_EQ(status, 0) << name;
            EXPECT_NE(text.find("Usage: tulmera-batch " + name + " "), std::string::npos) << text;
            for (const OptionInfo& option : command.options) {
                if (option.kind == OptionKind::Positional || option.kind == OptionKind::Flag) {
                    EXPECT_NE(text.find(option.name), std::string::npos) << name;
                    continue;
                }
                const std::string usage =
                    std::string(option.name) + " " + std::string(option.valueName);
                EXPECT_NE(text.find(usage), std::string::npos) << name << ": " << usage;
            }
            EXPECT_NE(text.find("-C DIR"), std::string::npos) << name;
            EXPECT_NE(text.find("--no-wait"), std::string::npos) << name;
        }
    }
    // The general help lists every command.
    const auto [status, text] = testing::RunCommand({"help"});
    EXPECT_EQ(status, 0);
    for (const BatchCommand& command : BatchCommands()) {
        EXPECT_NE(text.find("\n" + std::string(command.name) + "\n"), std::string::npos)
            << command.name;
    }
}

TEST(BatchCommandLine, RunnerReadsHelpVersionAndCommandsOnlyWhereTheyStand)
{
    const struct {
        std::vector<std::string_view> arguments;
        int status;
        const char* expected;
    } cases[] = {
        {{"leaf", "--help", "--N"}, 0, "Usage: tulmera-batch leaf"},  // help wins
        {{"-h", "leaf", "--N"}, 0, "Usage: tulmera-batch [OPTIONS]"},
        {{"leaf", "--N=2", "--help=true"}, 0, "Usage: tulmera-batch leaf"},
        // Never a value: the help, and no file named "--help" or "-h".
        {{"leaf", "--N", "--help"}, 0, "Usage: tulmera-batch leaf"},
        {{"leaf", "--csv", "--help"}, 0, "Usage: tulmera-batch leaf"},
        {{"leaf", "--csv", "-h"}, 0, "Usage: tulmera-batch leaf"},
        {{"sweep", "--xlsx", "--help"}, 0, "Usage: tulmera-batch sweep"},
        {{"-C", "--help"}, 0, "Usage: tulmera-batch [OPTIONS]"},
        {{"lut", "--samples", "1", "--out", "-h.csv"}, 2, "\"-h.csv\" looks like an option"},
        // -C before the command as after it.
        {{"-C", "no-such-dir", "leaf"}, 1, "\"no-such-dir\""},
        {{"-C", "a", "leaf", "-C", "b"}, 2, "-C is given twice"},
        {{"--bogus", "leaf"}, 2, "Unknown command \"--bogus\""},
        {{"leaf", "--version"}, 2, "Unknown option \"--version\""},
        {{"--version", "leaf"}, 2, "--version takes no other argument"},
        {{"leaf", "--no-wait=1"}, 2, "--no-wait takes no value"},
    };
    for (const auto& c : cases) {
        const auto [status, text] = testing::RunCommand(c.arguments);
        EXPECT_EQ(status, c.status) << c.expected;
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
    }
}

TEST(BatchCommandLine, APlainArgumentNamedLikeACommandStaysAPlainArgument)
{
    const PreparedBatch prepared = PrepareBatch({"lut-merge", "all.csv", "leaf", "canopy"});
    EXPECT_EQ(prepared.outputs, std::vector<std::string>{"all.csv"});
    EXPECT_TRUE(PrepareBatch({"leaf", "--no-wait", "-Cout"}).noWait);
    EXPECT_EQ(PrepareBatch({"leaf", "-Cout"}).directory, "out");
}

// One parser serves every line a thread prepares: nothing of a line, taken or refused, may
// reach the next.
TEST(BatchCommandLine, ALineKeepsNothingOfTheLinesBeforeIt)
{
    struct Line {
        std::vector<std::string_view> arguments;
        bool refused;
        std::string directory;
        std::vector<std::string> outputs;
        bool noWait;
    };
    const std::vector<Line> lines = {
        {{"leaf", "--no-wait", "-Cout", "--csv", "a.csv"}, false, "out", {"a.csv"}, true},
        {{"leaf"}, false, ".", {}, false},
        {{"lut-merge", "all.csv", "p0.csv", "p1.csv"}, false, ".", {"all.csv"}, false},
        {{"lut-merge", "two.csv", "p0.csv"}, false, ".", {"two.csv"}, false},
        {{"leaf", "--csv", "b.csv", "--bogus"}, true, "", {}, false},
        {{"leaf", "--csv"}, true, "", {}, false},
        {{"leaf", "--N", "2", "--N", "3"}, true, "", {}, false},
        {{"leaf", "--N", "2"}, false, ".", {}, false},
        {{"sweep", "--help"}, true, "", {}, false},
        {{"leaf"}, false, ".", {}, false},
    };
    for (const Line& line : lines) {
        SCOPED_TRACE(::testing::PrintToString(line.arguments));
        try {
            const PreparedBatch prepared = PrepareBatch(line.arguments);
            EXPECT_FALSE(line.refused);
            EXPECT_EQ(prepared.directory, line.directory);
            EXPECT_EQ(prepared.outputs, line.outputs);
            EXPECT_EQ(prepared.noWait, line.noWait);
        } catch (const UsageError& e) {
            EXPECT_TRUE(line.refused) << e.what();
        }
    }
}

// What preparing a line gives, taken or refused, as one comparable text.
std::string Outcome(const std::vector<std::string_view>& arguments)
{
    try {
        const PreparedBatch prepared = PrepareBatch(arguments);
        return "in " + prepared.directory + " outputs " + ::testing::PrintToString(prepared.outputs)
               + (prepared.noWait ? " no-wait" : "") + (prepared.usesWorkingFiles ? " locks" : "")
               + (prepared.work ? " runs" : "");
    } catch (const UsageError& e) {
        return std::string("refused: ") + e.what();
    }
}

// The parser a thread keeps is cleared once each line is prepared or refused: a line gives
// after any others what it gives on a parser that never read a line (a new thread's).
TEST(BatchCommandLine, ALineGivesAfterOthersWhatAFreshParserGives)
{
    const std::vector<std::vector<std::string_view>> lines = {
        {"leaf", "--no-wait", "-Cout", "--csv", "a.csv"},
        {"leaf", "--csv", "b.csv", "--bogus"},
        {"lut-merge", "all.csv", "p0.csv", "p1.csv"},
        {"leaf", "--csv"},
        {"lut-merge", "two.csv", "p0.csv"},
        {"leaf", "--N", "2", "--N", "3"},
        {"sweep", "--help"},
        {"help", "leaf"},
        {"--version"},
        {"leaf", "--N", "2"},
        {},
        {"leaf"},
    };
    std::vector<std::string> fresh;
    for (const auto& line : lines) {
        std::thread([&] { fresh.push_back(Outcome(line)); }).join();
    }
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(Outcome(lines[i]), fresh[i]) << ::testing::PrintToString(lines[i]);
        }
    }
}

// A value that names nothing is echoed shortened: a pasted 100 kB value fills no terminal.
TEST(BatchCommandLine, AnUnknownNameIsEchoedShortened)
{
    const std::string name(100000, 'x');
    const std::vector<std::vector<std::string>> cases = {
        {"indices", "--sensor", name},
        {"lut", "--samples", "2", "--out", "t.csv", "--sampling", name},
        {"lut", "--samples", "2", "--out", "t.csv", "--range", name},
        {"lut", "--samples", "2", "--out", "t.csv", "--range", name + "=1:2"},
        {"fit-leaf", "--reflectance", "r.csv", "--columns", name + ",,"},
        {"gsa", "--samples", "8", "--out", "g.csv", "--range", "LAI=1:2", "--range", "N=1:2",
         "--quantity", name},
    };
    for (const auto& arguments : cases) {
        const auto [status, text] = testing::RunCommand(arguments);
        EXPECT_EQ(status, 2) << arguments[1];
        EXPECT_NE(text.find("xxx..."), std::string::npos) << text.substr(0, 200);
        EXPECT_LT(text.size(), 1000u) << arguments[1];
    }
}

}  // namespace
}  // namespace tulmera::batch
