#pragma once
#include <string>

#include "batch/batch_arguments.h"

// --csv FILE: the commands that compute spectra also write them as a CSV file.
namespace tulmera::batch {

// The --csv option, for the help text.
OptionInfo CsvOption();

// The file given with --csv, or an empty text when none was asked for. Throws UsageError for
// an empty file name.
std::string CsvFileFrom(const BatchArguments& arguments);

}  // namespace tulmera::batch
