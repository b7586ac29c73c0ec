#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "textio/working_files.h"

namespace tulmera::textio {

// Reads the fields of a result file one after the other, across lines:
// - a number is the next run of characters after leading blanks (spaces, tabs) and line ends,
//   ended by a blank, a comma or the line end, in plain or exponent form with a point as
//   decimal separator; one comma or line end after it (and the blanks before that) is consumed;
// - a text is the rest of the line up to a comma or the line end, without its leading and
//   trailing blanks; the comma or line end after it is consumed.
// Line ends are CR LF, LF or CR. Every failure throws tulmera::Error naming the file, the line
// and the field: a field that is not a number, or a file that ends before the field.
class FieldReader {
public:
    // Reads from `content`; `fileName` is only used in messages.
    FieldReader(std::string fileName, std::string content);

    // Reads the whole file now (throws tulmera::Error if it cannot be read).
    static FieldReader Open(const std::string& fileName,
                            std::size_t maxBytes = kMaxSpectrumFileBytes);

    // `what` names the field in messages, for example "leaf reflectance".
    double ReadNumber(std::string_view what);

    // A number that must be whole and fit a 16-bit signed integer (the wavelength columns).
    int ReadWholeNumber(std::string_view what);

    std::string ReadText(std::string_view what);

    // True when nothing but blanks and line ends is left.
    bool AtEnd() const;

    const std::string& fileName() const { return fileName_; }

private:
    bool IsLineEnd() const;
    void SkipBlanks();
    void SkipBlanksAndLineEnds();
    void ConsumeLineEnd();
    void ConsumeSeparator();  // after a field: blanks, then one comma or one line end
    [[noreturn]] void Fail(std::string_view what, const std::string& problem) const;

    std::string fileName_;
    std::string content_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int fieldOfLine_ = 0;  // fields read so far on the current line
};

}  // namespace tulmera::textio
