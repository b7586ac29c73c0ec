#pragma once
#include <functional>

#include "canopy/canopy_run.h"
#include "leaf/leaf_parameters.h"
#include "plot/main_charts.h"

// The main window's recomputation as a plain procedure, so that the windows, the batch
// runner's chart images and the tests run one and the same sequence.
namespace tulmera::refresh {

// The steps of one recomputation, in the order they run.
enum class RefreshStep {
    LeafRun,
    PaintBackground,
    PaintProspect,
    CanopyRun,
    PaintSailh,
    PaintSoil
};

// Recomputes and redraws everything from the given inputs: the leaf run writes "VP.dat" and,
// once it is closed, the charts get their background and the leaf curves; the canopy run reads
// "VP.dat" and writes "VS.dat"; then the canopy and soil curves are drawn. `onStep`, when set,
// is told of each step just before it runs. Throws tulmera::Error from the first step that
// fails; the later steps do not run.
void Recompute(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs,
               canopy::CanopyState& canopyState, const plot::MainCharts& charts,
               const plot::ChartBackground& background,
               const std::function<void(RefreshStep)>& onStep = {});

}  // namespace tulmera::refresh
