#include "batch/csv_option.h"

namespace tulmera::batch {

OptionInfo CsvOption()
{
    return {"--csv", "FILE",
            "also write the spectra as a CSV file (comment lines \"#\", fractions; replaced)"};
}

std::string CsvFileFrom(const BatchArguments& arguments)
{
    if (!arguments.Has("--csv")) return {};
    std::string path = arguments.Text("--csv", "");
    if (path.empty()) throw UsageError("--csv needs a file name.");
    return path;
}

}  // namespace tulmera::batch
