// The leaf model on the command line: every command that runs the leaf model takes the model
// and its own parameters, refuses a parameter the model does not read instead of ignoring it,
// and writes files that name the model; the classic model's files stay as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/printed_text.h"
#include "textio/text_file.h"

namespace tulmera::batch {
namespace {

namespace fs = std::filesystem;
using testing::RunCommand;
using testing::ScopedWorkDir;

std::string FileText(const fs::path& file) { return textio::ReadTextFile(file.string()); }

TEST(LeafModelOptions, RefusesWhatTheModelCannotTakeNamingTheOption)
{
    const struct {
        std::vector<std::string> arguments;
        const char* named;  // in the message
    } cases[] = {
        {{"leaf", "--leaf-model", "prospect-x"}, "--leaf-model"},
        {{"leaf", "--leaf-model", "Prospect-D"}, "--leaf-model"},  // names are exact
        {{"leaf", "--Car", "5"}, "--Car: the classic leaf model has no parameter Car"},
        {{"canopy", "--leaf-model", "prospect-pro", "--Cm", "0.002"}, "--Cm: the prospect-pro"},
        {{"indices", "--leaf-model", "prospect-d", "--CBC", "0.001"}, "--CBC"},
        {{"sweep", "--leaf-model", "prospect-d", "--Prot", "0.001"}, "--Prot"},
        {{"sweep-canopy", "--Anth", "3"}, "--Anth"},
        {{"sweep", "--leaf-model", "prospect-pro", "--param", "Cm"},
         "--param Cm: the prospect-pro"},
        {{"sweep-canopy", "--leaf-model", "prospect-pro", "--param", "Cm"}, "Cm"},
        {{"leaf", "--leaf-model", "prospect-d", "--Cbrown", "1.5"}, "--Cbrown 1.5 is outside"},
        {{"leaf", "--leaf-model", "prospect-d", "--Anth", "-1"}, "--Anth -1 is outside"},
        {{"canopy", "--leaf-model", "prospect-pro", "--CBC", "0"}, "--CBC 0 is outside"},
        {{"lut", "--leaf-model", "prospect-pro", "--samples", "2", "--range", "Cm=0.001:0.01",
          "--out", "t.csv"},
         "--range Cm: the prospect-pro leaf model has no parameter Cm"},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-C", dir.path().string()});
        const auto [status, text] = RunCommand(arguments);
        EXPECT_EQ(status, 2) << c.arguments[0] << " " << c.arguments[1] << ": " << text;
        EXPECT_NE(text.find(c.named), std::string::npos) << text;
        EXPECT_FALSE(fs::exists(dir.path() / "VP.dat")) << c.arguments[0];
    }
}

TEST(LeafModelOptions, TheLeafFileHoldsTheChosenModelsSpectrum)
{
    leaf::LeafParameters autumn = leaf::StartLeafParameters(leaf::LeafModel::ProspectD);
    autumn.Cab = 8;
    autumn.Anth = 6;
    autumn.Cbrown = 0.3;
    leaf::LeafParameters pro = leaf::StartLeafParameters(leaf::LeafModel::ProspectPro);
    pro.Prot = 0.0015;
    const struct {
        std::vector<std::string> arguments;
        leaf::LeafParameters expected;
    } cases[] = {
        {{"--leaf-model", "classic"}, leaf::kStartLeafParameters},
        {{"--leaf-model", "prospect-d", "--Cab", "8", "--Anth", "6", "--Cbrown", "0.3"}, autumn},
        {{"--leaf-model", "prospect-pro", "--Prot", "0.0015"}, pro},
    };
    for (const auto& c : cases) {
        ScopedWorkDir dir;
        std::vector<std::string> arguments = {"leaf", "-C", dir.path().string()};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const auto [status, text] = RunCommand(arguments);
        ASSERT_EQ(status, 0) << text;
        textio::PrintedText expected;
        leaf::PrintLeafSpectrum(expected, leaf::ComputeLeafSpectrum(c.expected));
        EXPECT_EQ(FileText(dir.path() / "VP.dat"), expected.str()) << c.arguments[1];
    }
}

TEST(LeafModelOptions, TheSpectraFileNamesTheModelAndOnlyItsParameters)
{
    ScopedWorkDir dir;
    auto csvOf = [&dir](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"-C", dir.path().string(), "--csv", "out.csv"});
        const auto [status, text] = RunCommand(arguments);
        EXPECT_EQ(status, 0) << text;
        return FileText(dir.path() / "out.csv");
    };
    const std::string classic = csvOf({"canopy"});
    EXPECT_EQ(classic.find("leaf_model"), std::string::npos);  // the classic layout, as before
    EXPECT_EQ(csvOf({"canopy", "--leaf-model", "classic"}), classic);

    const std::string pro = csvOf({"canopy", "--leaf-model", "prospect-pro", "--Anth", "2"});
    for (const char* line : {"# leaf_model = prospect-pro\n", "# Anth_ug_per_cm2 = 2\n",
                             "# Prot_g_per_cm2 = 0.0002\n", "# CBC_g_per_cm2 = 0.0018\n"}) {
        EXPECT_NE(pro.find(line), std::string::npos) << line << pro.substr(0, 600);
    }
    EXPECT_EQ(pro.find("Cm_g_per_cm2"), std::string::npos);
}

}  // namespace
}  // namespace tulmera::batch
