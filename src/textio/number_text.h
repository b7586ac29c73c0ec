#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tulmera::textio {

// Significant digits of the number text of doubles and of single-precision values.
inline constexpr int kDoubleDigits = 15;
inline constexpr int kSingleDigits = 7;

// Appends the number text of x: x rounded to `significantDigits` (1 .. 17) significant
// digits, written in its shortest form with a point as decimal separator, no trailing zeros
// and no point for whole values ("15", "400", "0.0001", "-75", "12.5"). Magnitudes that round
// below 1e-4 or to 10^significantDigits and above take the exponent form: mantissa, "E", sign
// and at least two exponent digits ("1.2E-08", "1E-05", "1E+15"). These are exactly the
// choices of C's "%.15g" with an upper-case E. Negative zero is written "0". Independent of
// the process locale.
// Throws tulmera::Error for NaN and infinities, and for the few finite numbers next to the
// largest double whose rounded text exceeds it ("1.79769313486232E+308" would read back as
// infinite): a non-finite number is never written.
void AppendNumberText(std::string& out, double x, int significantDigits = kDoubleDigits);

// Room for any number text.
inline constexpr std::size_t kNumberTextCapacity = 48;

// Writes the number text of x (see AppendNumberText) from `out` on, which must have room for
// kNumberTextCapacity characters, and returns the end of the text. Throws as AppendNumberText.
char* PutNumberText(char* out, double x, int significantDigits = kDoubleDigits);

// The number text of x as a new string (see AppendNumberText).
std::string NumberText(double x, int significantDigits = kDoubleDigits);

// The number text of x with the fewest significant digits (1 .. 17) that reads back as x
// exactly (the batch runner's CSV), in plain form whenever the full text is plain ("80", not
// "8E+01"). Throws tulmera::Error for a non-finite x.
std::string ShortestNumberText(double x);

// The value a single-precision number stands for when it is passed on as text: the double
// nearest to the shortest decimal that reads back as the same single. 12.3456f (stored as
// 12.345600128173828) gives 12.3456; 0.05f * 100 gives 5. Converting the result back to single
// precision gives `x` again. Independent of the process locale. `x` must be finite.
double ShortestSingleValue(float x);

// The inverse of the number text: the double written by `text`, which may carry blanks or tabs
// around it and a leading sign, in plain ("12.5", ".5", "-75") or exponent form ("1.2E-08",
// "3e5"). Only a point is a decimal separator. Returns nothing for an empty text, anything
// that is not wholly one number ("1,5", "12abc", "inf", "nan", "0x10") and numbers beyond the
// range of a double. Every text AppendNumberText writes reads back to a double that writes the
// same text again; an integer divided by a small divisor (1500 / 100) reads back unchanged.
std::optional<double> ParseNumberText(std::string_view text);

}  // namespace tulmera::textio
