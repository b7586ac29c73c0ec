#include "refresh/refresh.h"

#include "leaf/leaf_run.h"

namespace tulmera::refresh {

void Recompute(const leaf::LeafParameters& leaf, const canopy::CanopyInputs& canopyInputs,
               canopy::CanopyState& canopyState, const plot::MainCharts& charts,
               const plot::ChartBackground& background,
               const std::function<void(RefreshStep)>& onStep)
{
    const auto step = [&onStep](RefreshStep s) {
        if (onStep) onStep(s);
    };
    step(RefreshStep::LeafRun);
    leaf::RunProspect(leaf, [&] {
        step(RefreshStep::PaintBackground);
        plot::PaintBackground(charts, background);
        step(RefreshStep::PaintProspect);
        plot::PaintProspect(charts.leaf);
    });
    step(RefreshStep::CanopyRun);
    canopy::RunSailh(canopyInputs, canopyState);
    step(RefreshStep::PaintSailh);
    plot::PaintSailh(charts.canopy);
    step(RefreshStep::PaintSoil);
    plot::PaintSoil(charts.canopy, canopyState.soilRefl);
}

}  // namespace tulmera::refresh
