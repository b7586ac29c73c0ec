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

namespace detail {

TemporaryTableFile::TemporaryTableFile(std::filesystem::path file)
    : file_(std::move(file)), temporary_(TemporarySibling(file_))
{
}

TemporaryTableFile::~TemporaryTableFile()
{
    if (inPlace_) return;
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
}

void TemporaryTableFile::PutInPlace()
{
    std::error_code error;
    std::filesystem::rename(temporary_, file_, error);
    if (error) {
        throw Error("The table \"" + file_.string()
                    + "\" could not be put in place: " + error.message() + ".");
    }
    inPlace_ = true;
}

void TemporaryTableFile::Fail(const std::string& problem) const
{
    throw Error("The table \"" + file_.string() + "\" (temporary \"" + temporary_.string() + "\") "
                + problem + ".");
}

}  // namespace detail

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
