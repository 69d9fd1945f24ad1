// What a number box does with a value the model limits or cannot show in
// full: positions stay on the strip, covers below the thickness, a failing
// steel ratio reads below its limit, and a huge result keeps its exponent.

#include "mainwindow/EditValues.h"
#include "model/DesignChecks.h"
#include "model/InputRanges.h"
#include "views/LocaleNumber.h"

#include "support/ScopedUserLocale.h"
#include "support/TestModels.h"

#include <QLineEdit>
#include <QStyle>

#include <gtest/gtest.h>

namespace slabwise {
namespace {

using test::NewModel;

TEST(EditValuesLimits, TypedValuesTakeTheModelsBounds) {
    auto model = NewModel();
    model->StripLength = 30;
    model->Thickness = 2;
    const struct {
        const char* Name;
        int Tag;
        const char* Typed;
        double Min, Max;
        Real Read;
        const char* Shown;
    } cases[] = {
        // The window's own bounds for positions, 0 to the strip length.
        {"point load far before the strip", TagPointPosition, "-10000", 0, 30, 0, "0.0000"},
        {"user point beyond the strip", TagUserPoint, "45", 0, 30, 30, "30.0000"},
        {"position by its Tag alone", TagMomentPosition, "-2.5", 0, 0, 0, "0.0000"},
        {"load end before its start", TagDistPosition, "-3", 4, 30, 4, "4.0000"},
        // Covers of a 24 in strip.
        {"cover below 0", TagCover, "-3", 0, 0, 0, "0.00"},
        {"cover of the thickness", TagCover, "24", 0, 0, 23.99L, "23.99"},
        {"cover inside", TagCover, "3", 0, 0, 3, "3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QLineEdit edit;
        edit.setProperty("Tag", c.Tag);
        edit.setText(QLatin1String(c.Typed));
        EXPECT_EQ(GetEditValue(edit, *model, c.Min, c.Max), c.Read);
        EXPECT_EQ(edit.text(), QLatin1String(c.Shown));
    }
}

TEST(EditValuesLimits, AFailingRatioReadsBelowItsLimit) {
    const test::TScopedUserLocale german("de_DE.UTF-8");
    if (!german.Active()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    auto model = NewModel();
    const struct {
        Real Value;
        const char* Shown;
    } cases[] = {{0.1778L, "0,178"}, {0.17999L, "0,17999"}, {0.18L, "0,18"}, {0.2514L, "0,25"}};
    for (const auto& c : cases) {
        QLineEdit edit;
        edit.setProperty("Tag", TagSteelPct);
        edit.setReadOnly(true);
        SetEditValue(edit, *model, c.Value);
        EXPECT_EQ(edit.text(), QLatin1String(c.Shown));
    }
}

// A result too long for its box loses significant digits, never its
// exponent; an input keeps every digit it is read back with.
TEST(EditValuesLimits, AHugeNumberIsShownWhole) {
    auto model = NewModel();
    QLineEdit result;
    result.setProperty("Tag", TagShear);
    result.setReadOnly(true);
    result.resize(92, result.sizeHint().height());
    SetEditValue(result, *model, -1.234567890123e286L);
    const QString shown = result.text();
    EXPECT_TRUE(shown.startsWith(QLatin1String("-1.2"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QLatin1String("E+286"))) << shown.toStdString();
    EXPECT_LE(result.fontMetrics().horizontalAdvance(shown), result.contentsRect().width())
        << shown.toStdString();
    // The digits it shows are the value's, rounded.
    EXPECT_EQ(shown.toStdString().substr(0, 3), "-1.");

    QLineEdit input;
    input.setProperty("Tag", TagFy);
    input.resize(92, input.sizeHint().height());
    SetEditValue(input, *model, 1e20L);
    EXPECT_EQ(input.text(), QStringLiteral("1E+20"));
    EXPECT_EQ(GetEditValue(input, *model), 1e20L);
    SetEditValue(input, *model, 1.25e21L);
    EXPECT_EQ(input.text(), QStringLiteral("1.25E+21"));
    EXPECT_EQ(GetEditValue(input, *model), 1.25e21L);
}

// However wide the box, a result shows the most significant digits that fit
// in it: the text a search over every precision from 10 down finds.
TEST(EditValuesLimits, AResultShowsTheMostDigitsThatFit) {
    auto model = NewModel();
    const auto withoutZeros = [](QString text) {
        const qsizetype e = text.indexOf(QLatin1Char('E'));
        if (e < 0) return text;
        qsizetype end = e;
        while (end > 0 && text[end - 1] == QLatin1Char('0')) --end;
        if (end > 0 && text[end - 1] == LocaleDecimalSeparator()) --end;
        return text.left(end) + text.mid(e);
    };
    for (const Real value : {-1.234567890123e286L, 9.99999999951e120L, 1.0500000001e25L, 4.4e-30L}) {
        for (int width = 40; width <= 200; width += 9) {
            SCOPED_TRACE(testing::Message() << double(value) << " in " << width);
            QLineEdit result;
            result.setProperty("Tag", TagShear);
            result.setReadOnly(true);
            result.resize(width, result.sizeHint().height());
            SetEditValue(result, *model, value);
            const int frame = result.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &result);
            const int room = result.contentsRect().width() - 2 * (frame + 2);
            const int decimals = ShownDecimals(*model, TagShear, value);
            QString expected;
            for (int precision = 10; precision >= 1; --precision) {
                expected = withoutZeros(FormatLocaleFixed(value, decimals, precision));
                if (result.fontMetrics().horizontalAdvance(expected) <= room) break;
            }
            EXPECT_EQ(result.text(), expected);
        }
    }
}

} // namespace
} // namespace slabwise
