#include "lut/table.h"

#include <unistd.h>

#include "textio/error.h"

namespace tulmera::lut {

std::optional<TableFormat> FormatOf(const std::filesystem::path& file)
{
    const std::filesystem::path extension = file.extension();
    if (extension == ".h5") return TableFormat::Hdf5;
    if (extension == ".csv") return TableFormat::Csv;
    return std::nullopt;
}

std::filesystem::path TemporarySibling(const std::filesystem::path& file)
{
    return file.parent_path()
           / ("." + file.filename().string() + "." + std::to_string(::getpid()) + ".part");
}

std::unique_ptr<TableWriter> OpenTableWriter(const std::filesystem::path& file,
                                             const TableInfo& info)
{
    const std::optional<TableFormat> format = FormatOf(file);
    if (!format) {
        throw Error("The table \"" + file.string() + "\" must be named .h5 (HDF5) or .csv.");
    }
    return *format == TableFormat::Hdf5 ? detail::OpenHdf5Writer(file, info)
                                        : detail::OpenCsvWriter(file, info);
}

Table LoadTable(const std::filesystem::path& file)
{
    const std::optional<TableFormat> format = FormatOf(file);
    if (!format) {
        throw Error("\"" + file.string()
                    + "\" is not a look-up table of ours: its name ends neither in .h5 nor .csv.");
    }
    return *format == TableFormat::Hdf5 ? detail::LoadHdf5(file) : detail::LoadCsv(file);
}

}  // namespace tulmera::lut
