// Input binding through the real widgets: limits and decimals, explicit
// bounds, the key filter, Enter as Tab, the modified flag, the hint bubble
// and the load-row name walk.

#include "WindowFixture.h"

#include <QDateEdit>
#include <QInputMethodEvent>
#include <QLocale>
#include <QStatusBar>

#include <cmath>
#include <string>

namespace slabwise::test {
namespace {

class BindingTest : public WindowTest {};

TEST_F(BindingTest, ControlsCarryTheirTagsAndOutputsAreReadOnly) {
    const struct {
        const char* Control;
        int Tag;
        bool ReadOnly;
    } controls[] = {{"Edit1", 1, false},         {"Edit2", 2, false},         {"Edit3", 3, false},
                    {"Edit4", 4, true},          {"Edit5", 5, false},         {"Edit10", 6, false},
                    {"Edit36", 7, false},        {"Edit9", 8, false},         {"EditDist6e", 9, false},
                    {"EditDist3we", 10, true},   {"EditPoint12a", 11, false}, {"EditPoint7p", 12, false},
                    {"EditMom4c", 13, false},    {"EditMom2m", 14, false},    {"Edit11", 15, true},
                    {"Edit12", 16, true},        {"Edit13", 17, true},        {"EditVx3", 18, true},
                    {"Edit59", 19, true},        {"EditDx1", 20, true},       {"Edit26", 21, true},
                    {"EditQx4", 22, true},       {"Edit30", 22, true},        {"Edit31", 23, true},
                    {"Edit32", 24, true},        {"Edit34", 25, true},        {"Edit35", 26, true},
                    {"Edit37", 27, true},        {"Edit38", 28, false},       {"Edit39", 29, true},
                    {"Edit63", 29, false},       {"Edit49", 30, false},       {"Edit50", 32, true},
                    {"Edit42", 33, true},        {"Edit52", 34, false},       {"Edit44", 35, true},
                    {"Edit54", 36, true},        {"Edit46", 37, true},        {"Edit56", 38, true},
                    {"Edit48", 39, true},        {"Edit60", 40, true},        {"Edit61", 41, true},
                    {"Edit62", 42, false},       {"Edit64", 43, false},       {"Edit65", 44, false},
                    {"EditPoint3c1", 45, false}, {"EditPoint9c2", 46, false}};
    for (const auto& c : controls) {
        EXPECT_EQ(Tag(c.Control), c.Tag) << c.Control;
        EXPECT_EQ(Edit(c.Control).isReadOnly(), c.ReadOnly) << c.Control;
    }
    EXPECT_EQ(Tag("ComboBox2"), 31);
    EXPECT_EQ(Tag("ComboBox3"), 31);
    for (const char* text : {"Edit27", "Edit28", "Edit29", "Edit33"}) EXPECT_EQ(Tag(text), 0) << text;
}

struct TCommitCase {
    const char* Control;
    const char* Typed;
    const char* Shown;
    Real TMatData::*Field;
    Real Stored;
};

TEST_F(BindingTest, CommittedNumbersAreLimitedToTheirRowAndShownWithItsDecimals) {
    const TCommitCase cases[] = {
        {"Edit1", "600", "500.00", &TMatData::StripLength, 500},
        {"Edit1", "2", "5.00", &TMatData::StripLength, 5},
        {"Edit1", "48.125", "48.13", &TMatData::StripLength, 48.125L},
        {"Edit3", "0.1", "0.67", &TMatData::Thickness, 0.67L},
        {"Edit63", "3.25", "3.3", &TMatData::Fc, 3.25L},
        {"Edit43", "2.7", "3", &TMatData::TopBarsOverride, 2.7L},
        {"Edit64", "9", "2.00", &TMatData::ShearLoadFactor, 2},
        {"Edit10", "-5000", "-999.00", &TMatData::FullUniformLoad, -999},
    };
    for (const TCommitCase& c : cases) {
        SCOPED_TRACE(std::string(c.Control) + " " + c.Typed);
        Commit(c.Control, QString::fromLatin1(c.Typed));
        EXPECT_EQ(Text(c.Control), QString::fromLatin1(c.Shown));
        EXPECT_NEAR(static_cast<double>(window->Model().*c.Field), static_cast<double>(c.Stored), 1e-12);
    }
}

TEST_F(BindingTest, TextThatDoesNotConvertReadsAsZeroThenLimited) {
    // Pasted text is not filtered.
    Edit("Edit1").setFocus(Qt::MouseFocusReason);
    Edit("Edit1").setText(QStringLiteral("abc"));
    QTest::keyClick(&Edit("Edit1"), Qt::Key_Tab);
    EXPECT_EQ(Text("Edit1"), QStringLiteral("5.00"));
    Commit("EditPoint1p", QStringLiteral("1-2"));
    EXPECT_EQ(Text("EditPoint1p"), QStringLiteral("0.00"));
}

TEST_F(BindingTest, DistributedLoadEndLiesBetweenItsStartAndTheStripEnd) {
    const TMatData& m = window->Model();
    Commit("EditDist2b", QStringLiteral("10"));
    Commit("EditDist2e", QStringLiteral("5"));
    EXPECT_EQ(m.DistLoads[1].e, 10);
    EXPECT_EQ(Text("EditDist2e"), QStringLiteral("10.0000"));
    Commit("EditDist2e", QStringLiteral("600"));
    EXPECT_EQ(m.DistLoads[1].e, m.StripLength);
    // A start of 0 is still the strip's left end.
    Commit("EditDist2b", QStringLiteral("0"));
    Commit("EditDist2e", QStringLiteral("-3"));
    EXPECT_EQ(m.DistLoads[1].e, 0);
    EXPECT_EQ(Text("EditDist2e"), QStringLiteral("0.0000"));
    // The end intensity is the analysis's copy of the start intensity.
    Commit("EditDist2wb", QStringLiteral("2.5"));
    EXPECT_EQ(Text("EditDist2we"), QStringLiteral("2.50"));
}

TEST_F(BindingTest, PositionsStayBetweenTheStripEnds) {
    const TMatData& m = window->Model();
    const struct {
        const char* Control;
        const Real* Field;
    } positions[] = {{"EditPoint3a", &m.PointLoads[2].a},
                     {"EditMom2c", &m.Moments[1].c},
                     {"EditDist3b", &m.DistLoads[2].b},
                     {"Edit7", &m.UserX[1]}};
    for (const auto& p : positions) {
        SCOPED_TRACE(p.Control);
        Commit(p.Control, QStringLiteral("-2.5"));
        EXPECT_EQ(*p.Field, 0);
        EXPECT_EQ(Text(p.Control), QStringLiteral("0.0000"));
        Commit(p.Control, QStringLiteral("1000"));
        EXPECT_EQ(*p.Field, m.StripLength);
    }
}

TEST_F(BindingTest, KeyFilterPassesDigitsMinusBackspaceAndOneSeparator) {
    Type("Edit1", QStringLiteral("1a2.3.4-x"));
    EXPECT_EQ(Text("Edit1"), QStringLiteral("12.34-"));
    QTest::keyClick(&Edit("Edit1"), Qt::Key_Backspace);
    EXPECT_EQ(Text("Edit1"), QStringLiteral("12.34"));
    // Text boxes take anything.
    Type("Edit28", QStringLiteral("Acme, Inc. 2"));
    EXPECT_EQ(Text("Edit28"), QStringLiteral("Acme, Inc. 2"));
}

// Only the locale's decimal separator passes: its thousands separator is
// refused, whether typed or committed by an input method.
TEST_F(BindingTest, KeyFilterTakesOnlyTheLocalesDecimalSeparator) {
    const QLocale previous;
    const struct {
        QLocale::Language Language;
        QLocale::Territory Territory;
        const char* Text;
        QChar Key;
        bool Passes;
    } cases[] = {
        {QLocale::English, QLocale::UnitedStates, "", QLatin1Char('.'), true},
        {QLocale::English, QLocale::UnitedStates, "1.2", QLatin1Char('.'), false},
        {QLocale::English, QLocale::UnitedStates, "2", QLatin1Char(','), false},
        {QLocale::English, QLocale::UnitedStates, "", QLatin1Char('-'), true},
        {QLocale::English, QLocale::UnitedStates, "", QLatin1Char('\b'), true},
        {QLocale::English, QLocale::UnitedStates, "", QLatin1Char('e'), false},
        {QLocale::German, QLocale::Germany, "2", QLatin1Char(','), true},
        {QLocale::German, QLocale::Germany, "2,5", QLatin1Char(','), false},
        {QLocale::German, QLocale::Germany, "2", QLatin1Char('.'), false},
        {QLocale::French, QLocale::France, "2", QLatin1Char(','), true},
        {QLocale::French, QLocale::France, "2", QChar(0x202F), false},
        {QLocale::French, QLocale::France, "2", QLatin1Char(' '), false},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(c.Language, c.Territory));
        EXPECT_EQ(NumberKeyPasses(QLatin1String(c.Text), c.Key), c.Passes)
            << QLocale().name().toStdString() << " \"" << c.Text << "\" + U+" << int(c.Key.unicode());
    }

    // Through the box: typed, and committed by an input method.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Type("Edit3", QStringLiteral("2,5"));
    EXPECT_EQ(Text("Edit3"), QStringLiteral("25"));
    Edit("Edit3").clear();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("2,5.5"));
    QApplication::sendEvent(&Edit("Edit3"), &commit);
    EXPECT_EQ(Text("Edit3"), QStringLiteral("25.5"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Type("Edit3", QStringLiteral("2.5,5"));
    EXPECT_EQ(Text("Edit3"), QStringLiteral("25,5"));
    QTest::keyClick(&Edit("Edit3"), Qt::Key_Tab);
    QLocale::setDefault(previous);
    EXPECT_EQ(window->Model().Thickness, 20); // 25.5 ft limited to the row
}

TEST_F(BindingTest, EnterMovesToTheNextFieldAndCommitsTheOneLeft) {
    Type("Edit1", QStringLiteral("600"));
    QTest::keyClick(&Edit("Edit1"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), &Edit("Edit2"));
    EXPECT_EQ(Text("Edit1"), QStringLiteral("500.00"));
    EXPECT_EQ(window->Model().StripLength, 500);
    // Enter on a combo box moves on as well.
    Combo("ComboBox5").setFocus(Qt::MouseFocusReason);
    QTest::keyClick(&Combo("ComboBox5"), Qt::Key_Enter);
    EXPECT_NE(QApplication::focusWidget(), &Combo("ComboBox5"));
}

TEST_F(BindingTest, TypingMarksModifiedExceptInJobNumberAndProgramWritesNever) {
    ASSERT_FALSE(window->Modified());
    Type("Edit27", QStringLiteral("J-17"));
    QTest::keyClick(&Edit("Edit27"), Qt::Key_Tab);
    EXPECT_FALSE(window->Modified());
    // Job # is taken at the next commit of any field.
    EXPECT_EQ(window->Model().JobNumber, "");
    window->UpdateDisplay();
    window->UpdateModel();
    EXPECT_FALSE(window->Modified());
    Type("Edit33", QStringLiteral("x"));
    EXPECT_TRUE(window->Modified());
}

TEST_F(BindingTest, DateMarksModifiedAndIsStoredWhenLeft) {
    auto& date = Control<QDateEdit>("DateTimePicker1");
    date.setFocus(Qt::MouseFocusReason);
    const QDate before = date.date();
    QTest::keyClick(&date, Qt::Key_Up);
    ASSERT_NE(date.date(), before);
    EXPECT_TRUE(window->Modified());
    QTest::keyClick(&date, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), &date);
    EXPECT_EQ(window->Model().ProjectDate, static_cast<double>(QDate(1899, 12, 30).daysTo(date.date())));
}

TEST_F(BindingTest, TypingAloneDoesNotRecalculate) {
    Type("Edit1", QStringLiteral("30"));
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(window->Model().StripLength, 48);
    QTest::keyClick(&Edit("Edit1"), Qt::Key_Tab);
    EXPECT_EQ(window->Model().StripLength, 30);
}

TEST_F(BindingTest, ChangingThePageCommitsTheFieldBeingEdited) {
    Type("Edit1", QStringLiteral("36"));
    auto& pages = Control<QTabWidget>("PageControl1");
    QTabBar& bar = *pages.tabBar();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(1).center());
    EXPECT_EQ(pages.currentIndex(), 1);
    EXPECT_EQ(window->Model().StripLength, 36);
    EXPECT_EQ(Text("Edit1"), QStringLiteral("36.00"));
}

TEST_F(BindingTest, RoundShapeCopiesLengthIntoWidthAndDisablesIt) {
    Pick("ComboBox5", QStringLiteral("Round"));
    EXPECT_EQ(window->Model().Shape, 1);
    EXPECT_EQ(window->Model().StripWidth, window->Model().StripLength);
    EXPECT_FALSE(Edit("Edit2").isEnabled());
    EXPECT_TRUE(window->Modified());
    Pick("ComboBox5", QStringLiteral("Square/Rect"));
    EXPECT_TRUE(Edit("Edit2").isEnabled());
}

TEST_F(BindingTest, OverrideBoxesShowTheirHintUntilTheFieldIsLeft) {
    Type("Edit43", QString());
    const QLabel& hint = window->FieldHint();
    EXPECT_TRUE(hint.isVisible());
    // In the status bar, on one line.
    EXPECT_TRUE(window->statusBar()->isAncestorOf(&hint));
    EXPECT_EQ(hint.text(),
              QStringLiteral("Override # of Top Bars: no limits; Set to 0 to use computed value"));
    QTest::keyClick(&Edit("Edit43"), Qt::Key_Tab);
    // Leaving the field takes its hint away; the next field shows its own.
    const QWidget* next = QApplication::focusWidget();
    ASSERT_NE(next, &Edit("Edit43"));
    if (next && !next->toolTip().isEmpty()) {
        EXPECT_EQ(hint.text(), next->toolTip().replace(QLatin1Char('\n'), QStringLiteral("; ")));
    } else {
        EXPECT_FALSE(hint.isVisible());
    }
    // Every input has a hint of its own.
    Type("Edit40", QString());
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(hint.text(), QStringLiteral("Top Clear Cover: 0 to 22.79 in (less than the thickness)"));
}

TEST_F(BindingTest, UseReinforcementClickRefreshesWithoutAnalysis) {
    auto& box = Control<QCheckBox>("chkUseReinforcement");
    ShowPageOf(box);
    box.setFocus(Qt::MouseFocusReason);
    TMatData& m = window->Model();
    const Real betaL = m.BetaL;
    m.StripLength = 30; // shown by the refresh, not analysed
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(m.UseReinforcement, 0);
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(Text("Edit1"), QStringLiteral("30.00"));
    EXPECT_EQ(m.BetaL, betaL);
}

TEST(LoadControlNames, SplitIntoIndexAndSuffix) {
    const struct {
        const char* Name;
        const char* Prefix;
        int Index;
        const char* Suffix;
    } cases[] = {{"EditDist3wb", "EditDist", 2, "wb"},   {"EditDist12e", "EditDist", 11, "e"},
                 {"EditPoint12p", "EditPoint", 11, "p"}, {"EditMom1c", "EditMom", 0, "c"},
                 {"EditDistwe", "EditDist", -1, "we"},   {"EditMom4M", "EditMom", 3, "M"}};
    for (const auto& c : cases) {
        int index = 99;
        QString suffix;
        SplitLoadControlName(QLatin1String(c.Name), QLatin1String(c.Prefix), index, suffix);
        EXPECT_EQ(index, c.Index) << c.Name;
        EXPECT_EQ(suffix, QLatin1String(c.Suffix)) << c.Name;
    }
}

TEST_F(BindingTest, LoadBoxesThatNameNoEntryAreReportedAndSkipped) {
    // The window as built never shows these; a stray box must not reach
    // outside the load arrays.
    const struct {
        const char* Name;
        const char* Message;
    } strays[] = {{"EditDist1x", "Assert: Distributed loads - Variable not found"},
                  {"EditPoint13a", "Assert: Point loads - Variable not found"},
                  {"EditMom1M", "Assert: Moments - Variable not found"}};
    for (const auto& stray : strays) {
        dialogs.Messages.clear();
        auto* box = new QLineEdit(window.get());
        box->setObjectName(QLatin1String(stray.Name));
        window->UpdateModel();
        EXPECT_TRUE(dialogs.Messages.contains(QLatin1String(stray.Message))) << stray.Name;
        delete box;
    }
    dialogs.Messages.clear();
    window->UpdateModel();
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

// The boxes read and show numbers with the locale's separators, from the one
// path LocaleNumberTest tables; a thousands separator is dropped on reading.
// UserLocaleTest commits through the window under the user's C locale.
TEST(EditValues, ReadAndShownWithTheLocalesSeparators) {
    const QLocale previous;
    auto model = NewModel();
    const struct {
        const char* Locale;
        const char* Typed;
        Real Read;
        const char* Shown;
    } cases[] = {
        {"en_US", "1,234.5", 1234.5L, "1234.50"},
        {"de_DE", "1.234,5", 1234.5L, "1234,50"},
        {"de_DE", "1234.5", 12345, "12345,00"}, // a point is a thousands separator here
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Locale) + " " + c.Typed);
        QLocale::setDefault(QLocale(QLatin1String(c.Locale)));
        QLineEdit edit;
        edit.setProperty("Tag", 12);
        edit.setText(QLatin1String(c.Typed));
        EXPECT_EQ(GetEditValue(edit, *model), c.Read);
        SetEditValue(edit, *model, c.Read);
        EXPECT_EQ(edit.text(), QLatin1String(c.Shown));
    }
    QLocale::setDefault(previous);
}

TEST(EditValues, NaNShowsAsNotAvailable) {
    auto model = NewModel();
    QLineEdit edit;
    edit.setProperty("Tag", 18);
    SetEditValue(edit, *model, std::nanl(""));
    EXPECT_EQ(edit.text(), QStringLiteral("N.A."));
    SetEditValue(edit, *model, 1234567.125L);
    EXPECT_EQ(edit.text(), QStringLiteral("1234567.13"));
    // Without a row: two decimals, no limits.
    QLineEdit plain;
    SetEditValue(plain, *model, -0.004L);
    EXPECT_EQ(plain.text(), QStringLiteral("0.00"));
}

// The loads page holds its point loads and moments in two columns each:
// Tab goes down the first column, then down the second, along each load's
// row: a point load's position and force, then its column's sizes.
TEST_F(BindingTest, TabGoesDownEachColumnOfLoads) {
    QStringList expected;
    for (int n = 1; n <= PointLoadCount; ++n)
        expected << QStringLiteral("EditPoint%1a").arg(n) << QStringLiteral("EditPoint%1p").arg(n)
                 << QStringLiteral("EditPoint%1c1").arg(n) << QStringLiteral("EditPoint%1c2").arg(n);
    for (int n = 1; n <= MomentCount; ++n)
        expected << QStringLiteral("EditMom%1c").arg(n) << QStringLiteral("EditMom%1m").arg(n);
    Type("EditPoint1a", QString());
    QStringList visited{QStringLiteral("EditPoint1a")};
    for (int step = 0; step < 2 * expected.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString name = QApplication::focusWidget()->objectName();
        if (name.startsWith(QLatin1String("EditPoint")) || name.startsWith(QLatin1String("EditMom")))
            if (!visited.contains(name)) visited << name;
    }
    EXPECT_EQ(visited, expected);
}

} // namespace
} // namespace slabwise::test
