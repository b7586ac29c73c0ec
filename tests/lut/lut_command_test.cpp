// tulmera-batch lut and lut-merge: bad command lines, a row against a canopy run, shards
// through GNU parallel.
#include "batch/lut_command.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <thread>

#include "batch/batch_runner.h"
#include "leaf/leaf_models.h"
#include "lut/simulation.h"
#include "lut/table.h"
#include "support/golden.h"
#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

using testing::FileBytes;
using testing::ScopedWorkDir;

// A command run in memory: its exit status and everything it wrote.
struct LineOutcome {
    int exitCode;
    std::string messages;
};

LineOutcome RunLine(const std::vector<std::string>& arguments)
{
    auto [code, text] = testing::RunCommand(arguments);
    return {code, std::move(text)};
}

bool DirectoryIsEmpty() { return std::filesystem::is_empty("."); }

TEST(LutCommand, RefusesBadInputsAndWritesNothing)
{
    ScopedWorkDir dir;
    std::filesystem::create_directory("x");
    std::ofstream("x/notours.csv") << "a,b\n1,2\n";
    const std::vector<std::string> base = {"lut", "--samples", "10", "--out", "t.h5"};
    struct Case {
        std::vector<std::string> more;
        int exitCode;
        const char* message;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {{"--range", "LAI=8:0.1"}, 2, "LAI range 8:0.1: the low end is above the high end"},
        {{"--range", "LAI=0:8"}, 2, "reaches 0, outside the model's domain (LAI 0 (excluded) to 100)"},
        {{"--range", "N=0:2"}, 2, "N range 0:2 reaches 0, outside"},
        {{"--range", "sun=0:90"}, 2, "sun range 0:90 reaches 90"},
        {{"--range", "view=-90:10"}, 2, "view range -90:10 reaches -90"},
        {{"--range", "Cab=-1:10"}, 2, "Cab range -1:10 reaches -1"},
        {{"--lai", "0"}, 2, "LAI value 0 reaches 0"},
        {{"--range", "LAI=1"}, 2, "is not a range; write P=lo:hi"},
        {{"--range", "LAI=1:x"}, 2, "has an end that is not a number"},
        {{"--range", "lai=1:2"}, 2, "\"lai\" is not a parameter; use one of N, Cab"},
        {{"--range", "LAI=1:2", "--range", "LAI=1:3"}, 2, "LAI is given twice"},
        {{"--range", "LAI=1:2", "--lai", "3"}, 2, "--range LAI and --lai both given"},
        {{"--shard", "4/4"}, 2, "\"4/4\" is not a shard; use k/n with 0 <= k < n"},
        {{"--shard", "0/0"}, 2, "is not a shard"},
        {{"--shard", "1"}, 2, "is not a shard"},
        {{"--sampling", "sobol"}, 2, "use lhs or uniform"},
        {{"--threads", "0"}, 2, "--threads must be a whole number from 1"},
        {{"--quiet", "--quiet"}, 2, "--quiet is given twice"},
        {{"extra"}, 2, "Unknown option \"extra\""},
        {{"--Cm", "0"}, 2, "Cm value 0 reaches 0, outside"},
        // A range of a parameter the chosen leaf model does not read, or outside its domain.
        {{"--range", "Car=0:10"}, 2, "--range Car: the classic leaf model has no parameter Car"},
        {{"--leaf-model", "prospect-pro", "--range", "Cm=0.001:0.01"}, 2,
         "--range Cm: the prospect-pro leaf model has no parameter Cm"},
        {{"--leaf-model", "prospect-d", "--range", "Prot=0:0.001"}, 2,
         "--range Prot: the prospect-d leaf model has no parameter Prot"},
        {{"--leaf-model", "prospect-d", "--range", "Anth=-1:10"}, 2, "Anth range -1:10 reaches -1"},
        {{"--leaf-model", "prospect-d", "--range", "Cbrown=0:1.5"}, 2,
         "Cbrown range 0:1.5 reaches 1.5, outside the model's domain (Cbrown 0 to 1)"},
        {{"--leaf-model", "prospect-pro", "--range", "CBC=0.001:0.01", "--CBC", "0.002"}, 2,
         "--range CBC and --CBC both given"},
        {{"--leaf-model", "prospect-pro", "--Cm", "0.01"}, 2, "--Cm"},
        {{"--N", "1.01", "--Cab", "1500"}, 1, "The simulation of row 0 (N=1.01, Cab=1500, Cw=0.0001"},
        {{"-C", "missing-dir"}, 1, "missing-dir"},
        // Grazing sun and view: the model leaves 0 to 1, as the canopy run refuses too.
        {{"--range", "sun=89:89.99999", "--range", "view=-89.99999:-89"}, 1,
         "lies outside 0 to 1"},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), c.more.begin(), c.more.end());
        const auto [exitCode, messages] = testing::RunCommand(arguments);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(exitCode, c.exitCode) << messages;
        EXPECT_NE(messages.find(c.message), std::string::npos) << messages;
        EXPECT_FALSE(std::filesystem::exists("t.h5"));
    }
    const std::vector<Case> alone = {
        {{"lut", "--samples", "0", "--out", "t.h5"}, 2, "--samples must be a whole number from 1"},
        {{"lut", "--out", "t.h5"}, 2, "lut needs --samples"},
        {{"lut", "--samples", "3"}, 2, "lut needs --out"},
        {{"lut", "--samples", "3", "--out", "t.txt"}, 2, "a table is written as FILE.h5"},
        {{"lut-merge", "t.h5"}, 2, "lut-merge needs OUT and at least one SHARD"},
        {{"lut", "--samples", "250001", "--out", "t.csv"}, 2, "could not be read back"},
        {{"lut", "--samples", "2147483647", "--out", "t.h5"}, 1, "needs at least 3770982 MB"},
        {{"lut-merge", "t.xlsx", "x/notours.csv"}, 2, "a table is written as FILE.h5"},
        {{"lut-merge", "t.h5", "--quiet"}, 2, "Unknown option \"--quiet\""},
        {{"lut-merge", "t.h5", "x/notours.csv"}, 1, "notours.csv\" is not a look-up table of ours"},
        {{"lut-merge", "t.h5", "x/none.h5"}, 1, "none.h5\" does not exist"},
    };
    for (const Case& c : alone) {
        const auto [exitCode, messages] = testing::RunCommand(c.more);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(exitCode, c.exitCode) << messages;
        EXPECT_NE(messages.find(c.message), std::string::npos) << messages;
        EXPECT_FALSE(std::filesystem::exists("t.h5"));
    }
    std::filesystem::remove_all("x");
    EXPECT_TRUE(DirectoryIsEmpty());
}

std::vector<std::string> CanopySpectrumFields(const std::string& file)
{
    const std::string text = FileBytes(file);
    std::vector<std::string> fields;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t comma = text.find(',', start), end = text.find("\r\n", start);
        fields.push_back(text.substr(comma + 1, end - comma - 1));
        start = end + 2;
    }
    return fields;
}

TEST(LutCommand, EachRowIsACanopyRunWithItsParameters)
{
    ScopedWorkDir dir;
    const std::string soil = "S2:32% arena 39% limo 29% arcilla";
    const auto [made, madeMessages] = testing::RunCommand({"lut",
                                                           "--samples",
                                                           "40",
                                                           "--seed",
                                                           "11",
                                                           "--threads",
                                                           "2",
                                                           "--range",
                                                           "N=1:2.5",
                                                           "--range",
                                                           "Cab=0:90",
                                                           "--range",
                                                           "Cw=0:0.05",
                                                           "--range",
                                                           "Cm=0.001:0.02",
                                                           "--range",
                                                           "LAI=0.05:8",
                                                           "--range",
                                                           "sun=0:80",
                                                           "--range",
                                                           "view=-75:75",
                                                           "--range",
                                                           "azimuth=0:360",
                                                           "--range",
                                                           "hotspot=0:1",
                                                           "--lidf",
                                                           "Plagiofilo",
                                                           "--soil",
                                                           soil,
                                                           "--visibility",
                                                           "50",
                                                           "--out",
                                                           "t.csv"});
    ASSERT_EQ(made, 0) << madeMessages;
    const lut::Table table = lut::LoadTable("t.csv");
    for (const std::size_t row : {0u, 13u, 39u}) {
        lut::ParameterValues values{};
        std::vector<std::string> arguments = {
            "canopy", "--lidf", "Plagiofilo", "--soil", soil, "--visibility", "50", "-C", "."};
        const std::array<const char*, lut::kClassicColumnCount> options = {
            "--N", "--Cab", "--Cw", "--Cm", "--lai", "--sun", "--view", "--azimuth", "--hotspot"};
        for (std::size_t p = 0; p < lut::kClassicColumnCount; ++p) {
            values[p] = table.rows.parameters[row * lut::kParameterCount + p];
            arguments.insert(arguments.end(), {options[p], textio::NumberText(values[p])});
        }
        ASSERT_EQ(testing::RunCommand(arguments).first, 0);
        const std::vector<std::string> canopyRun = CanopySpectrumFields("VS.dat");
        ASSERT_EQ(canopyRun.size(), static_cast<std::size_t>(spectral::kWavelengthCount));
        const spectral::Spectrum inMemory = lut::Simulator(table.info.spec).Simulate(values);
        for (std::size_t i = 0; i < canopyRun.size(); ++i) {
            SCOPED_TRACE("row " + std::to_string(row) + " at "
                         + std::to_string(spectral::WavelengthNm(static_cast<int>(i))) + " nm");
            // The engine's double agrees with the one "VS.dat" writes within its contract
            // (and the 15 digits of the text)...
            const double written = *textio::ParseNumberText(canopyRun[i]);
            ASSERT_LE(std::abs(inMemory[i] - written), std::max(1e-15, 2e-12 * std::abs(written)))
                << textio::NumberText(inMemory[i], 17) << " against " << canopyRun[i];
            ASSERT_EQ(table.rows.reflectance[row * spectral::kWavelengthCount + i],
                      static_cast<float>(inMemory[i]));
        }
    }
}

// Each way a shard can be untrustworthy, in both formats; every refusal names the shard, and
// a CR LF copy of a good CSV shard still merges.
TEST(LutCommand, MergeRefusesEveryDamagedShardNamingIt)
{
    ScopedWorkDir dir;
    for (const std::string extension : {".csv", ".h5"}) {
        for (const char* shard : {"0/2", "1/2"}) {
            const std::string name = std::string("p") + shard[0] + extension;
            ASSERT_EQ(RunLine({"lut", "--samples", "6", "--range", "LAI=0.5:6", "--shard", shard,
                               "--quiet", "--out", name})
                          .exitCode,
                      0);
        }
        ASSERT_EQ(RunLine({"lut", "--samples", "6", "--range", "LAI=0.5:6", "--quiet", "--out",
                           "whole" + extension})
                      .exitCode,
                  0);
        const std::string p0 = "p0" + extension, p1 = "p1" + extension, bad = "bad" + extension;
        const std::string good = FileBytes(p1);
        const lut::Table table = lut::LoadTable(p1);
        struct Case {
            const char* label;
            std::function<void()> damage;  // writes `bad` from the good shard p1
            int exitCode;
            const char* message;
        };
        const auto replaceFirst = [&](std::string from, std::string to) {
            std::string text = good;
            const std::size_t at = text.find(from, text.find("\n3,"));
            ASSERT_NE(at, std::string::npos) << from;
            std::ofstream(bad, std::ios::binary) << text.replace(at, from.size(), to);
        };
        const auto rewritten = [&](std::size_t index, double value) {
            lut::Table edited = table;  // written whole again: a consistent digest
            edited.rows.parameters[index] = value;
            const auto writer = lut::OpenTableWriter(bad, edited.info);
            writer->Append(edited.rows);
            writer->Commit();
        };
        std::vector<Case> cases = {
            {"parameter edited, digest rewritten", [&] { rewritten(4, 3.25); }, 1,
             "was edited: row 3 has LAI = 3.25"},
            {"reflectance edited, digest rewritten",
             [&] {
                 lut::Table edited = table;
                 edited.rows.reflectance[7] = 5.0f;
                 const auto writer = lut::OpenTableWriter(bad, edited.info);
                 writer->Append(edited.rows);
                 writer->Commit();
             },
             1, "was edited: row 3 has the reflectance 5 at 435 nm"},
        };
        if (extension == ".csv") {
            const std::string lai = textio::NumberText(table.rows.parameters[4]);
            cases.push_back({"LAI edited by hand",
                             [&, lai] { replaceFirst("," + lai + ",", ",4,"); }, 1,
                             "do not match its digest"});
            cases.push_back({"reflectance cell set to 0.5",
                             [&] {
                                 std::string text = good;
                                 const std::size_t line = text.find("\n4,");
                                 const std::size_t cell = text.find(",", line + 300);
                                 const std::size_t end = text.find(',', cell + 1);
                                 text.replace(cell + 1, end - cell - 1, "0.5");
                                 std::ofstream(bad, std::ios::binary) << text;
                             },
                             1, "do not match its digest"});
            cases.push_back({"no digest line (an older table)",
                             [&] {
                                 std::string text = good;
                                 text.erase(text.rfind("# digest"));
                                 std::ofstream(bad, std::ios::binary) << text;
                             },
                             1, "carries no digest"});
        } else {
            cases.push_back({"4 bytes of a reflectance overwritten",
                             [&] {
                                 // Where the file holds row 3's first reflectances.
                                 std::string bytes = good;
                                 const std::string values(
                                     reinterpret_cast<const char*>(table.rows.reflectance.data()),
                                     4 * sizeof(float));
                                 const std::size_t at = bytes.find(values);
                                 ASSERT_NE(at, std::string::npos);
                                 bytes.replace(at + 4, 4, "\x00\x40\x43\x44");  // 781.0f
                                 std::ofstream(bad, std::ios::binary) << bytes;
                             },
                             1, "bad.h5\" is not a look-up table of ours or is damaged"});
        }
        for (const Case& c : cases) {
            SCOPED_TRACE(extension + ": " + c.label);
            c.damage();
            const auto outcome = RunLine({"lut-merge", "m" + extension, p0, bad});
            EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.messages;
            EXPECT_NE(outcome.messages.find(c.message), std::string::npos) << outcome.messages;
            EXPECT_NE(outcome.messages.find(bad), std::string::npos) << outcome.messages;
            EXPECT_FALSE(std::filesystem::exists("m" + extension));
            std::filesystem::remove("m" + extension);
        }
        const std::vector<Case> lines = {
            {"a shard twice", {}, 1, "The shards overlap"},
            {"a shard missing", {}, 1, "do not make a whole table"},
            {"the output among the shards", {}, 2, "is also a shard"},
        };
        const std::vector<std::vector<std::string>> arguments = {
            {"lut-merge", "m" + extension, p1, p0, p1},
            {"lut-merge", "m" + extension, p0},
            {"lut-merge", p1, p0, p1},
        };
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(extension + ": " + lines[i].label);
            const auto outcome = RunLine(arguments[i]);
            EXPECT_EQ(outcome.exitCode, lines[i].exitCode) << outcome.messages;
            EXPECT_NE(outcome.messages.find(lines[i].message), std::string::npos)
                << outcome.messages;
            EXPECT_EQ(FileBytes(p1), good);
        }
        if (extension == ".csv") {  // CR LF, as a spreadsheet saves it: read alike
            std::string text;
            for (const char c : good) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
            std::ofstream(bad, std::ios::binary) << text;
            const auto outcome = RunLine({"lut-merge", "m.csv", p0, bad});
            EXPECT_EQ(outcome.exitCode, 0) << outcome.messages;
            EXPECT_EQ(FileBytes("m.csv"), FileBytes("whole.csv"));
        }
    }
}

// The batch option that holds a table column's parameter: "--N", "--Car", "--lai", "--sun".
std::string HeldOption(lut::Parameter column)
{
    std::string name(lut::kParameterNames[static_cast<std::size_t>(column)]);
    if (static_cast<int>(column) >= static_cast<int>(lut::Parameter::Lai)
        && static_cast<int>(column) <= static_cast<int>(lut::Parameter::HotSpot)) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    return "--" + name;
}

// A table of each newer leaf model: its columns in the first line, the header and both formats
// (PROSPECT-PRO has Prot and CBC, not Cm), each row the canopy run of that model with the row's
// values, and its shards merged into the same bytes as one run.
TEST(LutCommand, TablesOfTheNewerLeafModelsHoldTheirModelsRuns)
{
    struct Case {
        const char* model;
        std::vector<std::string> ranges;
        const char* firstLine;  // from "leaf_model=" to the end of the leaf ranges
        const char* header;     // from "row," to the last parameter
    };
    const std::vector<std::string> common = {"N=1:2.5",    "Cab=5:80",      "Car=0:20", "Anth=0:40",
                                             "Cbrown=0:1", "Cw=0.001:0.04", "LAI=0.5:6"};
    // clang-format off
    const std::vector<Case> cases = {
        {"prospect-d", {"Cm=0.002:0.02"},
         "leaf_model=prospect-d; N=1:2.5; Cab=5:80; Car=0:20; Anth=0:40; Cbrown=0:1; Cw=0.001:0.04; Cm=0.002:0.02; LAI=0.5:6",
         "row,N,Cab,Car,Anth,Cbrown,Cw,Cm,LAI,sun,view,azimuth,hotspot,400,"},
        {"prospect-pro", {"Prot=0.0005:0.003", "CBC=0.002:0.015"},
         "leaf_model=prospect-pro; N=1:2.5; Cab=5:80; Car=0:20; Anth=0:40; Cbrown=0:1; Cw=0.001:0.04; Prot=0.0005:0.003; CBC=0.002:0.015; LAI=0.5:6",
         "row,N,Cab,Car,Anth,Cbrown,Cw,Prot,CBC,LAI,sun,view,azimuth,hotspot,400,"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        ScopedWorkDir dir;
        std::vector<std::string> lut = {"lut", "--samples",    "12",    "--seed",
                                        "3",   "--leaf-model", c.model, "--quiet"};
        for (const std::vector<std::string>& ranges : {common, c.ranges}) {
            for (const std::string& range : ranges) lut.insert(lut.end(), {"--range", range});
        }
        for (const std::string extension : {".csv", ".h5"}) {
            std::vector<std::string> whole = lut;
            whole.insert(whole.end(), {"--out", "t" + extension});
            const LineOutcome made = RunLine(whole);
            ASSERT_EQ(made.exitCode, 0) << made.messages;
            for (const char* shard : {"0/2", "1/2"}) {
                std::vector<std::string> part = lut;
                part.insert(part.end(),
                            {"--shard", shard, "--out", std::string("s") + shard[0] + extension});
                ASSERT_EQ(RunLine(part).exitCode, 0);
            }
            const LineOutcome merged =
                RunLine({"lut-merge", "m" + extension, "s1" + extension, "s0" + extension});
            ASSERT_EQ(merged.exitCode, 0) << merged.messages;
            EXPECT_EQ(FileBytes("m" + extension), FileBytes("t" + extension));
        }
        const std::string csv = FileBytes("t.csv");
        const std::string firstLine = csv.substr(0, csv.find('\n'));
        EXPECT_NE(firstLine.find(std::string("visibility=15; ") + c.firstLine + "; sun=0;"),
                  std::string::npos)
            << firstLine;
        EXPECT_TRUE(csv.substr(firstLine.size() + 1).starts_with(c.header));
        const lut::Table table = lut::LoadTable("t.csv");
        const lut::Table h5 = lut::LoadTable("t.h5");
        EXPECT_EQ(table.info, h5.info);
        EXPECT_EQ(table.rows.parameters, h5.rows.parameters);
        EXPECT_EQ(table.rows.reflectance, h5.rows.reflectance);
        EXPECT_EQ(table.digest, h5.digest);
        ASSERT_EQ(leaf::LeafModelName(table.info.spec.leafModel), c.model);
        for (const std::size_t row : {0u, 7u}) {
            std::vector<std::string> canopy = {"canopy", "--leaf-model", c.model, "-C", "."};
            for (const lut::Parameter column : lut::TableColumns(table.info.spec.leafModel)) {
                const double value =
                    table.rows
                        .parameters[row * lut::kParameterCount + static_cast<std::size_t>(column)];
                canopy.insert(canopy.end(), {HeldOption(column), textio::NumberText(value)});
            }
            const LineOutcome run = RunLine(canopy);
            ASSERT_EQ(run.exitCode, 0) << run.messages;
            const std::vector<std::string> fields = CanopySpectrumFields("VS.dat");
            ASSERT_EQ(fields.size(), static_cast<std::size_t>(spectral::kWavelengthCount));
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const double written = *textio::ParseNumberText(fields[i]);
                const float stored = table.rows.reflectance[row * spectral::kWavelengthCount + i];
                // The stored single-precision value is the engine's double rounded once; the
                // text holds 15 digits of the exact path's.
                ASSERT_NEAR(stored, written, 1e-7 + 1e-6 * written)
                    << "row " << row << " at " << spectral::WavelengthNm(static_cast<int>(i));
            }
        }
    }
}

std::vector<std::string> SplitText(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

// Classic tables keep the bytes they had before tables held other leaf models: the settings,
// the header, the row numbers and parameters exactly, the reflectances and products within
// single-precision rounding, and the digest exactly when every row is byte-identical.
TEST(LutCommand, ClassicTablesKeepTheirBytes)
{
    ScopedWorkDir dir;
    const std::vector<std::string> lut = {"lut",
                                          "--samples",
                                          "6",
                                          "--seed",
                                          "9",
                                          "--range",
                                          "N=1:2.5",
                                          "--range",
                                          "Cab=5:80",
                                          "--range",
                                          "Cw=0.001:0.04",
                                          "--range",
                                          "Cm=0.002:0.02",
                                          "--range",
                                          "LAI=0.5:6",
                                          "--range",
                                          "sun=0:60",
                                          "--range",
                                          "view=-40:40",
                                          "--range",
                                          "azimuth=0:180",
                                          "--range",
                                          "hotspot=0:0.5",
                                          "--lidf",
                                          "Erectofilo",
                                          "--quiet"};
    std::vector<std::string> csvRun = lut, h5Run = lut;
    csvRun.insert(csvRun.end(), {"--out", "classic.csv"});
    h5Run.insert(h5Run.end(), {"--products", "--out", "classic_products.h5"});
    ASSERT_EQ(RunLine(csvRun).exitCode, 0);
    ASSERT_EQ(RunLine(h5Run).exitCode, 0);
    const std::filesystem::path golden = testing::GoldenDir("lut-classic");

    const std::vector<std::string> expected = SplitText(FileBytes(golden / "classic.csv"), '\n');
    const std::vector<std::string> actual = SplitText(FileBytes("classic.csv"), '\n');
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(actual[0], expected[0]);
    EXPECT_EQ(actual[1], expected[1]);
    int identical = 0;
    const std::size_t rowLines = expected.size() - 2 - 2;  // settings, header; digest, last ""
    for (std::size_t line = 2; line < 2 + rowLines; ++line) {
        identical += actual[line] == expected[line];
        const std::vector<std::string> a = SplitText(actual[line], ',');
        const std::vector<std::string> e = SplitText(expected[line], ',');
        ASSERT_EQ(a.size(), e.size()) << "line " << line + 1;
        for (std::size_t f = 0; f < e.size(); ++f) {
            if (f < 1 + lut::kClassicColumnCount) {
                ASSERT_EQ(a[f], e[f]) << "line " << line + 1 << ", field " << f + 1;
                continue;
            }
            const double x = *textio::ParseNumberText(a[f]), y = *textio::ParseNumberText(e[f]);
            ASSERT_NEAR(x, y, 2e-7 * std::abs(y) + 1e-12)
                << "line " << line + 1 << ", field " << f + 1;
        }
    }
    EXPECT_TRUE(actual[actual.size() - 2].starts_with("# digest fnv1a64 "));
    if (identical == static_cast<int>(rowLines)) {
        EXPECT_EQ(actual[actual.size() - 2], expected[expected.size() - 2]);
    }
    std::cout << identical << " of " << rowLines << " rows byte-identical\n";

    // An HDF5 table of before reads back as the same table today's runs write.
    const lut::Table before = lut::LoadTable(golden / "classic_products.h5");
    const lut::Table now = lut::LoadTable("classic_products.h5");
    EXPECT_EQ(before.info, now.info);
    EXPECT_EQ(before.info.spec.leafModel, leaf::LeafModel::Classic);
    EXPECT_EQ(before.rows.parameters, now.rows.parameters);
    ASSERT_EQ(before.rows.reflectance.size(), now.rows.reflectance.size());
    for (std::size_t i = 0; i < now.rows.reflectance.size(); ++i) {
        const auto stored = static_cast<double>(before.rows.reflectance[i]);
        ASSERT_NEAR(static_cast<double>(now.rows.reflectance[i]), stored, 2e-7 * stored);
    }
    if (before.rows.reflectance == now.rows.reflectance
        && before.rows.products == now.rows.products) {
        EXPECT_EQ(FileBytes("classic_products.h5"), FileBytes(golden / "classic_products.h5"));
    }
}

// Files on which the HDF5 library itself reads beyond its buffers, asks for terabytes or
// loops: each command refuses them naming the file, with nothing written, and lives on.
TEST(LutCommand, ReadersRefuseFilesTheHdf5LibraryStopsOn)
{
    ScopedWorkDir dir;
    ASSERT_EQ(
        RunLine({"lut", "--samples", "6", "--shard", "0/2", "--quiet", "--out", "p0.h5"}).exitCode,
        0);
    std::string spectrum = "wavelength,a\n";
    for (int nm = 400; nm <= 2500; nm += 5) spectrum += std::to_string(nm) + ",0.2\n";
    std::ofstream("a.csv") << spectrum;
    const std::filesystem::path faults =
        std::filesystem::path(TULMERA_FUZZ_DIR) / "library_faults" / "hdf5_table_reader";
    for (const auto& entry : std::filesystem::directory_iterator(faults)) {
        const std::string shard = entry.path().filename().string() + ".h5";
        std::filesystem::copy_file(entry.path(), shard);
        for (const std::vector<std::string>& line :
             {std::vector<std::string>{"lut-merge", "m.h5", "p0.h5", shard},
              {"fit-canopy", "--lut", shard, "--reflectance", "a.csv"}}) {
            SCOPED_TRACE(line[0] + " " + shard);
            const auto outcome = RunLine(line);
            EXPECT_EQ(outcome.exitCode, 1) << outcome.messages;
            EXPECT_NE(outcome.messages.find("\"" + shard + "\""), std::string::npos)
                << outcome.messages;
            EXPECT_FALSE(std::filesystem::exists("m.h5"));
        }
    }
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

TEST(LutCommand, FourShardsThroughGnuParallelMergeIntoTheWholeTable)
{
    if (Shell("command -v parallel >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "GNU parallel is not installed (Debian package \"parallel\"; "
                        "scripts/install-deps test installs it).";
    }
    ScopedWorkDir dir;
    const std::string batch = TULMERA_BATCH;
    const std::string table =
        " lut --samples 1001 --seed 5 --range LAI=0.1:8 --range Cab=5:90"
        " --range Cm=0.002:0.02 --sampling uniform";
    for (const std::string extension : {".csv", ".h5"}) {
        ASSERT_EQ(Shell("parallel --will-cite --halt now,fail=1 " + batch + table
                        + " --threads 1 --shard {}/4 --out shard{}" + extension + " ::: 0 1 2 3"),
                  0);
        ASSERT_EQ(Shell(batch + " lut-merge merged" + extension + " shard2" + extension + " shard0"
                        + extension + " shard3" + extension + " shard1" + extension),
                  0);
        ASSERT_EQ(Shell(batch + table + " --out whole" + extension), 0);
        const lut::Table merged = lut::LoadTable("merged" + extension);
        const lut::Table whole = lut::LoadTable("whole" + extension);
        EXPECT_EQ(merged.info, whole.info);
        EXPECT_EQ(merged.rows.parameters, whole.rows.parameters);
        EXPECT_EQ(merged.rows.reflectance, whole.rows.reflectance);
    }
    EXPECT_EQ(FileBytes("merged.csv"), FileBytes("whole.csv"));
    EXPECT_EQ(FileBytes("merged.h5"), FileBytes("whole.h5"));
}

}  // namespace
}  // namespace tulmera::batch
