#pragma once
#include <cstddef>
#include <initializer_list>
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

    // A whole line of at most kMaxLineNumbers numbers: the text of Number() for each, then
    // EndLine(), added in one step (the result files' data lines). Throws tulmera::Error for a
    // non-finite number, and then adds nothing.
    static constexpr std::size_t kMaxLineNumbers = 4;
    PrintedText& NumberLine(std::initializer_list<double> numbers);

    void Reserve(std::size_t bytes) { text_.reserve(bytes); }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

}  // namespace tulmera::textio
