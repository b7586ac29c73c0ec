#include "textio/csv_text.h"

#include <array>
#include <charconv>

namespace tulmera::textio {

CsvText& CsvText::Comment(std::string_view text)
{
    text_ += "# ";
    text_ += text;
    text_ += '\n';
    return *this;
}

CsvText& CsvText::Setting(std::string_view name, std::string_view value)
{
    text_ += "# ";
    text_ += name;
    text_ += " = ";
    text_ += value;
    text_ += '\n';
    return *this;
}

CsvText& CsvText::Setting(std::string_view name, double value)
{
    return Setting(name, ShortestNumberText(value));
}

CsvText& CsvText::SettingsLine(std::string_view mark,
                               const std::vector<std::pair<std::string, std::string>>& settings)
{
    text_ += "# ";
    text_ += mark;
    for (const auto& [name, value] : settings) text_ += "; " + name + "=" + value;
    text_ += '\n';
    return *this;
}

CsvText& CsvText::Header(std::string_view names)
{
    Separate();
    text_ += names;
    return EndRow();
}

CsvText& CsvText::Text(std::string_view field)
{
    Separate();
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        text_ += field;
        return *this;
    }
    text_ += '"';
    for (const char c : field) {
        if (c == '"') text_ += '"';
        text_ += c;
    }
    text_ += '"';
    return *this;
}

CsvText& CsvText::Number(double x)
{
    const std::string number = ShortestNumberText(x);  // throws before anything is added
    Separate();
    text_ += number;
    return *this;
}

CsvText& CsvText::Rounded(double x, int significantDigits)
{
    std::array<char, kNumberTextCapacity> number;
    char* const end = PutNumberText(number.data(), x, significantDigits);
    Separate();
    text_.append(number.data(), end);
    return *this;
}

CsvText& CsvText::Whole(std::int64_t n)
{
    std::array<char, 24> digits;
    char* const end = std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr;
    Separate();
    text_.append(digits.data(), end);
    return *this;
}

CsvText& CsvText::Empty()
{
    Separate();
    return *this;
}

CsvText& CsvText::EndRow()
{
    text_ += '\n';
    rowStarted_ = false;
    return *this;
}

std::string CsvText::Take()
{
    std::string text = std::move(text_);
    text_.clear();
    rowStarted_ = false;
    return text;
}

void CsvText::Separate()
{
    if (rowStarted_) text_ += ',';
    rowStarted_ = true;
}

}  // namespace tulmera::textio
