#pragma once
#include "batch/batch_command.h"
#include "multi/sweep.h"

namespace tulmera::batch {

// The sweep asked for by `sweep`'s options: --param (N, Cab, Cw or Cm; default N), --from,
// --to and --step (default: the limits the window sets up for that parameter, such as 1 to 4
// by 0.1 for N) and the leaf options for the held parameters. Throws UsageError for a bad
// option and for a sweep that cannot run (multi::CheckedSweepValues says why).
multi::SweepRequest SweepRequestFrom(const BatchArguments& arguments);

// `sweep`: the multiple simulation, writing "MVP.dat" and "MVPaint.dat"; with --png DIR also
// the sweep chart and its legend strip as drawn by the multiple-simulation window
// ("sweep.png", "legend.png"), with --xlsx FILE also the window's spreadsheet export.
BatchCommand SweepCommand();

}  // namespace tulmera::batch
