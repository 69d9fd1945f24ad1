#pragma once

#include "Real.h"

#include <string>

namespace slabwise {

// The one home of number-to-text conversion. Values are first taken to 18
// significant decimal digits (the precision of the extended type), so decimal
// ties such as 2.675 round half away from zero as an engineer reads them.

// Fixed-point text with `decimals` digits after the separator, rounded to at
// most `precision` significant digits; a value with more integer digits than
// that is written in scientific notation. NaN is "N.A."; a result that rounds
// to zero carries no minus sign.
std::string FormatFixed(Real value, int decimals, int precision = 10, char decimalSeparator = '.');

// Fixed-point text with the integer digits grouped in threes by
// `groupSeparator` (a locale's may be several bytes), as lists of ranges show
// them: 125670.4 with no decimals is "125,670".
std::string FormatGrouped(Real value, int decimals, char decimalSeparator = '.',
                          const std::string& groupSeparator = ",");

} // namespace slabwise
