#pragma once

#include "model/MatData.h"

#include <QChar>
#include <QString>

class QLineEdit;
class QObject;

namespace slabwise {

// The integer Tag a control carries as its dynamic property; 0 when none.
int ControlTag(const QObject& control);

// The number in an edit box. Text that does not convert reads as 0. The
// value is limited as LimitInput says: to the bound of the box's Tag (its
// row, 0 to the strip length for positions, 0 to below the thickness for
// covers) when min and max are both 0, else to min .. max (a max of 0 is
// none); a limited value is written back.
Real GetEditValue(QLineEdit& edit, const TMatData& model, double min = 0, double max = 0);
// Writes a number with the decimals the model shows its Tag with (2 without
// one), limited to the row; NaN shows as "N.A.". A number in scientific
// notation is written whole: without trailing zeros, and in a read-only box
// with no more significant digits than fit. Never raises a change signal.
void SetEditValue(QLineEdit& edit, const TMatData& model, Real value);
// The key filter of the number boxes: backspace, "-", the digits and the
// locale's decimal separator while the text holds none. Anything else is
// refused, the locale's thousands separator too, so "2,5" typed in English
// never reads as 25.
bool NumberKeyPasses(const QString& text, QChar key);
// Sets the text without raising a change signal.
void SetEditText(QLineEdit& edit, const QString& text);

// Splits a load control name such as "EditDist3wb" after `prefix` into the
// zero-based load index (digits converted with 0 on failure, minus 1) and the
// variable suffix.
void SplitLoadControlName(const QString& name, const QString& prefix, int& index, QString& suffix);

} // namespace slabwise
