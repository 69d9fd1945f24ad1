// The window's texts built from the model alone, under a decimal comma: the
// value of a box, the utilisation lines, the project's date, the logo box,
// the choices and the checks.

#include "report/FormTexts.h"
#include "model/FloatFault.h"
#include "model/FormFields.h"
#include "model/ResultFields.h"
#include "report/ReportSource.h"
#include "support/ScopedUserLocale.h"
#include "views/LocaleNumber.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace slabwise::test {

namespace {

constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();

} // namespace

TEST(FormTexts, NumbersAsTheBoxesShowThem) {
    const TScopedUserLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.Active());
    TMatData m;
    const Real lengthMax = m.InputRange(TagLength).Max;
    const struct {
        int Tag;
        Real Value;
        QString Shown;
    } cases[] = {
        {TagShear, NaN, "N.A."},
        {TagShear, Real(12.345), "12,35"},
        {TagLength, lengthMax * 10, FormatLocaleFixed(lengthMax, m.InputRange(TagLength).Decimals)},
        // Written whole, without the mantissa's trailing zeros.
        {TagShear, Real(1.25e20), "1,25E+20"},
        {0, Real(2.5), "2,50"},
    };
    for (const auto& c : cases) EXPECT_EQ(BoxValueText(m, c.Tag, c.Value), c.Shown) << c.Shown.toStdString();
    EXPECT_EQ(UtilizationText(NaN), QStringLiteral("Utilization: N.A."));
    EXPECT_EQ(UtilizationText(Real(87.214)), QStringLiteral("Utilization: 87,21%"));
}

TEST(FormTexts, DatesOutsideThePickersRangeStandAtItsEnds) {
    TMatData m;
    const struct {
        double Days;
        QDate Date;
    } cases[] = {
        {0, QDate(1899, 12, 30)},
        {45000.75, QDate(2023, 3, 15)},
        {std::numeric_limits<double>::quiet_NaN(), QDate(1752, 9, 14)},
        {-1e9, QDate(1752, 9, 14)},
        {1e9, QDate(9999, 12, 31)},
    };
    for (const auto& c : cases) {
        m.ProjectDate = c.Days;
        EXPECT_EQ(ProjectDate(m), c.Date) << c.Days;
    }
}

TEST(FormTexts, LogoBoxAsTallAsTheJobBlockAndNoWiderThanItsSlot) {
    const struct {
        int Width, Height, Box;
    } cases[] = {{400, 100, 173}, {100, 100, 73}, {50, 100, 36}, {0, 100, 0}, {100, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LogoBoxWidth(c.Width, c.Height), c.Box) << c.Width << "x" << c.Height;
    TMatData m;
    m.AssignLogo(nullptr);
    EXPECT_EQ(LogoBoxSize(m), QSize());
}

// Without an allowable bearing there is no bearing check to fail; a bar the
// table does not hold shows as the table's first.
TEST(FormTexts, ChecksAndChoicesFollowTheModel) {
    TMatData m;
    m.MaxPressure = 1000;
    m.AllowableBearing = 1;
    EXPECT_TRUE(CheckFails(m, TCheck::Bearing));
    m.AllowableBearing = 0;
    EXPECT_FALSE(CheckShown(m, TCheck::Bearing));
    EXPECT_FALSE(CheckFails(m, TCheck::Bearing));
    m.PrepareBarTable();
    m.TopBarSize = 987;
    EXPECT_EQ(ChoiceText(m, TChoice::TopBar), m.BarLabel(m.BarTable[0].Bar));
    m.Shape = 7;
    EXPECT_EQ(ChoiceText(m, TChoice::Shape), "Round");

    const TProjectReportSource source(m);
    EXPECT_EQ(source.Text(QStringLiteral("NoSuchControl")), QString());
    EXPECT_FALSE(source.CheckFailed(QStringLiteral("Image9")));
    EXPECT_EQ(source.Text(QStringLiteral("Label57")), QStringLiteral("Organization"));
}

// A column that is not checked reads "N.A." and its reason, the reason
// without a second "N.A." or "Not computed" and starting in capitals; it
// fails unless there is nothing to check. No line without a column.
TEST(FormTexts, PunchingLinesOfColumnsNotChecked) {
    const struct {
        const char* Name;
        std::function<void(TMatData&)> Change;
        bool Unfinished; // the analysis leaves its extremes NaN
        QStringList Cells;
        bool Failed;
    } cases[] = {
        {"unfinished analysis", [](TMatData&) {}, true, {"#3", "N.A.", "The analysis did not finish"}, true},
        {"outside the strip",
         [](TMatData& m) { m.PointLoads[2].a = m.StripLength + 1; },
         false,
         {"#3", "N.A.", "The column stands outside the strip"},
         true},
        {"upward",
         [](TMatData& m) { m.PointLoads[2].P = -10; },
         false,
         {"#3", "N.A.", "The load is upward or zero, so the column does not punch the strip"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMatData m;
        m.PointLoads = {};
        m.Columns = {};
        EXPECT_TRUE(PunchingTableTexts(m).Lines.empty());
        m.PointLoads[2] = {m.StripLength / 2, 50};
        m.Columns[2] = {16, 16};
        c.Change(m);
        try {
            m.Analyze();
        } catch (const EFloatFault&) {
        }
        if (c.Unfinished) m.MaxShear = NaN;
        const TPunchingTableTexts table = PunchingTableTexts(m);
        EXPECT_EQ(table.Headings.size(), 7);
        ASSERT_EQ(table.Lines.size(), 1u);
        EXPECT_EQ(table.Lines[0].Load, 3);
        EXPECT_FALSE(table.Lines[0].Checked);
        EXPECT_EQ(table.Lines[0].Cells, c.Cells);
        EXPECT_EQ(table.Lines[0].Failed, c.Failed);
        EXPECT_TRUE(table.Lines[0].Remark.isEmpty());
    }
}

} // namespace slabwise::test
