#include <algorithm>

#include "lut/sampling.h"
#include "lut/table_run.h"
#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::lut {
namespace {

struct ShardFile {
    std::filesystem::path file;
    TableInfo info;
    std::uint64_t digest = 0;
};

}  // namespace

void CheckShardRows(const std::filesystem::path& file, const Table& table)
{
    for (std::size_t r = 0; r < table.rows.Count(); ++r) {
        const std::uint64_t row = table.info.firstRow + r;
        const ParameterValues expected = SampleValues(table.info.spec, row);
        for (std::size_t p = 0; p < kParameterCount; ++p) {
            const double stored = table.rows.parameters[r * kParameterCount + p];
            if (stored == expected[p]) continue;
            throw Error("\"" + file.string() + "\" was edited: row " + std::to_string(row) + " has "
                        + std::string(kParameterNames[p]) + " = " + textio::NumberText(stored)
                        + " where its seed and sampling give " + textio::NumberText(expected[p])
                        + ".");
        }
        for (int i = 0; i < spectral::kWavelengthCount; ++i) {
            const float value =
                table.rows
                    .reflectance[r * spectral::kWavelengthCount + static_cast<std::size_t>(i)];
            if (value >= 0.0f && value <= 1.0f) continue;
            throw Error("\"" + file.string() + "\" was edited: row " + std::to_string(row)
                        + " has the reflectance "
                        + textio::ShortestNumberText(textio::ShortestSingleValue(value)) + " at "
                        + std::to_string(spectral::WavelengthNm(i)) + " nm, outside 0 to 1.");
        }
    }
}

namespace {

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
        const Table table = LoadTable(file);  // checks the rows against the digest
        if (!table.digest) {
            throw Error("\"" + file.string()
                        + "\" carries no digest (it was written by an older version), so its "
                          "rows cannot be checked; write the shard again.");
        }
        files.push_back({file, table.info, *table.digest});
        const TableSpec& first = files.front().info.spec;
        const TableSpec& spec = files.back().info.spec;
        if (spec.skyMix != first.skyMix) {
            throw Error("\"" + file.string() + "\" was computed with the "
                        + std::string(canopy::SkyMixName(spec.skyMix)) + " sky mix and \""
                        + files.front().file.string() + "\" with the "
                        + std::string(canopy::SkyMixName(first.skyMix))
                        + " one: they are shards of different tables.");
        }
        if (spec.products != first.products) {
            const bool here = spec.products;
            throw Error("\"" + (here ? file : files.front().file).string()
                        + "\" holds products (lut --products) and \""
                        + (here ? files.front().file : file).string()
                        + "\" does not: they are shards of different tables.");
        }
        if (spec != first) {
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
        if (table.info != shard.info || table.digest != shard.digest) {
            throw Error("\"" + shard.file.string() + "\" changed while it was being merged.");
        }
        CheckShardRows(shard.file, table);
        writer->Append(table.rows);
    }
    writer->Commit();
}

}  // namespace tulmera::lut
