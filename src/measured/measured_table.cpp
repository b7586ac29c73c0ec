#include "measured/measured_table.h"

#include <algorithm>
#include <numeric>

#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::measured {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr double kPercentGuessAbove = 1.5;  // a value above this makes a file percent
constexpr double kMicrometresBelow = 3.0;   // all wavelengths below this: µm
constexpr double kGridFirstNm = 400.0, kGridLastNm = 2500.0;

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The fields of a line: split at each `delimiter` and trimmed, or, for ' ', the runs of
// characters between runs of blanks.
std::vector<std::string_view> SplitFields(std::string_view line, char delimiter)
{
    std::vector<std::string_view> fields;
    if (delimiter == ' ') {
        for (std::size_t pos = line.find_first_not_of(kBlanks); pos != std::string_view::npos;) {
            const std::size_t end = std::min(line.find_first_of(kBlanks, pos), line.size());
            fields.push_back(line.substr(pos, end - pos));
            pos = line.find_first_not_of(kBlanks, end);
        }
        return fields;
    }
    for (std::size_t pos = 0;;) {
        const std::size_t end = line.find(delimiter, pos);
        fields.push_back(Trim(line.substr(pos, end == std::string_view::npos ? end : end - pos)));
        if (end == std::string_view::npos) return fields;
        pos = end + 1;
    }
}

// A field read as a number: a point, or where allowed a comma, as decimal separator.
std::optional<double> FieldNumber(std::string_view field, bool commaAllowed)
{
    if (!commaAllowed || field.find(',') == std::string_view::npos) {
        return textio::ParseNumberText(field);
    }
    std::string copy(field);
    std::replace(copy.begin(), copy.end(), ',', '.');
    return textio::ParseNumberText(copy);
}

bool LooksNonFinite(std::string_view field)
{
    std::string lower;
    for (const char c : field) {
        if (c != '+' && c != '-') lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return lower == "nan" || lower == "inf" || lower == "infinity" || lower == "1.#inf"
           || lower == "1.#qnan";
}

bool AllNumbers(const std::vector<std::string_view>& fields, bool commaAllowed)
{
    return !fields.empty() && std::all_of(fields.begin(), fields.end(), [&](std::string_view f) {
        return FieldNumber(f, commaAllowed).has_value() || LooksNonFinite(f);
    });
}

// The delimiter of a first row of numbers, or nothing when the line is not one. NaN and
// infinities count as numbers here, so that the row is refused for them, not taken as a header.
std::optional<char> RowDelimiter(std::string_view line)
{
    for (const char delimiter : {'\t', ';', ',', ' '}) {
        if (delimiter != ' ' && line.find(delimiter) == std::string_view::npos) continue;
        if (AllNumbers(SplitFields(line, delimiter), delimiter != ',')) return delimiter;
    }
    return std::nullopt;
}

std::string Unquoted(std::string_view name)
{
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = Trim(name.substr(1, name.size() - 2));
    }
    return std::string(name);
}

// Builds a table from the lines of a file, one at a time.
class TableBuilder {
public:
    TableBuilder(std::string fileName, ValueScale scale) : scale_(scale)
    {
        table_.fileName = std::move(fileName);
    }

    void AddLine(std::string_view line, int lineNumber)
    {
        if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        if (Trim(line).empty()) return;
        anyText_ = true;
        if (rowLines_.empty()) {
            const std::optional<char> delimiter = RowDelimiter(line);
            if (!delimiter) {
                RefuseDamagedRow(line, lineNumber);
                table_.headerLines.emplace_back(line);
                return;
            }
            StartRows(*delimiter, line, lineNumber);
        }
        AddRow(line, lineNumber);
    }

    MeasuredTable Finish();

private:
    [[noreturn]] void Fail(const std::string& problem) const
    {
        throw Error("The measured spectrum file \"" + table_.fileName + "\" " + problem);
    }
    [[noreturn]] void FailAt(int lineNumber, const std::string& problem) const
    {
        Fail("has a problem at line " + std::to_string(lineNumber) + ": " + problem);
    }

    void RefuseDamagedRow(std::string_view line, int lineNumber) const;
    void StartRows(char delimiter, std::string_view line, int lineNumber);
    void CheckValueRange() const;
    void AddRow(std::string_view line, int lineNumber);
    double ReadField(std::string_view field, int lineNumber, std::size_t fieldIndex);
    void ScaleValues();
    void SortRows();

    ValueScale scale_;
    MeasuredTable table_;
    std::size_t fieldCount_ = 0;
    bool anyText_ = false;
    std::vector<int> rowLines_;  // the file line of each row
};

// A line before the first row of numbers that starts with a number (a wavelength) and goes on
// with fields is a first row that was damaged, not a header: taking it for one would name the
// columns after its values and lose the row.
void TableBuilder::RefuseDamagedRow(std::string_view line, int lineNumber) const
{
    for (const char delimiter : {'\t', ';', ',', ' '}) {
        if (delimiter != ' ' && line.find(delimiter) == std::string_view::npos) continue;
        const std::vector<std::string_view> fields = SplitFields(line, delimiter);
        const bool commaAllowed = delimiter != ',';
        if (fields.size() < 2 || !FieldNumber(fields[0], commaAllowed)) return;
        for (std::size_t f = 1; f < fields.size(); ++f) {
            if (FieldNumber(fields[f], commaAllowed) || LooksNonFinite(fields[f])) continue;
            FailAt(lineNumber,
                   "the first row of numbers is damaged: field " + std::to_string(f + 1)
                       + (fields[f].empty() ? " is empty."
                                            : " \"" + std::string(fields[f].substr(0, 40))
                                                  + "\" is not a number."));
        }
        return;
    }
}

// A reflectance or transmittance is a fraction; beyond a margin for spectrometer noise a value
// means the file was read in the wrong scale (percent as fractions) or is not a spectrum.
void TableBuilder::CheckValueRange() const
{
    constexpr double kLowest = -0.05, kHighest = 1.05;
    for (std::size_t c = 0; c < table_.columns.size(); ++c) {
        const MeasuredColumn& column = table_.columns[c];
        for (std::size_t r = 0; r < column.value.size(); ++r) {
            const std::optional<double>& value = column.value[r];
            if (!value || (*value >= kLowest && *value <= kHighest)) continue;
            FailAt(rowLines_[r],
                   "column " + std::to_string(c + 2) + " (\"" + column.name.substr(0, 40)
                       + "\") holds " + textio::NumberText(*value)
                       + " as a fraction, outside -0.05 to 1.05"
                       + (table_.fromPercent ? " (its values were read as percent)."
                                             : " (its values were read as fractions)."));
        }
    }
}

void TableBuilder::StartRows(char delimiter, std::string_view line, int lineNumber)
{
    table_.delimiter = delimiter;
    fieldCount_ = SplitFields(line, delimiter).size();
    if (fieldCount_ < 2) {
        FailAt(lineNumber,
               "the first row of numbers has a single column; the wavelength must be followed "
               "by at least one column of values.");
    }
    std::vector<std::string_view> names;
    if (!table_.headerLines.empty()) names = SplitFields(table_.headerLines.back(), delimiter);
    if (names.size() != fieldCount_) names.clear();
    for (std::size_t c = 1; c < fieldCount_; ++c) {
        MeasuredColumn column;
        column.name = names.empty() ? "" : Unquoted(names[c]);
        if (column.name.empty()) column.name = std::to_string(c);
        table_.columns.push_back(std::move(column));
    }
}

double TableBuilder::ReadField(std::string_view field, int lineNumber, std::size_t fieldIndex)
{
    const bool commaAllowed = table_.delimiter != ',';
    const std::optional<double> number = FieldNumber(field, commaAllowed);
    const std::string where =
        "field " + std::to_string(fieldIndex + 1) + " \"" + std::string(field.substr(0, 40)) + "\"";
    if (!number) {
        FailAt(lineNumber, LooksNonFinite(field) ? where + " is not a finite number."
                                                 : where + " is not a number.");
    }
    if (commaAllowed && field.find(',') != std::string_view::npos) table_.decimalComma = true;
    return *number;
}

void TableBuilder::AddRow(std::string_view line, int lineNumber)
{
    const std::vector<std::string_view> fields = SplitFields(line, table_.delimiter);
    if (fields.size() != fieldCount_) {
        FailAt(lineNumber, "it has " + std::to_string(fields.size()) + " fields, but the first row "
                               "of numbers has " + std::to_string(fieldCount_) + ".");
    }
    if (fields[0].empty()) FailAt(lineNumber, "the wavelength is missing.");
    table_.wavelengthNm.push_back(ReadField(fields[0], lineNumber, 0));
    for (std::size_t c = 1; c < fieldCount_; ++c) {
        std::optional<double> value;
        if (!fields[c].empty()) value = ReadField(fields[c], lineNumber, c);
        table_.columns[c - 1].value.push_back(value);
    }
    rowLines_.push_back(lineNumber);
}

void TableBuilder::ScaleValues()
{
    bool percent = scale_ == ValueScale::Percent;
    if (scale_ == ValueScale::Guess) {
        for (const MeasuredColumn& column : table_.columns) {
            percent = percent
                      || std::any_of(column.value.begin(), column.value.end(),
                                     [](const auto& v) { return v && *v > kPercentGuessAbove; });
        }
    }
    table_.fromPercent = percent;
    for (MeasuredColumn& column : table_.columns) {
        for (std::optional<double>& value : column.value) {
            if (!value) continue;
            if (percent) *value = *value / 100.0;
            column.negativeCount += *value < 0.0 ? 1 : 0;
            column.aboveOneCount += *value > 1.0 ? 1 : 0;
        }
    }
    std::vector<double>& wavelengths = table_.wavelengthNm;
    table_.fromMicrometres = std::all_of(wavelengths.begin(), wavelengths.end(),
                                         [](double w) { return w < kMicrometresBelow; });
    if (table_.fromMicrometres) {
        for (double& w : wavelengths) w = w * 1000.0;
    }
}

void TableBuilder::SortRows()
{
    const std::vector<double>& w = table_.wavelengthNm;
    std::vector<std::size_t> order(w.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return w[a] < w[b]; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        if (w[order[i]] == w[order[i - 1]]) {
            const int first = std::min(rowLines_[order[i]], rowLines_[order[i - 1]]);
            const int second = std::max(rowLines_[order[i]], rowLines_[order[i - 1]]);
            FailAt(second, "the wavelength " + textio::NumberText(w[order[i]])
                               + " nm appears twice (also at line " + std::to_string(first) + ").");
        }
    }
    table_.sorted = !std::is_sorted(w.begin(), w.end());
    if (!table_.sorted) return;
    const auto permute = [&](auto& values) {
        auto copy = values;
        for (std::size_t i = 0; i < order.size(); ++i) values[i] = copy[order[i]];
    };
    permute(table_.wavelengthNm);
    permute(rowLines_);
    for (MeasuredColumn& column : table_.columns) permute(column.value);
}

MeasuredTable TableBuilder::Finish()
{
    if (!anyText_) Fail("is empty.");
    if (rowLines_.empty()) {
        Fail(
            "has no rows of numbers (a wavelength followed by values, separated by commas, "
            "semicolons, tabs or spaces).");
    }
    ScaleValues();
    CheckValueRange();
    SortRows();
    const std::vector<double>& w = table_.wavelengthNm;
    if (w.back() < kGridFirstNm || w.front() > kGridLastNm) {
        Fail("has every wavelength outside 400 .. 2500 nm (they run from "
             + textio::NumberText(w.front()) + " to " + textio::NumberText(w.back()) + " nm).");
    }
    return std::move(table_);
}

// Cuts a stream of bytes into lines at CR LF, LF or CR, and hands each to the builder.
class LineSplitter {
public:
    explicit LineSplitter(TableBuilder& builder) : builder_(builder) {}

    void Feed(std::string_view bytes)
    {
        for (const char c : bytes) {
            if (c == '\n' && afterCr_) {
                afterCr_ = false;
            } else if (c == '\n' || c == '\r') {
                builder_.AddLine(pending_, ++line_);
                pending_.clear();
                afterCr_ = c == '\r';
            } else {
                pending_.push_back(c);
                afterCr_ = false;
            }
        }
    }
    void End()
    {
        if (!pending_.empty()) builder_.AddLine(pending_, ++line_);
    }

private:
    TableBuilder& builder_;
    std::string pending_;
    int line_ = 0;
    bool afterCr_ = false;
};

[[noreturn]] void FailToRead(const std::string& fileName, const std::string& reason)
{
    throw Error("Cannot read the measured spectrum file \"" + fileName + "\": " + reason);
}

}  // namespace

MeasuredTable ReadMeasuredFile(const std::string& fileName, ValueScale scale)
{
    std::string text;
    try {
        text = textio::ReadTextFile(fileName, kMaxMeasuredFileBytes);  // refuses FIFOs, devices
    } catch (const Error& e) {
        // Its reason, after "Cannot open "NAME": ", said once with what the file is.
        const std::string what = e.what();
        const std::size_t reason = what.find("\": ");
        FailToRead(fileName, reason == std::string::npos ? what : what.substr(reason + 3));
    }
    return ParseMeasuredText(fileName, text, scale);
}

MeasuredTable ParseMeasuredText(const std::string& fileName, std::string_view text,
                                ValueScale scale)
{
    TableBuilder builder(fileName, scale);
    LineSplitter lines(builder);
    lines.Feed(text);
    lines.End();
    return builder.Finish();
}

std::optional<std::size_t> FindColumn(const MeasuredTable& table, std::string_view name)
{
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (table.columns[c].name == name) return c;
    }
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (std::to_string(c + 1) == name) return c;
    }
    return std::nullopt;
}

}  // namespace tulmera::measured
