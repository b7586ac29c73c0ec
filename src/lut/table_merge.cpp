#include <algorithm>

#include "lut/table_run.h"
#include "textio/error.h"

namespace tulmera::lut {
namespace {

struct ShardFile {
    std::filesystem::path file;
    TableInfo info;
};

std::string Rows(std::uint64_t first, std::uint64_t end)
{
    return end - first == 1
               ? "row " + std::to_string(first) + " is"
               : "rows " + std::to_string(first) + " to " + std::to_string(end - 1) + " are";
}

// Checks that the shards, sorted by first row, hold every row of their table once.
void CheckCoverage(const std::vector<ShardFile>& shards)
{
    const std::uint64_t samples = shards.front().info.spec.samples;
    std::uint64_t expected = 0;
    const ShardFile* previous = nullptr;
    for (const ShardFile& shard : shards) {
        const TableInfo& info = shard.info;
        if (info.rowCount == 0) continue;
        if (info.firstRow > expected) {
            throw Error("The shards do not make a whole table: " + Rows(expected, info.firstRow)
                        + " in none of them.");
        }
        if (info.firstRow < expected) {
            throw Error("The shards overlap: "
                        + Rows(info.firstRow, std::min(expected, info.firstRow + info.rowCount))
                        + " in both \"" + previous->file.string() + "\" and \""
                        + shard.file.string() + "\".");
        }
        expected = info.firstRow + info.rowCount;
        previous = &shard;
    }
    if (expected != samples) {
        throw Error("The shards do not make a whole table: " + Rows(expected, samples)
                    + " in none of them.");
    }
}

}  // namespace

void MergeShards(const std::filesystem::path& out, const std::vector<std::filesystem::path>& shards)
{
    if (shards.empty()) throw Error("No shard to merge.");
    // First pass: what each shard holds (its rows are dropped again, to keep memory bounded).
    std::vector<ShardFile> files;
    for (const std::filesystem::path& file : shards) {
        files.push_back({file, LoadTable(file).info});
        if (files.back().info.spec != files.front().info.spec) {
            throw Error("\"" + file.string() + "\" is a shard of another table than \""
                        + files.front().file.string()
                        + "\": their samples, seed, sampling, ranges or canopy options differ.");
        }
    }
    std::stable_sort(files.begin(), files.end(), [](const ShardFile& a, const ShardFile& b) {
        return a.info.firstRow < b.info.firstRow;
    });
    CheckCoverage(files);
    const TableSpec& spec = files.front().info.spec;
    const std::unique_ptr<TableWriter> writer = OpenTableWriter(out, {spec, 0, spec.samples});
    for (const ShardFile& shard : files) {
        if (shard.info.rowCount == 0) continue;
        const Table table = LoadTable(shard.file);
        if (table.info != shard.info) {
            throw Error("\"" + shard.file.string() + "\" changed while it was being merged.");
        }
        writer->Append(table.rows);
    }
    writer->Commit();
}

}  // namespace tulmera::lut
