#pragma once
#include <vector>

#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"
#include "plot/kept_spectra.h"
#include "plot/main_charts.h"
#include "textio/staged_files.h"

// The main window's recomputation as a plain procedure, so that the windows, the batch
// runner and the tests run one and the same sequence.
namespace tulmera::refresh {

// The leaf half of a recomputation, staged: the leaf run stages the new "VP.dat" in `staged`,
// then the charts get their background and the leaf curves from it. Nothing is published.
// Throws tulmera::Error from the first step that fails; the later steps do not run. The
// `kept` curves ("Fijar espectros") are drawn over the background and under the model curves.
void StageLeafRecompute(const leaf::LeafParameters& leaf, const plot::MainCharts& charts,
                        const plot::ChartBackground& background, textio::StagedFiles& staged,
                        const std::vector<plot::KeptSpectra>& kept = {});

// The whole recomputation, staged: the leaf half (StageLeafRecompute), then the canopy run
// reads the staged "VP.dat" and stages "VS.dat", then the canopy and soil curves are drawn.
// Returns the new canopy state; `previous` is only read. Nothing is published: the caller
// adds its own files to `staged` and publishes them all together.
canopy::CanopyState StageRecompute(const leaf::LeafParameters& leaf,
                                   const canopy::CanopyInputs& canopyInputs,
                                   const canopy::CanopyState& previous,
                                   const plot::MainCharts& charts,
                                   const plot::ChartBackground& background,
                                   textio::StagedFiles& staged,
                                   const std::vector<plot::KeptSpectra>& kept = {});

// Recomputes and redraws everything from the given inputs (StageRecompute), then publishes
// "VP.dat" and "VS.dat" together and only then commits the new state into `canopyState`.
// Throws tulmera::Error from the first step that fails; the later steps do not run, and
// "VP.dat", "VS.dat" and `canopyState` stay those of the last good recomputation.
void Recompute(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs,
               canopy::CanopyState& canopyState, const plot::MainCharts& charts,
               const plot::ChartBackground& background,
               const std::vector<plot::KeptSpectra>& kept = {});

}  // namespace tulmera::refresh
