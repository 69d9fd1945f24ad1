#include "LocaleNumber.h"

#include "model/NumberFormat.h"

#include <QLocale>

namespace slabwise {

namespace {

char LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    // The formatter takes one byte; a separator outside ASCII falls back to
    // the point rather than writing half a character.
    if (point.size() == 1 && point.at(0).unicode() < 0x80) return point.at(0).toLatin1();
    return '.';
}

} // namespace

QString FormatLocaleFixed(Real value, int decimals, int precision) {
    return QString::fromStdString(FormatFixed(value, decimals, precision, LocaleDecimalSeparator()));
}

QString FormatLocaleGrouped(Real value, int decimals) {
    return QString::fromStdString(
        FormatGrouped(value, decimals, LocaleDecimalSeparator(), QLocale().groupSeparator().toStdString()));
}

} // namespace slabwise
