// --csv FILE of tulmera-batch: the same table the windows save, staged with the run's files.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "export/spectra_csv.h"
#include "refresh/refresh.h"
#include "support/run_command.h"
#include "support/work_dir.h"
#include "testing/recording_surface.h"
#include "textio/text_file.h"

namespace tulmera::batch {
namespace {

namespace fs = std::filesystem;
using testing::ScopedWorkDir;

using testing::RunCommand;

std::string FileText(const fs::path& file) { return textio::ReadTextFile(file.string()); }

TEST(BatchCsv, EachCommandWritesTheTableOfItsOwnRun)
{
    const leaf::LeafParameters leaf{2.2, 60, 0.02, 0.01};
    canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
    inputs.lai = 2;
    inputs.sunZenith = 30;
    ScopedWorkDir dir;
    testing::RecordingSurface leafChart, canopyChart;
    canopy::CanopyState state;
    refresh::Recompute(leaf, inputs, state, {leafChart, canopyChart}, {});
    const exports::MainSpectra leafAlone{leaf, std::nullopt, state};
    const exports::MainSpectra withCanopy{leaf, inputs, state};
    // canopy --csv adds the run's fluxes after the window's columns.
    const canopy::CanopyFluxes fluxes = canopy::ComputeCanopyFluxes(state, inputs.skyMix);
    multi::SweepRequest sweep;
    sweep.swept = multi::SweptParameter::Cab;
    sweep.fixed = leaf;
    sweep.lower = 15;
    sweep.upper = 20;
    sweep.interval = 1;
    multi::CanopySweepRequest canopySweep;
    canopySweep.leaf = leaf;
    canopySweep.limits = {1, 2, 0.5};

    const std::vector<std::string> leafOptions = {"--N",  "2.2",  "--Cab", "60",
                                                  "--Cw", "0.02", "--Cm",  "0.01"};
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        std::string expected;
    } cases[] = {
        {"leaf", {"leaf"}, exports::MainSpectraCsv(leafAlone)},
        {"canopy",
         {"canopy", "--lai", "2", "--sun", "30"},
         exports::MainSpectraCsv(withCanopy, &fluxes)},
        {"sweep",
         {"sweep", "--param", "Cab", "--from", "15", "--to", "20", "--step", "1"},
         exports::SweepSpectraCsv(exports::ComputeSweepSpectra(sweep))},
        {"sweep-canopy",
         {"sweep-canopy", "--param", "LAI", "--from", "1", "--to", "2", "--step", "0.5"},
         exports::CanopySweepSpectraCsv(canopySweep, multi::ComputeCanopySweep(canopySweep))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), leafOptions.begin(), leafOptions.end());
        arguments.insert(arguments.end(), {"-C", dir.path().string(), "--csv", "out.csv"});
        const auto [status, text] = RunCommand(arguments);
        ASSERT_EQ(status, 0) << text;
        EXPECT_EQ(FileText(dir.path() / "out.csv"), c.expected);
    }
}

TEST(BatchCsv, AWorkingFileOrAnEmptyNameIsRefusedBeforeAnythingRuns)
{
    ScopedWorkDir dir;
    for (const char* bad : {"VP.dat", "MVP.dat", ""}) {
        SCOPED_TRACE(bad);
        const auto [status, text] = RunCommand({"canopy", "-C", dir.path().string(), "--csv", bad});
        EXPECT_EQ(status, 2) << text;
        EXPECT_FALSE(fs::exists(dir.path() / "VS.dat"));
    }
}

}  // namespace
}  // namespace tulmera::batch
