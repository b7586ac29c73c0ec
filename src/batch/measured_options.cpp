#include "batch/measured_options.h"

#include <algorithm>
#include <iostream>
#include <optional>

#include "textio/error.h"

namespace tulmera::batch {

measured::ValueScale ScaleFrom(const BatchArguments& arguments)
{
    if (arguments.Has("--percent") && arguments.Has("--fraction")) {
        throw UsageError("--percent and --fraction exclude each other.");
    }
    if (arguments.Has("--percent")) return measured::ValueScale::Percent;
    if (arguments.Has("--fraction")) return measured::ValueScale::Fraction;
    return measured::ValueScale::Guess;
}

std::vector<std::string> ColumnsFrom(const BatchArguments& arguments)
{
    std::vector<std::string> names;
    const std::string columns = arguments.Text("--columns", "all");
    if (columns == "all") return names;
    for (std::size_t pos = 0; pos <= columns.size();) {
        const std::size_t end = std::min(columns.find(',', pos), columns.size());
        if (end == pos) {
            throw UsageError("--columns: \"" + Shown(columns)
                             + "\" has an empty entry; give all or K[,K...].");
        }
        names.push_back(columns.substr(pos, end - pos));
        pos = end + 1;
    }
    return names;
}

std::vector<std::size_t> SelectedColumns(const measured::MeasuredTable& table,
                                         const std::vector<std::string>& names)
{
    std::vector<std::size_t> selected;
    for (const std::string& name : names) {
        const std::optional<std::size_t> column = measured::FindColumn(table, name);
        if (!column) {
            throw Error("The measured spectrum file \"" + table.fileName + "\" has no column \""
                        + name + "\" (neither a header name nor a number from 1 to "
                        + std::to_string(table.columns.size()) + ").");
        }
        selected.push_back(*column);
    }
    if (names.empty()) {
        for (std::size_t c = 0; c < table.columns.size(); ++c) selected.push_back(c);
    }
    return selected;
}

void SayConversions(const measured::MeasuredTable& table)
{
    if (table.fromMicrometres) {
        std::cerr << "tulmera-batch: " << table.fileName
                  << ": wavelengths in um, converted to nm.\n";
    }
    if (table.fromPercent) {
        std::cerr << "tulmera-batch: " << table.fileName << ": values in percent, converted to "
                  << "fractions.\n";
    }
}

void PrintResults(const std::string& text)
{
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.flush();
    if (!std::cout) throw Error("Cannot write the fit results to standard output.");
}

}  // namespace tulmera::batch
