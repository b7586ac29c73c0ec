#pragma once
#include "batch/batch_command.h"

namespace tulmera::batch {

// `fit-leaf`: fits the leaf model to every selected column of a measured reflectance and/or
// transmittance file, in parallel over the machine's cores, and prints one CSV line per column
// on standard output. Touches no working file.
BatchCommand FitLeafCommand();

}  // namespace tulmera::batch
