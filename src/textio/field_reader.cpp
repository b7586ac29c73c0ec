#include "textio/field_reader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>
#include <utility>

#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::textio {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A blank, a comma or a line end: what ends a number field.
bool EndsField(char c) { return IsBlank(c) || c == ',' || c == '\r' || c == '\n'; }

bool IsDigitOrPoint(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// Whether the field at `p` starts as ParseNumberText wants a number to start, without the
// leading "+" it also accepts: a digit or a point, after an optional minus sign.
bool StartsPlainNumber(const char* p, const char* end)
{
    if (*p == '-') ++p;
    return p != end && IsDigitOrPoint(*p);
}

// Shows a field in a message without flooding it with an arbitrarily long or binary text.
std::string Quoted(std::string_view field)
{
    constexpr std::size_t kShown = 40;
    std::string shown;
    for (const char c : field.substr(0, kShown)) {
        shown += (c >= 0x20 && c < 0x7f) ? c : '?';
    }
    return "\"" + shown + (field.size() > kShown ? "...\"" : "\"");
}

}  // namespace

FieldReader::FieldReader(std::string fileName, std::string content)
    : fileName_(std::move(fileName)), content_(std::move(content))
{
}

FieldReader FieldReader::Open(const std::string& fileName, std::size_t maxBytes)
{
    return FieldReader(fileName, ReadTextFile(fileName, maxBytes));
}

bool FieldReader::IsLineEnd() const
{
    return pos_ < content_.size() && (content_[pos_] == '\r' || content_[pos_] == '\n');
}

void FieldReader::SkipBlanks()
{
    while (pos_ < content_.size() && IsBlank(content_[pos_])) ++pos_;
}

void FieldReader::ConsumeLineEnd()
{
    if (content_[pos_] == '\r' && pos_ + 1 < content_.size() && content_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
    fieldOfLine_ = 0;
}

void FieldReader::SkipBlanksAndLineEnds()
{
    for (SkipBlanks(); IsLineEnd(); SkipBlanks()) ConsumeLineEnd();
}

void FieldReader::ConsumeSeparator()
{
    SkipBlanks();
    if (pos_ >= content_.size()) return;
    if (content_[pos_] == ',') {
        ++pos_;
    } else if (IsLineEnd()) {
        ConsumeLineEnd();
    }
}

void FieldReader::Fail(std::string_view what, const std::string& problem) const
{
    throw Error("\"" + fileName_ + "\", line " + std::to_string(line_) + ", field "
                + std::to_string(fieldOfLine_ + 1) + " (" + std::string(what) + "): " + problem);
}

double FieldReader::ReadNumber(std::string_view what)
{
    SkipBlanksAndLineEnds();
    if (pos_ >= content_.size()) Fail(what, "the file ends before this field.");
    // The usual field at once: std::from_chars reads the number up to the end of the field.
    // It never reads past a blank, comma or line end, so it stops where it stops on the field
    // alone, and the field is then exactly what ParseNumberText accepts, with the same value.
    // Anything else takes the general way below, from the same position.
    const char* const data = content_.data();
    const char* const end = data + content_.size();
    if (StartsPlainNumber(data + pos_, end)) {
        double value = 0.0;
        const auto [stop, error] =
            std::from_chars(data + pos_, end, value, std::chars_format::general);
        if (error == std::errc{} && (stop == end || EndsField(*stop)) && std::isfinite(value)) {
            pos_ = static_cast<std::size_t>(stop - data);
            ++fieldOfLine_;
            ConsumeSeparator();
            return value;
        }
    }
    const std::size_t start = pos_;
    while (pos_ < content_.size() && !IsBlank(content_[pos_]) && content_[pos_] != ','
           && !IsLineEnd()) {
        ++pos_;
    }
    const std::string_view field(content_.data() + start, pos_ - start);
    if (field.empty()) Fail(what, "the field is empty.");
    const std::optional<double> value = ParseNumberText(field);
    if (!value) Fail(what, Quoted(field) + " is not a number.");
    ++fieldOfLine_;
    ConsumeSeparator();
    return *value;
}

int FieldReader::ReadWholeNumber(std::string_view what)
{
    SkipBlanksAndLineEnds();
    const std::size_t start = pos_;
    const int line = line_;
    const int field = fieldOfLine_;
    const double value = ReadNumber(what);
    if (value != std::floor(value) || value < std::numeric_limits<std::int16_t>::min()
        || value > std::numeric_limits<std::int16_t>::max()) {
        pos_ = start;  // report the position of the field, not of the next one
        line_ = line;
        fieldOfLine_ = field;
        Fail(what, NumberText(value) + " is not a whole number from -32768 to 32767.");
    }
    return static_cast<int>(value);
}

std::string FieldReader::ReadText(std::string_view what)
{
    SkipBlanks();
    if (pos_ >= content_.size()) Fail(what, "the file ends before this field.");
    const std::size_t start = pos_;
    while (pos_ < content_.size() && content_[pos_] != ',' && !IsLineEnd()) ++pos_;
    std::string_view text(content_.data() + start, pos_ - start);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    std::string result(text);
    ++fieldOfLine_;
    if (pos_ < content_.size()) {
        if (content_[pos_] == ',') {
            ++pos_;
        } else {
            ConsumeLineEnd();
        }
    }
    return result;
}

bool FieldReader::AtEnd() const
{
    for (std::size_t i = pos_; i < content_.size(); ++i) {
        const char c = content_[i];
        if (!IsBlank(c) && c != '\r' && c != '\n') return false;
    }
    return true;
}

}  // namespace tulmera::textio
