#pragma once
#include "batch/batch_command.h"
#include "leaf/leaf_parameters.h"

namespace tulmera::batch {

// --N, --Cab, --Cw, --Cm, shared by every command that runs the leaf model.
std::vector<OptionInfo> LeafOptions();

// The leaf parameters given by LeafOptions(), the main window's start values for the others.
leaf::LeafParameters LeafParametersFrom(const BatchArguments& arguments);

// `leaf`: the leaf run, writing "VP.dat"; with --png DIR also the leaf chart as the main
// window draws it ("leaf.png").
BatchCommand LeafCommand();

}  // namespace tulmera::batch
