#include "LocaleNumber.h"

#include "model/DesignChecks.h"
#include "model/NumberFormat.h"

#include <QLocale>

#include <cmath>

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

QString WithoutMantissaZeros(const QString& text) {
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    if (e < 0) return text;
    qsizetype end = e;
    while (end > 0 && text[end - 1] == QLatin1Char('0')) --end;
    if (end > 0 && text[end - 1] == LocaleDecimalSeparator()) --end;
    return text.left(end) + text.mid(e);
}

QString BoxValueText(const TMatData& mat, int tag, Real value) {
    if (std::isnan(value)) return QStringLiteral("N.A.");
    if (tag >= 1 && tag <= InputRangeCount) value = LimitToRow(value, mat.InputRange(tag));
    return WithoutMantissaZeros(FormatLocaleFixed(value, ShownDecimals(mat, tag, value)));
}

QString FormatLocaleGrouped(Real value, int decimals) {
    return QString::fromStdString(
        FormatGrouped(value, decimals, DecimalByte(), QLocale().groupSeparator().toStdString()));
}

} // namespace slabwise
