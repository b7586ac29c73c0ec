#pragma once
#include <vector>

#include "batch/batch_arguments.h"
#include "leaf/leaf_parameters.h"

// The choice of leaf model on the command line and the parameters only the newer models read,
// kept apart from the classic four so that each command that runs the leaf model gets them
// through LeafOptions() alone.
namespace tulmera::batch {

// --leaf-model, --Car, --Anth, --Cbrown, --Prot, --CBC.
std::vector<OptionInfo> LeafModelOptions();

// The leaf model given with --leaf-model ("classic", "prospect-d", "prospect-pro"; classic when
// not given). Throws UsageError naming the option for any other name.
leaf::LeafModel LeafModelFrom(const BatchArguments& arguments);

// The model's start values (leaf::StartLeafParameters) with every leaf parameter option given
// (--N, --Cab, --Cw, --Cm and those of LeafModelOptions) put in. Throws UsageError naming the
// option when the model does not read that parameter ("--Cm" for prospect-pro, "--Car" for
// classic): an option that would be ignored is refused. Ranges are checked apart
// (CheckLeafOptions).
leaf::LeafParameters LeafModelParametersFrom(const BatchArguments& arguments);

}  // namespace tulmera::batch
