#include "textio/printed_text.h"

#include "textio/number_text.h"

namespace tulmera::textio {

PrintedText& PrintedText::Number(double x)
{
    if (!(x < 0.0)) text_ += ' ';  // the number text brings its own minus sign
    AppendNumberText(text_, x);
    text_ += ' ';
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
