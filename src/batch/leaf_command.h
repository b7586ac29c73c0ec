#pragma once
#include <string>

#include "batch/batch_command.h"
#include "domain/input_domain.h"
#include "leaf/leaf_parameters.h"

namespace tulmera::batch {

// --N, --Cab, --Cw, --Cm: the classic model's parameters (the export's header values).
std::vector<OptionInfo> ClassicLeafOptions();

// ClassicLeafOptions() and the leaf model's (LeafModelOptions: --leaf-model, --Car, --Anth,
// --Cbrown, --Prot, --CBC), shared by every command that runs the leaf model.
std::vector<OptionInfo> LeafOptions();

// The leaf parameters given by LeafOptions(), the chosen model's start values for the others
// (LeafModelParametersFrom). Throws UsageError for an unknown model or a parameter the model
// does not read.
leaf::LeafParameters LeafParametersFrom(const BatchArguments& arguments);

// "--sun 100 is outside 0 to 90.": a value refused by the input domain, named by its option.
std::string DomainMessage(const domain::DomainProblem& problem);

// Throws UsageError (DomainMessage) for the first leaf parameter outside its accepted range.
void CheckLeafOptions(const leaf::LeafParameters& leaf);

// `leaf`: the leaf run, writing "VP.dat"; with --png DIR also the leaf chart as the main
// window draws it ("leaf.png"). It runs the leaf half of the main window's recomputation.
BatchCommand LeafCommand();

}  // namespace tulmera::batch
