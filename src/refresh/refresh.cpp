#include "refresh/refresh.h"

#include "leaf/leaf_run.h"

namespace tulmera::refresh {
namespace {

void Tell(const std::function<void(RefreshStep)>& onStep, RefreshStep step)
{
    if (onStep) onStep(step);
}

}  // namespace

void StageLeafRecompute(const leaf::LeafParameters& leaf, const plot::MainCharts& charts,
                        const plot::ChartBackground& background, textio::StagedFiles& staged,
                        const std::function<void(RefreshStep)>& onStep)
{
    Tell(onStep, RefreshStep::LeafRun);
    leaf::StageProspect(leaf, staged);
    Tell(onStep, RefreshStep::PaintBackground);
    plot::PaintBackground(charts, background);
    Tell(onStep, RefreshStep::PaintProspect);
    plot::PaintProspect(charts.leaf, staged.ReadName(kLeafSpectrumFile));
}

canopy::CanopyState StageRecompute(const leaf::LeafParameters& leaf,
                                   const canopy::CanopyInputs& canopyInputs,
                                   const canopy::CanopyState& previous,
                                   const plot::MainCharts& charts,
                                   const plot::ChartBackground& background,
                                   textio::StagedFiles& staged,
                                   const std::function<void(RefreshStep)>& onStep)
{
    StageLeafRecompute(leaf, charts, background, staged, onStep);
    Tell(onStep, RefreshStep::CanopyRun);
    canopy::CanopyState next = canopy::StageSailh(canopyInputs, previous, staged);
    Tell(onStep, RefreshStep::PaintSailh);
    plot::PaintSailh(charts.canopy, staged.ReadName(kCanopySpectrumFile));
    Tell(onStep, RefreshStep::PaintSoil);
    plot::PaintSoil(charts.canopy, next.soilRefl);
    return next;
}

void Recompute(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs,
               canopy::CanopyState& canopyState, const plot::MainCharts& charts,
               const plot::ChartBackground& background,
               const std::function<void(RefreshStep)>& onStep)
{
    textio::StagedFiles staged;
    canopy::CanopyState next =
        StageRecompute(leaf, canopyInputs, canopyState, charts, background, staged, onStep);
    staged.Publish();
    canopyState = next;
}

}  // namespace tulmera::refresh
