// The order of a recomputation and the files it reads and publishes, seen on recording surfaces:
// the background before the curves it would otherwise wipe, the curves from the run's own staged
// files, and nothing published unless every step succeeded.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"
#include "leaf/leaf_run.h"
#include "refresh/refresh.h"
#include "support/work_dir.h"
#include "testing/recording_surface.h"
#include "textio/error.h"
#include "textio/staged_files.h"
#include "textio/text_file.h"
#include "textio/working_files.h"

namespace tulmera::refresh {
namespace {

using tulmera::testing::FileBytes;
using tulmera::testing::RecordingSurface;
using tulmera::testing::ScopedWorkDir;

constexpr plot::ChartBackground kGrid{plot::kGridEntry};
constexpr int kLandsatEntry = 4;  // a sensor's bands: filled boxes before the curves
const leaf::LeafParameters kThickLeaf{2.5, 60, 0.02, 0.008};

// Result files of another leaf and canopy than those recomputed: a curve drawn from the
// published files instead of the run's own would show it.
void WriteOtherResults()
{
    leaf::RunProspect(kThickLeaf);
    canopy::CanopyState state;
    canopy::RunSailh(canopy::StartCanopyInputs(), state);
}

TEST(RefreshOrder, DrawsTheBackgroundThenTheCurvesOfItsOwnStagedFiles)
{
    for (const int entry : {plot::kGridEntry, kLandsatEntry}) {
        SCOPED_TRACE("background entry " + std::to_string(entry));
        ScopedWorkDir dir;
        WriteOtherResults();
        const std::string publishedLeaf = FileBytes("VP.dat");
        const std::string publishedCanopy = FileBytes("VS.dat");
        canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
        inputs.lai = 3;
        const plot::ChartBackground background{entry};

        textio::StagedFiles staged;
        RecordingSurface leafChart, canopyChart;
        const canopy::CanopyState next =
            StageRecompute(leaf::kStartLeafParameters, inputs, canopy::CanopyState{},
                           {leafChart, canopyChart}, background, staged);

        // The same procedures one by one, in the order the charts must see them.
        RecordingSurface leafExpected, canopyExpected;
        plot::PaintBackground({leafExpected, canopyExpected}, background);
        plot::PaintProspect(leafExpected, staged.ReadName(kLeafSpectrumFile));
        plot::PaintSailh(canopyExpected, staged.ReadName(kCanopySpectrumFile));
        plot::PaintSoil(canopyExpected, next.soilRefl);
        EXPECT_EQ(leafChart.ops(), leafExpected.ops());
        EXPECT_EQ(canopyChart.ops(), canopyExpected.ops());
        EXPECT_EQ(next.lai, 3);

        // Staged aside, not yet in place.
        EXPECT_NE(staged.ReadName(kLeafSpectrumFile), kLeafSpectrumFile);
        EXPECT_NE(staged.ReadName(kCanopySpectrumFile), kCanopySpectrumFile);
        EXPECT_EQ(FileBytes("VP.dat"), publishedLeaf);
        EXPECT_EQ(FileBytes("VS.dat"), publishedCanopy);
        const std::string stagedLeaf = FileBytes(staged.ReadName(kLeafSpectrumFile));
        staged.Publish();
        EXPECT_EQ(FileBytes("VP.dat"), stagedLeaf);
        EXPECT_NE(FileBytes("VS.dat"), publishedCanopy);
    }
}

TEST(RefreshOrder, TheLeafHalfStagesTheLeafFileAndDrawsOnlyTheCanopyBackground)
{
    ScopedWorkDir dir;
    WriteOtherResults();
    textio::StagedFiles staged;
    RecordingSurface leafChart, canopyChart;
    StageLeafRecompute(leaf::kStartLeafParameters, {leafChart, canopyChart}, kGrid, staged);

    RecordingSurface leafExpected, canopyExpected;
    plot::PaintBackground({leafExpected, canopyExpected}, kGrid);
    plot::PaintProspect(leafExpected, staged.ReadName(kLeafSpectrumFile));
    EXPECT_EQ(leafChart.ops(), leafExpected.ops());
    EXPECT_EQ(canopyChart.ops(), canopyExpected.ops());
    EXPECT_NE(staged.ReadName(kLeafSpectrumFile), kLeafSpectrumFile);
    EXPECT_EQ(staged.ReadName(kCanopySpectrumFile), kCanopySpectrumFile);  // not staged
}

// A step that fails stops the later ones and puts no file in place, the leaf file included;
// the canopy state stays the last good one.
TEST(RefreshOrder, AFailedStepPublishesNothing)
{
    const struct {
        const char* name;
        double lai;               // 0: the canopy run refuses it, after the leaf half
        unsigned long fileBytes;  // 0: no limit; else no file may grow beyond it
        bool leafHalfRan;         // the leaf half ran before the failure
    } cases[] = {
        {"the leaf file cannot be written", 3, 100, false},
        {"the canopy run refuses its inputs", 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedWorkDir dir;
        WriteOtherResults();
        const std::string publishedLeaf = FileBytes("VP.dat");
        const std::string publishedCanopy = FileBytes("VS.dat");
        canopy::CanopyInputs inputs = canopy::StartCanopyInputs();
        inputs.lai = c.lai;
        canopy::CanopyState state;
        state.lai = 0.5;
        RecordingSurface leafChart, canopyChart;
        {
            std::optional<tulmera::testing::ScopedFileSizeLimit> limit;
            if (c.fileBytes > 0) limit.emplace(c.fileBytes);
            EXPECT_THROW(Recompute(leaf::kStartLeafParameters, inputs, state,
                                   {leafChart, canopyChart}, kGrid),
                         Error);
        }
        RecordingSurface leafBackground, canopyBackground;
        plot::PaintBackground({leafBackground, canopyBackground}, kGrid);
        EXPECT_EQ(leafChart.ops().empty(), !c.leafHalfRan);
        // The canopy chart holds its background at most, never a curve.
        EXPECT_EQ(canopyChart.ops().size(), c.leafHalfRan ? canopyBackground.ops().size() : 0u);
        EXPECT_EQ(FileBytes("VP.dat"), publishedLeaf);
        EXPECT_EQ(FileBytes("VS.dat"), publishedCanopy);
        EXPECT_EQ(state.lai, 0.5);
    }
}

// Whatever the leaf model, "VP.dat" keeps its layout (421 lines of wavelength, reflectance and
// transmittance), the canopy run reads it and the leaf curve is drawn from it: only the numbers
// tell the models apart.
TEST(RefreshOrder, EveryLeafModelWritesTheSameLeafFileLayout)
{
    leaf::LeafParameters autumn{1.6, 10.0, 0.012, 0.006, 6.0, 8.0, 0.4};
    autumn.model = leaf::LeafModel::ProspectD;
    leaf::LeafParameters pro{1.6, 10.0, 0.012, 0.0, 6.0, 8.0, 0.4, 0.0012, 0.005};
    pro.model = leaf::LeafModel::ProspectPro;
    std::vector<std::string> files;
    for (const leaf::LeafParameters& p : {leaf::kStartLeafParameters, autumn, pro}) {
        ScopedWorkDir dir;
        canopy::CanopyState state;
        RecordingSurface leafChart, canopyChart;
        Recompute(p, canopy::StartCanopyInputs(), state, {leafChart, canopyChart}, kGrid);
        EXPECT_FALSE(leafChart.ops().empty());
        EXPECT_TRUE(std::isfinite(state.canopyReflPct[100]));
        files.push_back(FileBytes("VP.dat"));
    }
    auto lineStarts = [](const std::string& text) {  // the wavelength column of every line
        std::vector<std::string> starts;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = text.find("\r\n", at);
            if (end == std::string::npos) break;
            starts.push_back(text.substr(at, 5));
            at = end + 2;
        }
        return starts;
    };
    ASSERT_EQ(lineStarts(files[0]).size(), 421u);
    for (std::size_t m = 1; m < files.size(); ++m) {
        EXPECT_EQ(lineStarts(files[m]), lineStarts(files[0])) << "model " << m;
        EXPECT_NE(files[m], files[0]) << "model " << m;
    }
}

}  // namespace
}  // namespace tulmera::refresh
