#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_support.h"
#include "lut/hdf5_trial.h"
#include "lut/table.h"
#include "lut/table_digest.h"
#include "lut/table_run.h"

namespace tulmera::fuzz {
namespace {

template <typename T>
void RequireAllFinite(const std::vector<T>& values, const char* what)
{
    for (const T value : values) {
        Require(std::isfinite(value),
                std::string("A table was read with a ") + what + " that is not a number.");
    }
}

// What lut-merge relies on in a table a reader accepted: rows of the announced shape within
// the table's samples, numbers only, and the digest it carries matching them. The merge's own
// check of the rows against their seed may then refuse it, naming the file.
void CheckAcceptedTable(const char* fileName, const lut::Table& table)
{
    const lut::TableInfo& info = table.info;
    const std::size_t rows = table.rows.Count();
    Require(rows == info.rowCount && table.rows.firstRow == info.firstRow,
            "A table was read whose rows differ from what it announces.");
    Require(
        table.rows.parameters.size() == rows * lut::kParameterCount
            && table.rows.reflectance.size() == rows * spectral::kWavelengthCount
            && table.rows.products.size() == (info.spec.products ? rows * lut::kProductCount : 0),
        "A table was read whose columns do not fill its rows.");
    Require(
        info.rowCount <= info.spec.samples && info.firstRow <= info.spec.samples - info.rowCount,
        "A table was read with rows beyond its samples.");
    for (const lut::ParameterRange& range : info.spec.ranges) {
        Require(std::isfinite(range.lo) && std::isfinite(range.hi),
                "A table was read with a range that is not a number.");
    }
    RequireAllFinite(table.rows.parameters, "parameter");
    RequireAllFinite(table.rows.reflectance, "reflectance");
    RequireAllFinite(table.rows.products, "product");
    Require(!table.digest || *table.digest == lut::DigestOf(table.rows, table.info.spec.leafModel),
            "A table was read whose rows do not match its digest.");
    ReadsOrNamesFile(fileName, [&] { lut::CheckShardRows(fileName, table); });
}

}  // namespace

void FuzzCsvTableReader(std::string_view bytes)
{
    constexpr const char* kFile = "shard.csv";
    const std::string text(bytes);
    ReadsOrNamesFile(kFile, [&] { CheckAcceptedTable(kFile, lut::detail::ParseCsv(text, kFile)); });
    // Tables written before they carried a digest are still read: without its digest line a
    // shard's rows reach the row reader and the merge's check whatever a mutation did to them.
    const std::size_t lastLine = text.rfind('\n', text.size() < 2 ? 0 : text.size() - 2);
    if (lastLine != std::string::npos && text.compare(lastLine + 1, 9, "# digest ") == 0) {
        const std::string undigested = text.substr(0, lastLine + 1);
        ReadsOrNamesFile(
            kFile, [&] { CheckAcceptedTable(kFile, lut::detail::ParseCsv(undigested, kFile)); });
    }
}

void FuzzHdf5TableReader(std::string_view bytes)
{
    // Read from memory under this name, which the scratch directory does not hold.
    constexpr const char* kFile = "shard.h5";
    const auto read = [&] { CheckAcceptedTable(kFile, lut::detail::LoadHdf5Image(bytes, kFile)); };
    // First in a child, as every reader of a user's HDF5 file does: the HDF5 library itself
    // stops on some damaged files (fuzz/library_faults/), which is then a clean refusal. What
    // the child survived is read here as well, so that the fuzzer sees its coverage. A shard
    // of some kilobytes reads in milliseconds: half a second tells a loop of the library
    // without holding the fuzzer up for the ten seconds a reader of large files allows.
    constexpr lut::hdf5::TrialLimits kLimits{std::chrono::milliseconds(500),
                                             std::uint64_t{1} << 30};
    const lut::hdf5::TrialOutcome trial = lut::hdf5::TryInChild(
        kFile, [&] { ReadsOrNamesFile(kFile, read); }, kLimits);
    if (trial.kind == lut::hdf5::TrialOutcome::Kind::Stopped) return;
    Require(trial.kind == lut::hdf5::TrialOutcome::Kind::Read,
            "A trial read failed other than by a refusal: " + Shown(trial.text));
    ReadsOrNamesFile(kFile, read);
}

}  // namespace tulmera::fuzz
