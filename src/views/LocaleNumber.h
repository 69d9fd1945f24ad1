#pragma once

#include <QString>

namespace slabwise {

// Fixed-notation text of the windows: the model's formatter with the decimal
// separator of the user's locale. precision caps the significant digits as
// in FormatFixed; the read-outs pass a large one to read like "%.2f".
QString FormatLocaleFixed(double value, int decimals, int precision = 10);

} // namespace slabwise
