#pragma once

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

// Whole-number groups by the locale's thousands separator ("4,713").
QString FormatLocaleGrouped(Real value, int decimals);

} // namespace slabwise
