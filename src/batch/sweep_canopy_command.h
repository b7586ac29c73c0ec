#pragma once
#include "batch/batch_command.h"
#include "multi/canopy_sweep.h"
#include "multi/sweep_quantity.h"

namespace tulmera::batch {

// The canopy sweep asked for by the command line: --param (default LAI), --from/--to/--step
// (default: the parameter's lesson limits), the leaf and canopy options for the held values.
// Throws UsageError for an unknown parameter, a bad option, or a sweep the models would refuse
// (CheckedCanopySweepValues), all before anything runs.
multi::CanopySweepRequest CanopySweepRequestFrom(const BatchArguments& arguments);

// --quantity (default NDVI). Throws UsageError when it is not an index, "SENSOR band B" or a
// grid wavelength.
multi::SweepQuantity SweepQuantityFrom(const BatchArguments& arguments);

// `sweep-canopy`: the canopy sweep, writing "MVS.dat" and printing the quantity's CSV; with
// --png DIR the curves, their legend and the quantity chart; with --xlsx FILE the workbook.
BatchCommand SweepCanopyCommand();

}  // namespace tulmera::batch
