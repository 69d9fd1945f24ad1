#include "EditValues.h"

#include "model/DesignChecks.h"
#include "model/InputHints.h"
#include "views/LocaleNumber.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <QStyle>

#include <charconv>
#include <cmath>
#include <utility>

namespace slabwise {

int ControlTag(const QObject& control) {
    return control.property("Tag").toInt();
}

namespace {

// The text as a number in the locale's format; 0 when it does not convert.
// Digits, one sign, the separator and an exponent only: "nan" and "inf" are
// not numbers a user types.
Real ConvertText(QString text) {
    if (const QChar group = LocaleGroupSeparator(); !group.isNull()) text.remove(group);
    text = text.trimmed();
    if (text.startsWith(QLatin1Char('+'))) text.remove(0, 1);
    const QChar point = LocaleDecimalSeparator();
    std::string plain;
    plain.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        if (c == point)
            plain.push_back('.');
        else if ((c.isDigit() && c.unicode() < 128) || c == QLatin1Char('-') || c == QLatin1Char('+') ||
                 c == QLatin1Char('e') || c == QLatin1Char('E'))
            plain.push_back(static_cast<char>(c.unicode()));
        else
            return 0;
    }
    Real value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return 0;
    return value;
}

// The width the box shows its text in.
int TextRoom(const QLineEdit& edit) {
    // The line edit keeps a margin of two pixels each side inside its frame.
    constexpr int InnerMargin = 2;
    const int frame =
        edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit) : 0;
    const QMargins margins = edit.textMargins();
    return edit.contentsRect().width() - margins.left() - margins.right() - 2 * (frame + InnerMargin);
}

// A number too wide for its box is cut where the box ends, and a cut exponent
// turns 1.2E+286 into 1.2. A result box therefore shows as many significant
// digits as fit; an input box, whose text a commit reads back, the shortest
// text of the same number, as the report prints it.
QString FittingText(const QLineEdit& edit, const TMatData& model, Real value) {
    const int tag = ControlTag(edit);
    QString text = BoxValueText(model, tag, value);
    if (!edit.isReadOnly() || !text.contains(QLatin1Char('E'))) return text;
    const QFontMetrics metrics = edit.fontMetrics();
    const int room = TextRoom(edit);
    if (metrics.horizontalAdvance(text) <= room) return text;
    if (tag >= 1 && tag <= InputRangeCount) value = LimitToRow(value, model.InputRange(tag));
    const int decimals = ShownDecimals(model, tag, value);
    // Fewer significant digits never make the text wider, so the most that
    // fit (at least one) are found by halving 1 to 9 instead of trying each.
    const auto withDigits = [&](int precision) {
        return WithoutMantissaZeros(FormatLocaleFixed(value, decimals, precision));
    };
    int fits = 1, tooWide = 10;
    QString fitting;
    while (tooWide - fits > 1) {
        const int precision = (fits + tooWide) / 2;
        QString shorter = withDigits(precision);
        if (metrics.horizontalAdvance(shorter) <= room) {
            fits = precision;
            fitting = std::move(shorter);
        } else {
            tooWide = precision;
        }
    }
    return fitting.isEmpty() ? withDigits(1) : fitting;
}

} // namespace

Real GetEditValue(QLineEdit& edit, const TMatData& model, double min, double max) {
    const Real converted = ConvertText(edit.text());
    const Real value = LimitInput(model, ControlTag(edit), converted, min, max);
    if (value != converted) SetEditValue(edit, model, value);
    return value;
}

void SetEditValue(QLineEdit& edit, const TMatData& model, Real value) {
    SetEditText(edit, FittingText(edit, model, value));
}

bool NumberKeyPasses(const QString& text, QChar key) {
    if (key == QLatin1Char('\b') || key == QLatin1Char('-') ||
        (key >= QLatin1Char('0') && key <= QLatin1Char('9')))
        return true;
    const QChar point = LocaleDecimalSeparator();
    return key == point && !text.contains(point);
}

void SetEditText(QLineEdit& edit, const QString& text) {
    if (edit.text() == text) return;
    const QSignalBlocker blocker(edit);
    edit.setText(text);
    edit.setCursorPosition(0);
}

void SplitLoadControlName(const QString& name, const QString& prefix, int& index, QString& suffix) {
    qsizetype at = prefix.size();
    while (at < name.size() && name[at].isDigit() && name[at].unicode() < 128) ++at;
    bool ok = false;
    const int number = name.mid(prefix.size(), at - prefix.size()).toInt(&ok);
    index = (ok ? number : 0) - 1;
    suffix = name.mid(at);
}

} // namespace slabwise
