#pragma once

#include "model/MatData.h"
#include "model/Real.h"

#include <QString>

#include <string>

namespace slabwise {

// The locale's decimal separator as the formatter can write it: one ASCII
// character, else the point. Reading a typed number uses the same one.
QChar LocaleDecimalSeparator();
// The locale's thousands separator, or a null character when it is not one
// character.
QChar LocaleGroupSeparator();

// Fixed-notation text of the windows: the model's formatter with the decimal
// separator of the user's locale. precision caps the significant digits as
// in FormatFixed; the read-outs pass a large one to read like "%.2f".
// Takes the model's extended value, so a decimal tie such as 2.675 rounds as
// the engineer reads it instead of as its nearest double.
QString FormatLocaleFixed(Real value, int decimals, int precision = 10);

// The text of a number box: the value limited to the row of its Tag, with
// the decimals the model shows that Tag with (2 without one); NaN is "N.A.".
// A number in scientific notation is written whole, without trailing
// mantissa zeros; a box too narrow for it may show fewer digits.
QString BoxValueText(const TMatData& mat, int tag, Real value);
// "1.250000000E+20" as "1.25E+20": the same number, shorter.
QString WithoutMantissaZeros(const QString& text);

// Whole-number groups by the locale's thousands separator ("4,713").
QString FormatLocaleGrouped(Real value, int decimals);

} // namespace slabwise
