#pragma once
#include "leaf/leaf_parameters.h"
#include "plot/sweep_chart.h"
#include "textio/printed_text.h"
#include "textio/staged_files.h"

namespace tulmera::multi {

// Prints the five header lines of one "MVP.dat" block for `p`:
//   "N = 1.5 ", "Ca+b = 15  u.g.cm-2", "Cw = 0.0001  cm", "Cm = 0.002  g.cm-2" and
//   "Lon.onda    Reflectividad     Transmisividad", each ending in CR LF.
void PrintSweepHeader(textio::PrintedText& text, const leaf::LeafParameters& p);

// One step of a sweep, for the parameters `p` of that step: computes the leaf spectrum (the
// leaf tables are loaded again), appends its block (header and 421 data lines) to the staged
// "MVP.dat", stages "MVPaint.dat" as the 421 data lines alone, then draws the curve and its
// legend box (plot::PaintMultiProspect, from the staged "MVPaint.dat") in
// colours.CurveColour() and advances colours.legendLeft. Nothing is published: the sweep
// publishes both files once every step has succeeded. The caller advances the colour first.
// Throws tulmera::Error for a model fault or a file that cannot be written or read back; then
// nothing is drawn and `colours` is unchanged.
void RunMultiProspect(const leaf::LeafParameters& p, const plot::SweepCharts& charts,
                      plot::SweepColours& colours, textio::StagedFiles& staged);

}  // namespace tulmera::multi
