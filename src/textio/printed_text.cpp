#include "textio/printed_text.h"

#include <array>
#include <cassert>

#include "textio/number_text.h"

namespace tulmera::textio {

namespace {

constexpr std::size_t kItemCapacity = kNumberTextCapacity + 2;

// One number in the printed number layout from `out` on; returns the end.
char* PutItem(char* out, double x)
{
    if (!(x < 0.0)) *out++ = ' ';  // the number text brings its own minus sign
    out = PutNumberText(out, x);
    *out++ = ' ';
    return out;
}

}  // namespace

PrintedText& PrintedText::Number(double x)
{
    std::array<char, kItemCapacity> item;
    text_.append(item.data(), PutItem(item.data(), x));
    return *this;
}

PrintedText& PrintedText::NumberLine(std::initializer_list<double> numbers)
{
    assert(numbers.size() <= kMaxLineNumbers);
    std::array<char, kMaxLineNumbers * kItemCapacity + 2> line;
    char* end = line.data();
    for (const double x : numbers) end = PutItem(end, x);
    *end++ = '\r';
    *end++ = '\n';
    text_.append(line.data(), end);
    return *this;
}

PrintedText& PrintedText::Text(std::string_view text)
{
    text_ += text;
    return *this;
}

PrintedText& PrintedText::EndLine()
{
    text_ += "\r\n";
    return *this;
}

}  // namespace tulmera::textio
