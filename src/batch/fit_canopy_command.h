#pragma once
#include "batch/batch_command.h"

namespace tulmera::batch {

// `fit-canopy`: compares every selected column of a measured canopy reflectance file with
// every row of a look-up table (on all cores) and prints, per column, the mean and standard
// deviation of the parameters of the best rows as CSV on standard output. Touches no working
// file.
BatchCommand FitCanopyCommand();

}  // namespace tulmera::batch
