// The CSV form of a table, for small tables and spreadsheets: a first line "# tulmera
// look-up table 1; samples=...; ..." with the table settings, a header
// "row,N,...,hotspot,400,...,2500", then one line per sample: its row number, the parameters and
// the reflectance (the shortest decimal of each single-precision value), comma-separated, LF line
// ends; last a line "# digest fnv1a64 HEX" with the rows' digest (table_digest.h), absent in
// tables written before it. A table of the physical sky mix ends its first line with
// "; sky_mix=physical"; a table with products has the columns
// "fAPAR,fCover,albedo_PAR,albedo_NIR,albedo_shortwave" after 2500 (the shortest text that reads
// back exactly). Other tables have neither, as before.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <system_error>
#include <utility>
#include <vector>

#include "canopy/sky_ratio.h"
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
constexpr std::size_t kColumns = 1 + kParameterCount + spectral::kWavelengthCount;
constexpr std::string_view kSkyMixKey = "sky_mix";  // only in tables of the physical mix
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
    for (std::size_t p = 0; p < spec.ranges.size(); ++p) {
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

// The column header, "row,N,...,hotspot,400,...,2500", with its line end.
std::string HeaderLine(bool products)
{
    textio::CsvText csv;
    csv.Text("row");
    for (const std::string_view name : kParameterNames) csv.Text(name);
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
    return csv.Take() + HeaderLine(spec.products);
}

class CsvWriter final : public TableWriter {
public:
    CsvWriter(std::filesystem::path file, const TableInfo& info)
        : target_(std::move(file)), info_(info)
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
        csv.Reserve(rows.Count() * (kColumns * 12));
        for (std::size_t r = 0; r < rows.Count(); ++r) {
            csv.Whole(static_cast<std::int64_t>(rows.firstRow + r));
            for (std::size_t p = 0; p < kParameterCount; ++p) {
                csv.Rounded(rows.parameters[r * kParameterCount + p]);
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
    const std::size_t expected = 7 + kParameterCount;
    const bool mixNamed =
        items.size() == expected + 1 && items.back().starts_with(std::string(kSkyMixKey) + "=");
    if ((items.size() != expected && !mixNamed) || items[0] != "# " + std::string(kMark))
        Fail("its first line is not our mark.");
    const auto value = [&](std::size_t i, std::string_view key) {
        const std::string_view item = items[i];
        if (item.substr(0, key.size() + 1) != std::string(key) + "=") {
            Fail("the first line lacks \"" + std::string(key) + "=\".");
        }
        return item.substr(key.size() + 1);
    };
    TableSpec spec;
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
    for (std::size_t p = 0; p < kParameterCount; ++p) {
        const std::vector<std::string_view> ends =
            textio::SplitText(value(7 + p, kParameterNames[p]), ":");
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
    spec.products = std::string(lines[1]) + "\n" == HeaderLine(true);
    if (!spec.products && std::string(lines[1]) + "\n" != HeaderLine(false)) {
        reader.Fail("its column header is not ours.");
    }
    const std::size_t columns = kColumns + (spec.products ? kProductCount : 0);
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
        for (std::size_t p = 0; p < kParameterCount; ++p) {
            table.rows.parameters.push_back(reader.Number(fields[1 + p], where));
        }
        for (std::size_t i = 0; i < spectral::kWavelengthCount; ++i) {
            const std::string_view cell = fields[1 + kParameterCount + i];
            const double value = reader.Number(cell, where);
            // Beyond the single-precision range the conversion itself would be undefined.
            if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
                reader.Fail(where + " \"" + std::string(cell)
                            + "\" is too large for a reflectance.");
            }
            table.rows.reflectance.push_back(static_cast<float>(value));
        }
        for (std::size_t q = kColumns; q < columns; ++q) {
            table.rows.products.push_back(reader.Number(fields[q], where));
        }
    }
    table.rows.firstRow = table.info.firstRow;
    if (count > spec.samples || table.info.firstRow > spec.samples - count) {
        reader.Fail("it holds rows beyond its table's samples.");
    }
    if (table.digest && *table.digest != DigestOf(table.rows)) {
        reader.Fail("its rows do not match its digest: it was edited or damaged.");
    }
    return table;
}

}  // namespace tulmera::lut::detail
