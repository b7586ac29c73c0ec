#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "batch/batch_arguments.h"
#include "measured/measured_table.h"

// What the fit commands share about measured files: the scale and column options, the notes
// on conversions, and where their output goes.
namespace tulmera::batch {

// The scale --percent or --fraction asks for (Guess when neither). Throws UsageError when
// both are given.
measured::ValueScale ScaleFrom(const BatchArguments& arguments);

// The entries of --columns (header names or numbers, 1 first); empty for "all" or no option.
// Throws UsageError for an empty entry.
std::vector<std::string> ColumnsFrom(const BatchArguments& arguments);

// The indices in `table` of the columns `names` chooses, in that order; every column when
// `names` is empty. Throws tulmera::Error naming the file for a column it does not have.
std::vector<std::size_t> SelectedColumns(const measured::MeasuredTable& table,
                                         const std::vector<std::string>& names);

// Tells on standard error when the file's wavelengths or values were converted.
void SayConversions(const measured::MeasuredTable& table);

// Writes `text` to standard output; throws tulmera::Error when it cannot.
void PrintResults(const std::string& text);

}  // namespace tulmera::batch
