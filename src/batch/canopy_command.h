#pragma once
#include "batch/batch_command.h"
#include "canopy/canopy_run.h"

namespace tulmera::batch {

// --lai, --sun, --view, --azimuth, --hotspot, --lidf, --soil, --visibility, shared by every
// command that runs the canopy model.
std::vector<OptionInfo> CanopyOptions();

// The canopy inputs given by CanopyOptions(), the main window's start values for the others.
// Throws UsageError, listing the valid values, for a --lidf or --soil text that is not exactly
// one of the list texts, or a --visibility other than 15 or 50: without a previous run to fall
// back on, an unmatched name would be an error.
canopy::CanopyInputs CanopyInputsFrom(const BatchArguments& arguments);

// Throws UsageError (DomainMessage) for the first canopy number outside its accepted range.
void CheckCanopyOptions(const canopy::CanopyInputs& inputs);

// `canopy`: the leaf run, then the canopy run, writing "VP.dat" and "VS.dat"; with --png DIR
// the main window's recomputation (refresh::Recompute), its two charts saved as "leaf.png" and
// "canopy.png".
BatchCommand CanopyCommand();

}  // namespace tulmera::batch
