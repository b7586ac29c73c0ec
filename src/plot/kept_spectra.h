#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "plot/chart_surface.h"
#include "plot/figure.h"
#include "spectral/grid.h"

// Spectra kept on the main charts as references ("Fijar espectros"): each a labelled copy of
// the leaf and canopy curves of one recomputation, drawn under the live curves in a colour of
// its own, named in the figures' legends and written beside the live spectra in the CSV file.
namespace tulmera::plot {

// One kept set of curves, in percent as the canopy state holds them (the canopy curve is drawn
// up to 2495 nm as the live one is).
struct KeptSpectra {
    std::string label;  // the legend's caption, e.g. "Cab = 40, LAI = 3"
    spectral::Spectrum leafReflPct{};
    spectral::Spectrum leafTransPct{};
    spectral::Spectrum canopyReflPct{};
    bool operator==(const KeptSpectra&) const = default;
};

// The pen of the kept set at `index` (0 the first kept): colours of a fixed cycle, none of them
// the live curves' green, red or brown nor the measured black, 1 pixel dashed so that the live
// curves stay in front.
Rgb KeptColour(std::size_t index);

// Draws each kept leaf reflectance (upward) and transmittance (100 − 100·T, downward) in its
// pen. Cannot fail: a value that is not finite leaves a gap.
void PaintKeptLeaf(ChartSurface& leafChart, const std::vector<KeptSpectra>& kept);

// Draws each kept canopy reflectance at 400 .. 2495 nm in its pen. Cannot fail, as above.
void PaintKeptCanopy(ChartSurface& canopyChart, const std::vector<KeptSpectra>& kept);

// Adds one legend entry per kept set to a main chart's figure, in its pen: the caption the
// label with `suffix` (the leaf chart names R and T, e.g. " (R, T)"; the canopy chart none).
void AddKeptLegend(Figure& figure, const std::vector<KeptSpectra>& kept,
                   const std::string& suffix = {});

}  // namespace tulmera::plot
