#include "refresh/refresh.h"

#include "leaf/leaf_run.h"

namespace tulmera::refresh {

void StageLeafRecompute(const leaf::LeafParameters& leaf, const plot::MainCharts& charts,
                        const plot::ChartBackground& background, textio::StagedFiles& staged)
{
    leaf::StageProspect(leaf, staged);
    plot::PaintBackground(charts, background);
    plot::PaintProspect(charts.leaf, staged.ReadName(kLeafSpectrumFile));
}

canopy::CanopyState StageRecompute(const leaf::LeafParameters& leaf,
                                   const canopy::CanopyInputs& canopyInputs,
                                   const canopy::CanopyState& previous,
                                   const plot::MainCharts& charts,
                                   const plot::ChartBackground& background,
                                   textio::StagedFiles& staged)
{
    StageLeafRecompute(leaf, charts, background, staged);
    canopy::CanopyState next = canopy::StageSailh(canopyInputs, previous, staged);
    plot::PaintSailh(charts.canopy, staged.ReadName(kCanopySpectrumFile));
    plot::PaintSoil(charts.canopy, next.soilRefl);
    return next;
}

void Recompute(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs,
               canopy::CanopyState& canopyState, const plot::MainCharts& charts,
               const plot::ChartBackground& background)
{
    textio::StagedFiles staged;
    canopy::CanopyState next =
        StageRecompute(leaf, canopyInputs, canopyState, charts, background, staged);
    staged.Publish();
    canopyState = next;
}

}  // namespace tulmera::refresh
