#include "lut/table.h"

#include "textio/error.h"
#include "textio/pause_point.h"

namespace tulmera::lut {

std::optional<TableFormat> FormatOf(const std::filesystem::path& file)
{
    const std::filesystem::path extension = file.extension();
    if (extension == ".h5") return TableFormat::Hdf5;
    if (extension == ".csv") return TableFormat::Csv;
    return std::nullopt;
}

std::uint64_t Hdf5BytesPerRow(leaf::LeafModel model)
{
    return TableColumns(model).size() * sizeof(double) + spectral::kWavelengthCount * sizeof(float);
}

namespace detail {

TemporaryTableFile::TemporaryTableFile(std::filesystem::path file)
    : file_(std::move(file)), temporary_(staged_.Reserve(file_.string()))
{
}

void TemporaryTableFile::PutInPlace()
{
    textio::PausePoint("table-complete");
    try {
        staged_.Publish();
    } catch (const Error& e) {
        throw Error("The table \"" + file_.string() + "\" could not be put in place: " + e.what());
    }
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
