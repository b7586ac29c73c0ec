// The CSV form of a table, for small tables and spreadsheets: a first line "# tulmera
// look-up table 1; samples=...; ..." with the table settings, a header
// "row,N,...,hotspot,400,...,2500", then one line per sample: its row number, the parameters and
// the reflectance (the shortest decimal of each single-precision value), comma-separated, LF line
// ends; last a line "# digest fnv1a64 HEX" with the rows' digest (table_digest.h), absent in
// tables written before it. A table of the physical sky mix ends its first line with
// "; sky_mix=physical"; a table with products has the columns
// "fAPAR,fCover,albedo_PAR,albedo_NIR,albedo_shortwave" after 2500 (the shortest text that reads
// back exactly). Other tables have neither, as before. A table of PROSPECT-D or PROSPECT-PRO
// names its leaf model after the visibility ("; leaf_model=prospect-d") and has that model's
// columns (lut::TableColumns) in the settings and the header; a classic table names none.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <span>
#include <system_error>
#include <utility>
#include <vector>

#include "canopy/sky_ratio.h"
#include "leaf/leaf_models.h"
#include "lut/table.h"
#include "lut/table_digest.h"
#include "textio/csv_text.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/split_text.h"
#include "textio/text_file.h"

namespace tulmera::lut::detail {
namespace {

constexpr std::string_view kMark = "tulmera look-up table 1";  // after "# "
constexpr std::string_view kSkyMixKey = "sky_mix";             // only in tables of the physical mix
constexpr std::string_view kLeafModelKey = "leaf_model";       // only in tables of a newer model
constexpr std::string_view kDigestMark = "# digest fnv1a64 ";

// The table settings after the mark, on the first line.
std::vector<std::pair<std::string, std::string>> Settings(const TableSpec& spec)
{
    std::vector<std::pair<std::string, std::string>> settings = {
        {"samples", textio::NumberText(static_cast<double>(spec.samples))},
        {"seed", textio::NumberText(static_cast<double>(spec.seed))},
        {"sampling", std::string(SamplingName(spec.sampling))},
        {"lidf", spec.leafArchitecture},
        {"soil", spec.soil},
        {"visibility", std::to_string(canopy::VisibilityKm(spec.visibility))}};
    if (spec.leafModel != leaf::LeafModel::Classic) {
        settings.emplace_back(kLeafModelKey, leaf::LeafModelName(spec.leafModel));
    }
    for (const Parameter column : TableColumns(spec.leafModel)) {
        const auto p = static_cast<std::size_t>(column);
        const ParameterRange& r = spec.ranges[p];
        std::string range = textio::NumberText(r.lo);
        if (r.varies) range += ":" + textio::NumberText(r.hi);
        settings.emplace_back(kParameterNames[p], range);
    }
    if (spec.skyMix != canopy::SkyMix::Classic) {
        settings.emplace_back(kSkyMixKey, canopy::SkyMixName(spec.skyMix));
    }
    return settings;
}

// The fields of a row: its number, the columns of `model`, the reflectances.
std::size_t FieldCount(leaf::LeafModel model)
{
    return 1 + TableColumns(model).size() + spectral::kWavelengthCount;
}

// The column header, "row,N,...,hotspot,400,...,2500", with its line end.
std::string HeaderLine(leaf::LeafModel model, bool products)
{
    textio::CsvText csv;
    csv.Text("row");
    for (const Parameter column : TableColumns(model)) {
        csv.Text(kParameterNames[static_cast<std::size_t>(column)]);
    }
    for (int i = 0; i < spectral::kWavelengthCount; ++i) csv.Whole(spectral::WavelengthNm(i));
    if (products) {
        for (const std::string_view name : kProductNames) csv.Text(name);
    }
    csv.EndRow();
    return csv.Take();
}

// The settings line, then the column header.
std::string HeadLines(const TableSpec& spec)
{
    textio::CsvText csv;
    csv.SettingsLine(kMark, Settings(spec));
    return csv.Take() + HeaderLine(spec.leafModel, spec.products);
}

class CsvWriter final : public TableWriter {
public:
    CsvWriter(std::filesystem::path file, const TableInfo& info)
        : target_(std::move(file)), info_(info), digest_(info.spec.leafModel)
    {
        errno = 0;
        out_.open(target_.temporary(), std::ios::binary | std::ios::trunc);
        if (!out_) {
            target_.Fail(
                "cannot be created: "
                + (errno != 0 ? std::generic_category().message(errno) : "unknown reason"));
        }
        const std::string head = HeadLines(info.spec);
        out_.write(head.data(), static_cast<std::streamsize>(head.size()));
    }
    void Append(const TableRows& rows) override
    {
        textio::CsvText csv;
        csv.Reserve(rows.Count() * (FieldCount(info_.spec.leafModel) * 12));
        const std::span<const Parameter> columns = TableColumns(info_.spec.leafModel);
        for (std::size_t r = 0; r < rows.Count(); ++r) {
            csv.Whole(static_cast<std::int64_t>(rows.firstRow + r));
            for (const Parameter column : columns) {
                csv.Rounded(
                    rows.parameters[r * kParameterCount + static_cast<std::size_t>(column)]);
            }
            for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
                const float value = rows.reflectance[r * spectral::kWavelengthCount + i];
                csv.Rounded(textio::ShortestSingleValue(value));
            }
            if (info_.spec.products) {
                for (std::size_t q = 0; q < kProductCount; ++q) {
                    csv.Number(rows.products[r * kProductCount + q]);
                }
            }
            csv.EndRow();
        }
        written_ += rows.Count();
        digest_.Add(rows);
        const std::string& text = csv.str();
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out_) target_.Fail("could not be written (is the disk full?)");
    }

    void Commit() override
    {
        if (written_ != info_.rowCount) target_.Fail("is incomplete");
        const std::string last = std::string(kDigestMark) + DigestText(digest_.Value()) + "\n";
        out_.write(last.data(), static_cast<std::streamsize>(last.size()));
        out_.close();
        if (!out_) target_.Fail("could not be written (is the disk full?)");
        target_.PutInPlace();
    }

private:
    detail::TemporaryTableFile target_;  // before out_: removed after out_ is closed
    TableInfo info_;
    std::ofstream out_;
    std::uint64_t written_ = 0;
    RowDigest digest_;
};

// ---- Reading ----

class CsvReader {
public:
    explicit CsvReader(const std::filesystem::path& file) : file_(file) {}

    [[noreturn]] void Fail(const std::string& problem) const
    {
        throw Error("\"" + file_.string()
                    + "\" is not a look-up table of ours or is damaged: " + problem);
    }

    double Number(std::string_view text, const std::string& where) const
    {
        const std::optional<double> value = textio::ParseNumberText(text);
        if (!value) Fail(where + " \"" + std::string(text) + "\" is not a number.");
        return *value;
    }

    std::uint64_t Whole(std::string_view text, const std::string& where) const
    {
        const double value = Number(text, where);
        if (value < 0 || value >= 1e15
            || value != static_cast<double>(static_cast<std::uint64_t>(value))) {
            Fail(where + " \"" + std::string(text) + "\" is not a whole number.");
        }
        return static_cast<std::uint64_t>(value);
    }

    TableSpec ReadSpec(std::string_view line) const;

private:
    std::filesystem::path file_;
};

TableSpec CsvReader::ReadSpec(std::string_view line) const
{
    const std::vector<std::string_view> items = textio::SplitText(line, "; ");
    if (items.empty() || items[0] != "# " + std::string(kMark)) {
        Fail("its first line is not our mark.");
    }
    TableSpec spec;
    const std::string modelKey = std::string(kLeafModelKey) + "=";
    const bool modelNamed = items.size() > 7 && items[7].starts_with(modelKey);
    if (modelNamed) {
        const std::optional<leaf::LeafModel> model =
            leaf::ParseLeafModel(items[7].substr(modelKey.size()));
        // "classic" is never written: a table that names it was not written by us.
        if (!model || *model == leaf::LeafModel::Classic) Fail("unknown leaf model.");
        spec.leafModel = *model;
    }
    const std::span<const Parameter> columns = TableColumns(spec.leafModel);
    const std::size_t first = modelNamed ? 8 : 7;  // the first range
    const std::size_t expected = first + columns.size();
    const bool mixNamed =
        items.size() == expected + 1 && items.back().starts_with(std::string(kSkyMixKey) + "=");
    if (items.size() != expected && !mixNamed) Fail("its first line is not our mark.");
    const auto value = [&](std::size_t i, std::string_view key) {
        const std::string_view item = items[i];
        if (item.substr(0, key.size() + 1) != std::string(key) + "=") {
            Fail("the first line lacks \"" + std::string(key) + "=\".");
        }
        return item.substr(key.size() + 1);
    };
    spec.samples = Whole(value(1, "samples"), "samples");
    spec.seed = Whole(value(2, "seed"), "seed");
    const std::string_view sampling = value(3, "sampling");
    if (sampling != "lhs" && sampling != "uniform") Fail("unknown sampling.");
    spec.sampling = sampling == "lhs" ? Sampling::LatinHypercube : Sampling::Uniform;
    spec.leafArchitecture = value(4, "lidf");
    spec.soil = value(5, "soil");
    const std::string_view visibility = value(6, "visibility");
    if (visibility != "15" && visibility != "50") Fail("unknown visibility.");
    spec.visibility = visibility == "15" ? canopy::Visibility::Km15 : canopy::Visibility::Km50;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const auto p = static_cast<std::size_t>(columns[c]);
        const std::vector<std::string_view> ends =
            textio::SplitText(value(first + c, kParameterNames[p]), ":");
        if (ends.size() > 2) Fail("a range has more than two ends.");
        const std::string name(kParameterNames[p]);
        spec.ranges[p].lo = Number(ends.front(), name);
        spec.ranges[p].hi = Number(ends.back(), name);
        spec.ranges[p].varies = ends.size() == 2;
    }
    if (mixNamed) {
        const std::optional<canopy::SkyMix> mix = canopy::ParseSkyMix(value(expected, kSkyMixKey));
        // "classic" is never written: a table that names it was not written by us.
        if (!mix || *mix == canopy::SkyMix::Classic) Fail("unknown sky mix.");
        spec.skyMix = *mix;
    }
    return spec;
}

}  // namespace

std::unique_ptr<TableWriter> OpenCsvWriter(const std::filesystem::path& file, const TableInfo& info)
{
    return std::make_unique<CsvWriter>(file, info);
}

// CSV is the form for small tables: one of 250,000 rows of 421 values is about 1 GB of text,
// read whole; larger tables belong in HDF5.
constexpr std::size_t kMaxCsvTableBytes = std::size_t{1} << 30;

Table LoadCsv(const std::filesystem::path& file)
{
    return ParseCsv(textio::ReadTextFile(file.string(), kMaxCsvTableBytes), file);
}

Table ParseCsv(const std::string& text, const std::filesystem::path& file)
{
    const CsvReader reader(file);
    if (text.empty() || text.back() != '\n') reader.Fail("it ends in the middle of a line.");
    // A spreadsheet that saved the table may have given it CR LF line ends: read them alike.
    const bool crlf = text.size() >= 2 && text[text.size() - 2] == '\r';
    std::vector<std::string_view> lines = textio::SplitText(
        std::string_view(text).substr(0, text.size() - (crlf ? 2 : 1)), crlf ? "\r\n" : "\n");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find('\r') != std::string_view::npos) {
            reader.Fail("line " + std::to_string(i + 1) + " mixes CR LF and LF line ends.");
        }
    }
    Table table;
    if (lines.back().starts_with(kDigestMark)) {
        table.digest = ParseDigestText(lines.back().substr(kDigestMark.size()));
        if (!table.digest) reader.Fail("its digest line is damaged.");
        lines.pop_back();
    }
    // Counted after the digest line is set aside: a settings line and a digest line alone
    // have no header.
    if (lines.size() < 2) reader.Fail("it has no header.");
    table.info.spec = reader.ReadSpec(lines[0]);
    TableSpec& spec = table.info.spec;
    spec.products = std::string(lines[1]) + "\n" == HeaderLine(spec.leafModel, true);
    if (!spec.products && std::string(lines[1]) + "\n" != HeaderLine(spec.leafModel, false)) {
        reader.Fail("its column header is not ours.");
    }
    const std::span<const Parameter> parameterColumns = TableColumns(spec.leafModel);
    const std::size_t reflectanceField = 1 + parameterColumns.size();
    const std::size_t firstProduct = FieldCount(spec.leafModel);
    const std::size_t columns = firstProduct + (spec.products ? kProductCount : 0);
    const std::size_t count = lines.size() - 2;
    table.info.rowCount = count;
    table.rows.parameters.reserve(count * kParameterCount);
    table.rows.reflectance.reserve(count * spectral::kWavelengthCount);
    for (std::size_t r = 0; r < count; ++r) {
        const std::string where = "line " + std::to_string(r + 3);
        const std::vector<std::string_view> fields = textio::SplitText(lines[r + 2], ",");
        if (fields.size() != columns) {
            reader.Fail(where + " has " + std::to_string(fields.size()) + " fields instead of "
                        + std::to_string(columns) + ".");
        }
        const std::uint64_t row = reader.Whole(fields[0], where + ", row number");
        if (r == 0) table.info.firstRow = row;
        if (row != table.info.firstRow + r) reader.Fail(where + ": the rows are not consecutive.");
        const std::size_t at = table.rows.parameters.size();
        table.rows.parameters.resize(at + kParameterCount, 0.0);
        for (std::size_t c = 0; c < parameterColumns.size(); ++c) {
            table.rows.parameters[at + static_cast<std::size_t>(parameterColumns[c])] =
                reader.Number(fields[1 + c], where);
        }
        for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
            const std::string_view cell = fields[reflectanceField + i];
            const double value = reader.Number(cell, where);
            // Beyond the single-precision range the conversion itself would be undefined.
            if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
                reader.Fail(where + " \"" + std::string(cell)
                            + "\" is too large for a reflectance.");
            }
            table.rows.reflectance.push_back(static_cast<float>(value));
        }
        for (std::size_t q = firstProduct; q < columns; ++q) {
            table.rows.products.push_back(reader.Number(fields[q], where));
        }
    }
    table.rows.firstRow = table.info.firstRow;
    if (count > spec.samples || table.info.firstRow > spec.samples - count) {
        reader.Fail("it holds rows beyond its table's samples.");
    }
    if (table.digest && *table.digest != DigestOf(table.rows, spec.leafModel)) {
        reader.Fail("its rows do not match its digest: it was edited or damaged.");
    }
    return table;
}

}  // namespace tulmera::lut::detail
