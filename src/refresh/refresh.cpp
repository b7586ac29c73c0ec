#include "refresh/refresh.h"

#include "leaf/leaf_run.h"

namespace tulmera::refresh {

void StageLeafRecompute(const leaf::LeafParameters& leaf, const plot::MainCharts& charts,
                        const plot::ChartBackground& background, textio::StagedFiles& staged,
                        const std::vector<plot::KeptSpectra>& kept)
{
    leaf::StageProspect(leaf, staged);
    plot::PaintBackground(charts, background);
    plot::PaintKeptLeaf(charts.leaf, kept);
    plot::PaintKeptCanopy(charts.canopy, kept);
    plot::PaintProspect(charts.leaf, staged.ReadName(kLeafSpectrumFile));
}

canopy::CanopyState StageRecompute(const leaf::LeafParameters& leaf,
                                   const canopy::CanopyInputs& canopyInputs,
                                   const canopy::CanopyState& previous,
                                   const plot::MainCharts& charts,
                                   const plot::ChartBackground& background,
                                   textio::StagedFiles& staged,
                                   const std::vector<plot::KeptSpectra>& kept)
{
    StageLeafRecompute(leaf, charts, background, staged, kept);
    canopy::CanopyState next = canopy::StageSailh(canopyInputs, previous, staged);
    plot::PaintSailh(charts.canopy, staged.ReadName(kCanopySpectrumFile));
    plot::PaintSoil(charts.canopy, next.soilRefl);
    return next;
}

void Recompute(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs,
               canopy::CanopyState& canopyState, const plot::MainCharts& charts,
               const plot::ChartBackground& background, const std::vector<plot::KeptSpectra>& kept)
{
    // The live refresh runs at every move of a control and its files are remade by the next
    // one: it skips the flush to disk that batch runs and saved files make.
    textio::StagedFiles staged(textio::Flushing::Skip);
    canopy::CanopyState next =
        StageRecompute(leaf, canopyInputs, canopyState, charts, background, staged, kept);
    staged.Publish();
    canopyState = next;
}

}  // namespace tulmera::refresh
