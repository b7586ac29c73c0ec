#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lut/table_spec.h"
#include "spectral/grid.h"
#include "textio/staged_files.h"

// A look-up table's rows in memory and in its files. A file holds the rows firstRow ..
// firstRow + rowCount - 1 of the table its spec describes: the whole table, or one shard.
namespace tulmera::lut {

// What identifies a table file's rows.
struct TableInfo {
    TableSpec spec;
    std::uint64_t firstRow = 0;
    std::uint64_t rowCount = 0;

    bool operator==(const TableInfo&) const = default;
};

// Consecutive rows: parameters row by row (kParameterCount each, Parameter order, those the
// table's leaf model does not read 0; the files hold only the model's TableColumns) and the
// canopy reflectance as a fraction, spectral::kWavelengthCount single-precision values a row;
// in a table with products (TableSpec::products) also kProductCount products a row
// (kProductNames order), else none.
struct TableRows {
    std::uint64_t firstRow = 0;
    std::vector<double> parameters;
    std::vector<float> reflectance;
    std::vector<double> products;

    std::size_t Count() const { return parameters.size() / kParameterCount; }
};

// A table file and its rows.
struct Table {
    TableInfo info;
    TableRows rows;
    // The digest the file carries (table_digest.h), already checked against the rows by the
    // reader; none in a table written before tables carried one.
    std::optional<std::uint64_t> digest;
};

// The most rows a CSV table may have: a CSV table is read whole, at most 1 GB of text, and a row
// takes up to about 4.3 KB. Larger tables belong in HDF5.
inline constexpr std::uint64_t kMostCsvTableRows = 250000;
// The bytes an HDF5 table of `model` takes per row: its columns and reflectances, nothing more.
std::uint64_t Hdf5BytesPerRow(leaf::LeafModel model);
// At least the bytes a CSV table takes per row: 421 reflectances of 8 characters or more.
inline constexpr std::uint64_t kLeastCsvBytesPerRow = spectral::kWavelengthCount * 8;

// The two file formats, chosen by the name's extension: ".h5" (HDF5) or ".csv".
enum class TableFormat { Hdf5, Csv };
std::optional<TableFormat> FormatOf(const std::filesystem::path& file);

// Writes a table file in its format, into a temporary sibling of the file that becomes the
// file only in Commit(): until then, and whenever the writer is destroyed without Commit()
// (a failure, an interruption), nothing exists under the final name and the temporary file is
// removed. Rows must come in order, firstRow first, rowCount in all. Every failure throws
// tulmera::Error naming the file.
class TableWriter {
public:
    virtual ~TableWriter() = default;
    virtual void Append(const TableRows& rows) = 0;
    virtual void Commit() = 0;
};

// A writer for `file` (format by extension, see FormatOf; throws tulmera::Error for another
// extension) of the rows `info` announces.
std::unique_ptr<TableWriter> OpenTableWriter(const std::filesystem::path& file,
                                             const TableInfo& info);

// Reads a table file whole. Throws tulmera::Error naming the file when it is not one of ours
// (another extension, another layout, missing attributes or columns), is truncated, holds a
// value that is not a number or rows that do not match the digest it carries. CSV files with
// CR LF line ends (a spreadsheet's) are read like LF ones.
Table LoadTable(const std::filesystem::path& file);

namespace detail {
// The file a table writer fills under a temporary name (textio::CreateTemporarySibling) and
// puts in place whole once complete (textio::StagedFiles, flushed to disk first); dropped
// before that, it removes the temporary file. The writer closes its own handles on the file
// first (declare this member before them).
class TemporaryTableFile {
public:
    explicit TemporaryTableFile(std::filesystem::path file);
    TemporaryTableFile(const TemporaryTableFile&) = delete;
    TemporaryTableFile& operator=(const TemporaryTableFile&) = delete;

    const std::filesystem::path& temporary() const { return temporary_; }
    // Puts the temporary file in the table's place. Throws tulmera::Error naming the table.
    void PutInPlace();
    // Throws tulmera::Error: "The table "<file>" (temporary "<temporary>") <problem>."
    [[noreturn]] void Fail(const std::string& problem) const;

private:
    std::filesystem::path file_;
    textio::StagedFiles staged_;
    std::filesystem::path temporary_;
};

std::unique_ptr<TableWriter> OpenCsvWriter(const std::filesystem::path& file,
                                           const TableInfo& info);
std::unique_ptr<TableWriter> OpenHdf5Writer(const std::filesystem::path& file,
                                            const TableInfo& info);
Table LoadCsv(const std::filesystem::path& file);
Table LoadHdf5(const std::filesystem::path& file);
// The readers of LoadCsv and LoadHdf5 on a file's bytes held in memory, reported as the table
// `file` (the fuzzer reads shards without writing them). HDF5 reads the image through its core
// driver under the name `file`, which must not exist on the disk.
Table ParseCsv(const std::string& text, const std::filesystem::path& file);
Table LoadHdf5Image(std::string_view image, const std::filesystem::path& file);
}  // namespace detail

}  // namespace tulmera::lut
