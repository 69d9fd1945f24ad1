#include "LocaleNumber.h"

#include "model/NumberFormat.h"

#include <QLocale>

namespace slabwise {

QChar LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    // The formatter takes one byte; a separator outside ASCII falls back to
    // the point rather than writing half a character.
    if (point.size() == 1 && point.at(0).unicode() < 0x80) return point.at(0);
    return QLatin1Char('.');
}

QChar LocaleGroupSeparator() {
    const QString group = QLocale().groupSeparator();
    return group.size() == 1 ? group.at(0) : QChar();
}

namespace {

char DecimalByte() {
    return LocaleDecimalSeparator().toLatin1();
}

} // namespace

QString FormatLocaleFixed(Real value, int decimals, int precision) {
    return QString::fromStdString(FormatFixed(value, decimals, precision, DecimalByte()));
}

QString FormatLocaleGrouped(Real value, int decimals) {
    return QString::fromStdString(
        FormatGrouped(value, decimals, DecimalByte(), QLocale().groupSeparator().toStdString()));
}

} // namespace slabwise
