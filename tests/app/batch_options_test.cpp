#include "app/batch/batch_options.h"

#include <gtest/gtest.h>

namespace tulmera::batch {
namespace {

BatchOptions Parse(std::vector<std::string_view> arguments)
{
    return ParseBatchArguments(arguments);
}

TEST(BatchOptions, LeafTakesTheStartValuesUnlessGiven)
{
    const BatchOptions defaults = Parse({"leaf"});
    EXPECT_EQ(defaults.command, BatchCommand::Leaf);
    EXPECT_EQ(defaults.leaf.N, 1.0);
    EXPECT_EQ(defaults.leaf.Cab, 15.0);
    EXPECT_EQ(defaults.leaf.Cw, 0.0001);
    EXPECT_EQ(defaults.leaf.Cm, 0.002);
    EXPECT_EQ(defaults.directory, ".");

    const BatchOptions given =
        Parse({"leaf", "--N", "4", "--Cab", "90", "--Cw", "7E-02", "--Cm", "0.04", "-C", "/tmp"});
    EXPECT_EQ(given.leaf.N, 4.0);
    EXPECT_EQ(given.leaf.Cab, 90.0);
    EXPECT_EQ(given.leaf.Cw, 0.07);
    EXPECT_EQ(given.leaf.Cm, 0.04);
    EXPECT_EQ(given.directory, "/tmp");
}

TEST(BatchOptions, HelpWinsAnywhere)
{
    EXPECT_EQ(Parse({"--help"}).command, BatchCommand::Help);
    EXPECT_EQ(Parse({"leaf", "--N", "2", "--help"}).command, BatchCommand::Help);
    EXPECT_NE(BatchHelpText().find("--Cab"), std::string::npos);
}

TEST(BatchOptions, BadCommandLinesAreUsageErrorsThatSayWhy)
{
    const struct {
        std::vector<std::string_view> arguments;
        const char* expected;
    } cases[] = {
        {{}, "No command"},
        {{"leaves"}, "Unknown command \"leaves\""},
        {{"leaf", "--n", "2"}, "Unknown option \"--n\""},
        {{"leaf", "--N"}, "--N needs a value"},
        {{"leaf", "--N", "abc"}, "--N: \"abc\" is not a number"},
        {{"leaf", "--Cab", "1,5"}, "--Cab: \"1,5\" is not a number"},
    };
    for (const auto& c : cases) {
        try {
            ParseBatchArguments(c.arguments);
            ADD_FAILURE() << "accepted: " << c.expected;
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace tulmera::batch
