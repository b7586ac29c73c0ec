#include "batch/batch_runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_arguments.h"
#include "batch/leaf_command.h"
#include "support/parsed_arguments.h"
#include "support/run_command.h"

namespace tulmera::batch {
namespace {

BatchArguments ParseLeaf(std::vector<std::string_view> arguments)
{
    return testing::ParsedArguments(arguments, LeafOptions());
}

TEST(BatchArguments, LeafTakesTheStartValuesUnlessGiven)
{
    const leaf::LeafParameters defaults = LeafParametersFrom(ParseLeaf({}));
    EXPECT_EQ(defaults.N, 1.0);
    EXPECT_EQ(defaults.Cab, 15.0);
    EXPECT_EQ(defaults.Cw, 0.0001);
    EXPECT_EQ(defaults.Cm, 0.002);

    const leaf::LeafParameters given =
        LeafParametersFrom(ParseLeaf({"--N", "4", "--Cab", "90", "--Cw", "7E-02", "--Cm", "0.04"}));
    EXPECT_EQ(given.N, 4.0);
    EXPECT_EQ(given.Cab, 90.0);
    EXPECT_EQ(given.Cw, 0.07);
    EXPECT_EQ(given.Cm, 0.04);
}

TEST(BatchArguments, WholeNumbersStayInTheirRange)
{
    const std::vector<OptionInfo> accepted = {{"--scale", "K", ""}};
    EXPECT_EQ(testing::ParsedArguments({"--scale", "3"}, accepted).WholeNumber("--scale", 1, 1, 8),
              3);
    EXPECT_EQ(testing::ParsedArguments({}, accepted).WholeNumber("--scale", 1, 1, 8), 1);
    for (const char* bad : {"0", "9", "2.5", "x"}) {
        EXPECT_THROW(
            testing::ParsedArguments({"--scale", bad}, accepted).WholeNumber("--scale", 1, 1, 8),
            UsageError)
            << bad;
    }
}

// The exit status and the message of a command line run without touching the disk.

TEST(BatchRunner, HelpWinsAnywhereAndListsEveryOption)
{
    for (const auto& arguments : {std::vector<std::string_view>{"--help"},
                                  std::vector<std::string_view>{"leaf", "--N", "2", "-h"}}) {
        const auto [status, text] = testing::RunCommand(arguments);
        EXPECT_EQ(status, 0);
        EXPECT_NE(text.find("Usage: tulmera-batch"), std::string::npos);
    }
    const std::string help = BatchHelpText();
    for (const BatchCommand& command : BatchCommands()) {
        for (const OptionInfo& option : command.options) {
            EXPECT_NE(help.find(option.name), std::string::npos) << option.name;
        }
    }
}

TEST(BatchRunner, BadCommandLinesAreUsageErrorsThatSayWhy)
{
    const struct {
        std::vector<std::string_view> arguments;
        const char* expected;
    } cases[] = {
        {{}, "No command"},
        {{"leaves"}, "Unknown command \"leaves\""},
        {{"leaf", "--n", "2"}, "Unknown option \"--n\""},
        {{"leaf", "--N"}, "--N needs a value"},
        {{"leaf", "--N", "1", "--N", "2"}, "--N is given twice"},
        {{"leaf", "--N", "abc"}, "--N: \"abc\" is not a number"},
        {{"leaf", "--Cab", "1,5"}, "--Cab: \"1,5\" is not a number"},
    };
    for (const auto& c : cases) {
        const auto [status, text] = testing::RunCommand(c.arguments);
        EXPECT_EQ(status, 2) << c.expected;
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tulmera::batch
