#pragma once

// A number as its number text names it (15 significant digits, see textio/number_text.h): what
// a value that will be printed and read back (a table's sampled parameters, which a CSV table
// and a `canopy` run given the printed row must see as the table computed them) is rounded to.
namespace tulmera::textio {

// The double that the number text of x reads back as: exactly
// *textio::ParseNumberText(textio::NumberText(x)), for every finite x (negative zero gives
// zero), but without the text for the numbers of a spectrum: x is rounded to 15 digits by
// exact integer arithmetic and the decimal is divided by an exact power of ten, one correctly
// rounded IEEE operation (Clinger's fast path). Numbers outside 1e-8 .. 1e8 in magnitude go
// through the text. x must be finite; throws tulmera::Error as the number text does for
// the few numbers next to the largest double.
double PrintedValue(double x);

}  // namespace tulmera::textio
