// Look-up tables of the physical sky mix and with products: what the files record, what
// lut-merge and fit-canopy make of it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lut/simulation.h"
#include "lut/table.h"
#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

using testing::FileBytes;
using testing::RunCommand;
using testing::ScopedWorkDir;
using testing::Split;
using testing::With;

const std::vector<std::string> kTable = {"lut",     "--samples", "12",    "--range", "LAI=0.5:6",
                                         "--range", "Cab=20:70", "--sun", "30",      "--quiet"};

void RunOk(const std::vector<std::string>& line)
{
    const auto [status, output] = RunCommand(line);
    ASSERT_EQ(status, 0) << output;
}

// Row `row` of `table` as a measured file, 17 digits so that it reads back as stored.
void WriteMeasured(const lut::Table& table, std::size_t row, const char* file)
{
    std::string text = "wavelength,a\n";
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        text += std::to_string(spectral::WavelengthNm(i)) + ",";
        const float value =
            table.rows.reflectance[row * spectral::kWavelengthCount + static_cast<std::size_t>(i)];
        textio::AppendNumberText(text, static_cast<double>(value), 17);
        text += '\n';
    }
    std::ofstream(file) << text;
}

// Both formats record the mix and the products, and read back the same rows; the products are
// those of the same simulation, and the reflectances those of `canopy --sky-mix physical`.
TEST(SkyMixTable, RecordsItsMixAndProductsInBothFormats)
{
    ScopedWorkDir dir;
    const std::vector<std::string> physical = With(kTable, {"--sky-mix", "physical", "--products"});
    RunOk(With(physical, {"--out", "p.h5"}));
    RunOk(With(physical, {"--out", "p.csv"}));
    const lut::Table h5 = lut::LoadTable("p.h5"), csv = lut::LoadTable("p.csv");
    EXPECT_EQ(h5.info, csv.info);
    EXPECT_EQ(h5.info.spec.skyMix, canopy::SkyMix::Physical);
    EXPECT_TRUE(h5.info.spec.products);
    EXPECT_EQ(h5.rows.products, csv.rows.products);
    EXPECT_EQ(h5.digest, csv.digest);
    ASSERT_EQ(h5.rows.products.size(), 12u * lut::kProductCount);
    const std::string head = Split(FileBytes("p.csv"), '\n')[0];
    EXPECT_TRUE(head.ends_with("; sky_mix=physical")) << head;
    EXPECT_TRUE(Split(FileBytes("p.csv"), '\n')[1].ends_with(
        ",2500,fAPAR,fCover,albedo_PAR,albedo_NIR,albedo_shortwave"));

    lut::Simulator simulator(h5.info.spec);
    for (const std::size_t row : {0u, 7u}) {
        lut::ParameterValues values{};
        std::copy_n(
            h5.rows.parameters.begin() + static_cast<std::ptrdiff_t>(row * lut::kParameterCount),
            lut::kParameterCount, values.begin());
        const lut::ProductValues expected =
            lut::ProductsOf(simulator.SimulateWithFluxes(values).fluxes);
        for (std::size_t q = 0; q < lut::kProductCount; ++q) {
            EXPECT_EQ(h5.rows.products[row * lut::kProductCount + q], expected[q])
                << lut::kProductNames[q] << " of row " << row;
        }
        std::vector<std::string> canopy = {"canopy", "--sky-mix", "physical", "--sun", "30"};
        for (const std::size_t p : {1u, 4u}) {  // Cab, LAI: the varied ones
            canopy.push_back(p == 1 ? "--Cab" : "--lai");
            canopy.push_back(textio::ShortestNumberText(values[p]));
        }
        RunOk(canopy);
        const std::vector<std::string> line670 =
            Split(testing::Lines(FileBytes("VS.dat"))[54], ',');
        const double fromCanopy = *textio::ParseNumberText(line670[1]);
        const float stored = h5.rows.reflectance[row * spectral::kWavelengthCount + 54];
        EXPECT_NEAR(stored, fromCanopy, 1e-7) << "row " << row << " at 670 nm";
    }
}

TEST(SkyMixTable, MergeKeepsTheMixAndRefusesShardsOfAnother)
{
    ScopedWorkDir dir;
    const std::vector<std::string> physical = With(kTable, {"--sky-mix", "physical"});
    RunOk(With(physical, {"--out", "whole.csv"}));
    RunOk(With(physical, {"--out", "p0.csv", "--shard", "0/2"}));
    RunOk(With(physical, {"--out", "p1.h5", "--shard", "1/2"}));
    RunOk(With(kTable, {"--out", "c1.csv", "--shard", "1/2"}));
    RunOk(With(physical, {"--out", "q1.csv", "--shard", "1/2", "--products"}));
    RunOk({"lut-merge", "merged.csv", "p1.h5", "p0.csv"});
    EXPECT_EQ(FileBytes("merged.csv"), FileBytes("whole.csv"));

    const struct {
        const char* shard;
        const char* message;
    } cases[] = {
        {"c1.csv",
         "\"c1.csv\" was computed with the classic sky mix and \"p0.csv\" with the "
         "physical one"},
        {"q1.csv", "\"q1.csv\" holds products (lut --products) and \"p0.csv\" does not"},
    };
    for (const auto& c : cases) {
        const auto [status, output] = RunCommand({"lut-merge", "bad.csv", "p0.csv", c.shard});
        EXPECT_EQ(status, 1) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_FALSE(std::filesystem::exists("bad.csv"));
    }
}

// fit-canopy takes the table's mix, refuses a --sky-mix that contradicts it, and reports the
// products' mean and SD over the best rows.
TEST(SkyMixTable, FitCanopyUsesTheTablesMixAndReportsItsProducts)
{
    ScopedWorkDir dir;
    RunOk(With(kTable, {"--sky-mix", "physical", "--products", "--out", "p.h5"}));
    RunOk(With(kTable, {"--out", "c.h5"}));
    const lut::Table table = lut::LoadTable("p.h5");
    WriteMeasured(table, 5, "a.csv");

    const testing::Outcome run = testing::RunBatchProgram(
        std::vector<std::string>{"fit-canopy", "--lut", "p.h5", "--reflectance", "a.csv",
                                 "--fraction", "--best", "1", "--sky-mix", "physical", "--refine"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string& output = run.out;
    const std::vector<std::string> lines = Split(output, '\n');
    const std::vector<std::string> header = Split(lines.at(0), ','), row = Split(lines.at(1), ',');
    ASSERT_EQ(header.size(), 3 * lut::kClassicColumnCount + 3 + 2 * lut::kProductCount) << output;
    ASSERT_EQ(row.size(), header.size()) << output;
    const std::size_t first = 3 * lut::kClassicColumnCount + 3;
    EXPECT_EQ(header[first], "fAPAR_mean");
    EXPECT_EQ(header.back(), "albedo_shortwave_sd");
    for (std::size_t q = 0; q < lut::kProductCount; ++q) {
        EXPECT_EQ(*textio::ParseNumberText(row[first + q]),
                  *textio::ParseNumberText(
                      textio::NumberText(table.rows.products[5 * lut::kProductCount + q])))
            << header[first + q];
        EXPECT_EQ(row[first + lut::kProductCount + q], "");  // no SD for one row
    }
    // The refinement ran the physical mix: it reaches row 5 itself again.
    EXPECT_LT(*textio::ParseNumberText(row[first - 1]), 1e-4) << output;

    for (const auto& [file, given, recorded] :
         {std::tuple{"p.h5", "classic", "physical"}, std::tuple{"c.h5", "physical", "classic"}}) {
        const testing::Outcome refused = testing::RunBatchProgram(std::vector<std::string>{
            "fit-canopy", "--lut", file, "--reflectance", "a.csv", "--sky-mix", given});
        EXPECT_EQ(refused.exitCode, 2) << refused.err;
        EXPECT_EQ(refused.out, "");
        const std::string& message = refused.err;
        EXPECT_NE(message.find(std::string("--sky-mix ") + given + " contradicts the table \""
                               + file + "\", computed with the " + recorded + " sky mix"),
                  std::string::npos)
            << message;
    }
}

// The sensitivity analysis runs the table's simulations: its files name a physical mix, and its
// shards of two mixes do not join.
TEST(SkyMixTable, SensitivityShardsRecordTheirMix)
{
    ScopedWorkDir dir;
    const std::vector<std::string> gsa = {"gsa",   "--samples", "8",       "--range",
                                          "N=1:2", "--range",   "LAI=1:3", "--out"};
    RunOk(With(gsa, {"p0.csv", "--shard", "0/2", "--sky-mix", "physical"}));
    RunOk(With(gsa, {"c1.csv", "--shard", "1/2"}));
    EXPECT_NE(Split(FileBytes("p0.csv"), '\n')[0].find("; visibility=15; sky_mix=physical; "),
              std::string::npos);
    EXPECT_EQ(FileBytes("c1.csv").find("sky_mix"), std::string::npos);
    const auto [status, output] = RunCommand({"gsa-merge", "m.csv", "p0.csv", "c1.csv"});
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("(its settings differ)"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists("m.csv"));
}

}  // namespace
}  // namespace tulmera::batch
