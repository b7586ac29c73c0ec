// tulmera-batch gsa and gsa-merge: bad command lines write nothing, and shards joined in any
// order give the very file of one run, whatever the threads.
#include "batch/gsa_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "gsa/gsa_files.h"
#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

using testing::FileBytes;
using testing::ScopedWorkDir;

struct Outcome {
    int exitCode;
    std::string messages;
};

Outcome RunLine(const std::vector<std::string>& arguments)
{
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    std::ostringstream out, err;
    const int code = RunBatch(views, out, err);
    return {code, err.str()};
}

TEST(GsaCommand, RefusesBadInputsNamingTheOptionAndWritesNothing)
{
    ScopedWorkDir dir;
    const std::vector<std::string> base = {"gsa", "--out", "g.csv"};
    const std::vector<std::string> two = {"--range", "LAI=0.5:6", "--range", "Cab=10:80"};
    struct Case {
        std::vector<std::string> more;
        const char* message;
    };
    const auto with = [&two](std::vector<std::string> more, bool ranges = true) {
        if (ranges) more.insert(more.end(), two.begin(), two.end());
        return more;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {with({"--samples", "12"}), "--samples: 12 is not a power of two"},
        {with({"--samples", "1"}), "--samples: \"1\" is not a whole number from 2"},
        {with({"--samples", "2097152"}), "--samples: \"2097152\" is not a whole number from 2 to 1048576"},
        {with({"--samples", "1048576", "--range", "N=1:2", "--range", "Cw=0.002:0.04"}),
         "--samples: 1048576 base samples would hold"},
        {with({}), "gsa needs --samples"},
        {with({"--samples", "16", "--range", "LAI=0.5:6"}, false), "at least two varied parameters (1 given)"},
        {with({"--samples", "16", "--range", "LAI=6:0.5", "--range", "Cab=1:2"}, false), "--range: LAI range 6:0.5: the low end is above"},
        {with({"--samples", "16", "--range", "LAI=2:2", "--range", "Cab=1:2"}, false), "--range: LAI range 2:2 is empty"},
        {with({"--samples", "16", "--range", "LAI=0:6", "--range", "Cab=1:2"}, false), "--range: LAI range 0:6 reaches 0, outside the model's domain"},
        {with({"--samples", "16", "--quantity", "ndvi"}), "--quantity: \"ndvi\" is not a quantity"},
        {with({"--samples", "16", "--quantity", "indices", "--quantity", "indices"}), "--quantity: \"indices\" is given twice"},
        {with({"--samples", "16", "--quantity", "IKONOS", "--quantity", "Terra-MODIS"}), "(or a second sensor)"},
        {with({"--samples", "16", "--bootstrap", "0"}), "--bootstrap must be a whole number from 1"},
        {with({"--samples", "16", "--shard", "3/3"}), "--shard: \"3/3\" is not a shard"},
        {with({"--samples", "16", "--threads", "0"}), "--threads must be a whole number from 1"},
        {with({"--samples", "16", "--seed", "-1"}), "--seed must be a whole number"},
        // A leaf parameter the chosen model does not read is refused, as a range or held.
        {with({"--samples", "16", "--range", "Car=2:15"}), "--range Car: the classic leaf model has no parameter Car"},
        {with({"--samples", "16", "--leaf-model", "prospect-d", "--range", "Prot=0:0.001"}), "--range Prot: the prospect-d leaf model has no parameter Prot"},
        {with({"--samples", "16", "--leaf-model", "prospect-d", "--range", "CBC=0.001:0.01"}), "--range CBC: the prospect-d leaf model has no parameter CBC"},
        {with({"--samples", "16", "--leaf-model", "prospect-pro", "--range", "Cm=0.002:0.02"}), "--range Cm: the prospect-pro leaf model has no parameter Cm"},
        {with({"--samples", "16", "--Anth", "3"}), "--Anth: the classic leaf model has no parameter Anth"},
        {with({"--samples", "16", "--leaf-model", "prospect-d", "--range", "Car=2:15", "--Car", "3"}), "--range Car and --Car both given"},
        {with({"--samples", "16", "--leaf-model", "prospect-d", "--range", "Car=2:15", "--range", "Car=1:3"}), "--range: Car is given twice"},
        {with({"--samples", "16", "--leaf-model", "prospect-d", "--range", "Cbrown=0:2"}), "--range: Cbrown range 0:2 reaches 2, outside the model's domain (Cbrown 0 to 1)"},
        {with({"--samples", "16", "--leaf-model", "prospect-pro", "--range", "CBC=0.01:0.001"}), "--range: CBC range 0.01:0.001: the low end is above"},
        {with({"--samples", "16", "--leaf-model", "prospect-pro", "--range", "Prot=a:1"}), "--range: \"Prot=a:1\" is not a range of numbers"},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), c.more.begin(), c.more.end());
        const Outcome outcome = RunLine(arguments);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(outcome.exitCode, 2) << outcome.messages;
        EXPECT_NE(outcome.messages.find(c.message), std::string::npos) << outcome.messages;
    }
    // The indices are .csv or .h5; a shard's outputs .csv only, and gsa-merge joins only those.
    for (const auto& [line, message] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {with({"gsa", "--samples", "16", "--out", "g.txt"}),
              "--out: \"g.txt\": an analysis is written as FILE.csv or FILE.h5"},
             {with({"gsa", "--samples", "16", "--shard", "0/2", "--out", "g.h5"}),
              "--out: \"g.h5\": a shard's outputs are written as FILE.csv"},
             {{"gsa-merge", "g.h5", "s0.h5"}, "gsa-merge: \"s0.h5\" is not a shard"},
         }) {
        const Outcome outcome = RunLine(line);
        EXPECT_EQ(outcome.exitCode, 2) << outcome.messages;
        EXPECT_NE(outcome.messages.find(message), std::string::npos) << outcome.messages;
    }
    std::ofstream("notours.csv") << "a,b\n1,2\n";
    const Outcome merge = RunLine({"gsa-merge", "g.csv", "notours.csv"});
    EXPECT_EQ(merge.exitCode, 1);
    EXPECT_NE(merge.messages.find("is not a shard of a sensitivity analysis"), std::string::npos);
    std::filesystem::remove("notours.csv");
    EXPECT_TRUE(std::filesystem::is_empty("."));
}

TEST(GsaCommand, ShardsJoinToTheFileOfOneRun)
{
    ScopedWorkDir dir;
    const std::vector<std::string> run = {
        "gsa",     "--samples",   "16",         "--range", "LAI=0.5:6",  "--range", "Cab=10:80",
        "--range", "N=1:2.5",     "--quantity", "indices", "--quantity", "fluxes",  "--quantity",
        "IKONOS",  "--bootstrap", "30",         "--seed",  "7",          "--quiet"};
    const auto line = [&run](std::vector<std::string> more) {
        more.insert(more.begin(), run.begin(), run.end());
        return more;
    };
    ASSERT_EQ(RunLine(line({"--threads", "2", "--out", "one.csv"})).exitCode, 0);
    // Uneven shards, computed on other thread counts, joined out of order.
    ASSERT_EQ(RunLine(line({"--shard", "0/3", "--threads", "1", "--out", "s0.csv"})).exitCode, 0);
    ASSERT_EQ(RunLine(line({"--shard", "1/3", "--threads", "3", "--out", "s1.csv"})).exitCode, 0);
    ASSERT_EQ(RunLine(line({"--shard", "2/3", "--out", "s2.csv"})).exitCode, 0);
    ASSERT_EQ(RunLine({"gsa-merge", "joined.csv", "s2.csv", "s0.csv", "s1.csv"}).exitCode, 0);
    EXPECT_EQ(FileBytes("joined.csv"), FileBytes("one.csv"));
    // The HDF5 form: the same lines and settings as the CSV, and the same bytes from shards.
    ASSERT_EQ(RunLine(line({"--out", "one.h5"})).exitCode, 0);
    ASSERT_EQ(RunLine({"gsa-merge", "joined.h5", "s1.csv", "s2.csv", "s0.csv"}).exitCode, 0);
    EXPECT_EQ(FileBytes("joined.h5"), FileBytes("one.h5"));
    const gsa::IndicesFile csv = gsa::ReadIndices("one.csv"), h5 = gsa::ReadIndices("one.h5");
    EXPECT_EQ(h5.settings, csv.settings);
    ASSERT_EQ(h5.lines.size(), csv.lines.size());
    // The CSV prints 15 significant digits; the HDF5 file holds the doubles themselves.
    const auto texts = [](const gsa::IndicesLine& l) {
        std::string text = l.quantity + "," + l.parameter;
        for (const auto& value : {l.S1, l.S1_low, l.S1_high, l.ST, l.ST_low, l.ST_high})
            text += "," + (value ? textio::NumberText(*value) : std::string());
        return text;
    };
    for (std::size_t l = 0; l < csv.lines.size(); ++l)
        EXPECT_EQ(texts(h5.lines[l]), texts(csv.lines[l]));

    const Outcome missing = RunLine({"gsa-merge", "partial.csv", "s0.csv", "s2.csv"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.messages.find("rows missing from row"), std::string::npos)
        << missing.messages;
    const Outcome twice = RunLine({"gsa-merge", "partial.csv", "s0.csv", "s0.csv", "s1.csv"});
    EXPECT_NE(twice.messages.find("rows repeated"), std::string::npos) << twice.messages;
    std::vector<std::string> otherSeed = line({"--shard", "1/3", "--out", "other.csv"});
    *std::ranges::find(otherSeed, "7") = "8";  // the --seed
    ASSERT_EQ(RunLine(otherSeed).exitCode, 0);
    const Outcome other = RunLine({"gsa-merge", "partial.csv", "s0.csv", "other.csv", "s2.csv"});
    EXPECT_NE(other.messages.find("is a shard of another analysis"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("partial.csv"));
}

}  // namespace
}  // namespace tulmera::batch
