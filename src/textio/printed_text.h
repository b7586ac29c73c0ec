#pragma once
#include <string>
#include <string_view>

namespace tulmera::textio {

// Builds the text of a result file line by line in the printed number layout: a number is its
// sign position (a space when zero or positive; its minus sign otherwise), its number text and
// one trailing space; a text item is written as it stands; items follow each other with
// nothing in between; every line ends with CR LF. " 400  0.05  0.01 \r\n" is one line of
// three numbers.
class PrintedText {
public:
    PrintedText& Number(double x);  // throws tulmera::Error for a non-finite x
    PrintedText& Text(std::string_view text);
    PrintedText& EndLine();

    void Reserve(std::size_t bytes) { text_.reserve(bytes); }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

}  // namespace tulmera::textio
