// Every numeric input tells its caption, limits and unit in its tooltip and
// hint bubble; a value a commit had to change is said in the status bar; the
// captions and hints whose words were mended.

#include "WindowFixture.h"

#include <QAction>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace slabwise::test {
namespace {

class FieldHintsTest : public WindowTest {
protected:
    QString StatusText() const { return window->statusBar()->currentMessage(); }
    QString StatusHover() const { return window->statusBar()->toolTip(); }
    void Run(const char* action) { Control<QAction>(action).trigger(); }
    // A left click where the user sees the control: whatever lies there on
    // screen takes it.
    void ClickOnScreen(QWidget& control) {
        const QPoint at = control.mapToGlobal(control.rect().center());
        QWidget* under = QApplication::widgetAt(at);
        ASSERT_NE(under, nullptr);
        QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFromGlobal(at));
    }
};

// Each column of inputs: the hint of a field never lies over another input,
// and a click on the next field lands there.
TEST_F(FieldHintsTest, TheHintCoversNoInputAndTakesNoClick) {
    const struct {
        const char* Typed;
        const char* Clicked;
    } cases[] = {
        {"Edit1", "Edit3"},             // length, Tab to width, click thickness
        {"EditPoint1a", "EditPoint2a"}, // a load, Tab to its force, click the next load
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        Type(c.Typed, QStringLiteral("3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QLabel& hint = window->FieldHint();
        QWidget* next = QApplication::focusWidget();
        ASSERT_NE(next, nullptr);
        if (!next->toolTip().isEmpty()) {
            ASSERT_TRUE(hint.isVisible());
        }
        const QRect covered(hint.mapToGlobal(QPoint(0, 0)), hint.size());
        for (QWidget* input : window->findChildren<QWidget*>()) {
            if (!input->isVisible() || !(qobject_cast<QLineEdit*>(input) || qobject_cast<QComboBox*>(input)))
                continue;
            const QRect box(input->mapToGlobal(QPoint(0, 0)), input->size());
            EXPECT_FALSE(box.intersects(covered)) << input->objectName().toStdString();
        }
        QLineEdit* clicked = &Edit(c.Clicked);
        const QString nextText =
            qobject_cast<QLineEdit*>(next) ? qobject_cast<QLineEdit*>(next)->text() : QString();
        ClickOnScreen(*clicked);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
        EXPECT_EQ(QApplication::focusWidget(), clicked);
        EXPECT_TRUE(clicked->text().contains(QLatin1Char('5'))) << clicked->text().toStdString();
        if (auto* edit = qobject_cast<QLineEdit*>(next)) {
            EXPECT_EQ(edit->text(), nextText);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

// A unit switch pulls values into the new system's limits; it says so as a
// commit does, and one undo takes it all back.
TEST_F(FieldHintsTest, AUnitSwitchSaysWhatTheNewLimitsPulledIn) {
    Commit("Edit63", QStringLiteral("6"));
    Commit("Edit5", QStringLiteral("100"));
    Commit("Edit62", QStringLiteral("4"));
    Pick("ComboBox2", QStringLiteral("#6"));
    window->statusBar()->clearMessage();
    Pick("ComboBox1", QStringLiteral("SI"));
    const QStringList said = StatusHover().split(QLatin1Char('\n'));
    for (const char* notice : {"Concrete Str, Fc: 6.0 is below the limit; 20.0 used",
                               "Subgrade Modulus, k: 100.00 is below the limit; 2000.00 used",
                               "Allow. Bearing Cap, qa: 4.00 is below the limit; 20.00 used",
                               "Top Bar Size: US #6 replaced by European 10M"})
        EXPECT_TRUE(said.contains(QString::fromUtf8(notice))) << notice << "\n"
                                                              << StatusHover().toStdString();
    EXPECT_TRUE(StatusText().startsWith(said.front().left(20)));
    // Values within both systems' limits are not mentioned.
    EXPECT_FALSE(StatusHover().contains(QStringLiteral("Strip Length")));
    EXPECT_EQ(Text("Edit63"), QStringLiteral("20.0"));
    // One step back restores every value and the units.
    Control<QAction>("AUndo").trigger();
    EXPECT_EQ(window->Model().UnitSystem, UnitsEnglish);
    EXPECT_EQ(Text("Edit63"), QStringLiteral("6.0"));
    EXPECT_EQ(Text("Edit5"), QStringLiteral("100.00"));
    EXPECT_EQ(Text("Edit62"), QStringLiteral("4.00"));
    EXPECT_EQ(Combo("ComboBox2").currentText(), QStringLiteral("#6"));
    // What the switch changed is no longer said of what the window shows.
    EXPECT_TRUE(StatusText().isEmpty());
    EXPECT_TRUE(StatusHover().isEmpty());
}

// A shorter strip moves many loads at once: the status bar shows what fits
// beside the hint, the whole list on hover, and forgets it with the project.
TEST_F(FieldHintsTest, NoticesOfAShorterStripFitAndGoWithTheProject) {
    for (const char* load : {"EditPoint3a", "EditPoint4a", "EditPoint5a", "EditPoint6a"})
        Commit(load, QStringLiteral("40"));
    Commit("Edit1", QStringLiteral("5"));
    const QStringList said = StatusHover().split(QLatin1Char('\n'));
    for (const char* load : {"Point Load #3, a: 40.0000", "Point Load #6, a: 40.0000"}) {
        EXPECT_TRUE(said.contains(QString::fromUtf8(load) +
                                  QStringLiteral(" is beyond the strip length; 5.0000 used")))
            << load << "\n"
            << StatusHover().toStdString();
    }
    const QString shown = StatusText();
    EXPECT_LE(window->statusBar()->fontMetrics().horizontalAdvance(shown), window->NoticeRoom());
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    if (window->FieldHint().isVisible()) {
        EXPECT_LE(window->NoticeRoom(), window->FieldHint().geometry().left());
    }
    // A menu's status tip borrows the bar and gives it back.
    QStatusTipEvent tip(QStringLiteral("New project"));
    QApplication::sendEvent(window.get(), &tip);
    EXPECT_EQ(StatusText(), QStringLiteral("New project"));
    QStatusTipEvent gone{QString()};
    QApplication::sendEvent(window.get(), &gone);
    EXPECT_EQ(StatusText(), shown);
    // New forgets them, and so does Open.
    dialogs.Answers = {TAnswer::No};
    Run("ANew");
    EXPECT_TRUE(StatusText().isEmpty());
    EXPECT_TRUE(StatusHover().isEmpty());
    Commit("Edit1", QStringLiteral("900"));
    ASSERT_FALSE(StatusText().isEmpty());
    dialogs.Answers = {TAnswer::No};
    dialogs.OpenFiles = {QStringLiteral(SLABWISE_SOURCE_DATA "/Example SI Units.ksw")};
    Run("AOpen");
    ASSERT_EQ(window->Model().UnitSystem, UnitsSI);
    EXPECT_TRUE(StatusText().isEmpty());
    EXPECT_TRUE(StatusHover().isEmpty());
}

TEST_F(FieldHintsTest, HintsFollowTheUnitSystem) {
    Commit("Edit1", QStringLiteral("30"));
    const struct {
        const char* Edit;
        const char* English;
        const char* SI;
    } hints[] = {
        {"Edit1", "Strip Length, L: 5 to 500 ft", "Strip Length, L: 1.5 to 150 m"},
        {"Edit5", "Subgrade Modulus, k: 5 to 999 pci", "Subgrade Modulus, k: 2000 to 200000 kN/m\u00B3"},
        {"Edit62", "Allow. Bearing Cap, qa: 0.5 to 20 ksf", "Allow. Bearing Cap, qa: 20 to 1000 kPa"},
        {"Edit10", "Full Uniform, w: -999 to 999 kips/ft", "Full Uniform, w: no limits (kN/m)"},
        {"EditPoint7p", "Point Load #7, P: -99000 to 99000 kips", "Point Load #7, P: -450000 to 450000 kN"},
        {"EditMom2m", "Moment #2, M: -99000 to 99000 ft-kips", "Moment #2, M: -150000 to 150000 kN-m"},
        {"EditDist3e", "Distributed Load #3, e: from the load's start b to the strip length, 30 ft",
         "Distributed Load #3, e: from the load's start b to the strip length, 30 m"},
        {"Edit9", "User Point x4: from 0 to the strip length, 30 ft",
         "User Point x4: from 0 to the strip length, 30 m"},
        {"Edit64", "Shear Load Factor: 1.4 to 2", "Shear Load Factor: 1.4 to 2"},
    };
    for (const auto& h : hints) EXPECT_EQ(Edit(h.Edit).toolTip(), QString::fromUtf8(h.English)) << h.Edit;
    Pick("ComboBox1", QStringLiteral("SI"));
    for (const auto& h : hints) EXPECT_EQ(Edit(h.Edit).toolTip(), QString::fromUtf8(h.SI)) << h.Edit;
    // Entering a box shows the same text in the bubble.
    Type("Edit62", QString());
    EXPECT_TRUE(window->FieldHint().isVisible());
    EXPECT_EQ(window->FieldHint().text(), QStringLiteral("Allow. Bearing Cap, qa: 20 to 1000 kPa"));
    // Result boxes are no inputs.
    EXPECT_TRUE(Edit("Edit14").toolTip().isEmpty());
}

TEST_F(FieldHintsTest, AClampedValueIsSaidInTheStatusBar) {
    Commit("Edit1", QStringLiteral("600"));
    EXPECT_EQ(Text("Edit1"), QStringLiteral("500.00"));
    EXPECT_EQ(StatusText(), QStringLiteral("Strip Length, L: 600 is above the limit; 500.00 used"));
    Commit("Edit3", QStringLiteral("0.1"));
    EXPECT_EQ(StatusText(), QStringLiteral("Strip Thickness, T: 0.1 is below the limit; 0.67 used"));
    Commit("EditPoint2a", QStringLiteral("900"));
    EXPECT_EQ(StatusText(),
              QStringLiteral("Point Load #2, a: 900 is beyond the strip length; 500.0000 used"));
    // A value within its limits leaves the last notice alone and adds none.
    Commit("Edit2", QStringLiteral("12"));
    EXPECT_EQ(Text("Edit2"), QStringLiteral("12.00"));
    EXPECT_EQ(StatusText(),
              QStringLiteral("Point Load #2, a: 900 is beyond the strip length; 500.0000 used"));
}

TEST_F(FieldHintsTest, MendedCaptionsAndHints) {
    EXPECT_EQ(Caption("Label8"), QStringLiteral("Strip Thickness, T"));
    EXPECT_EQ(Caption("Label161"), QStringLiteral("ft-kips"));
    EXPECT_EQ(Caption("Label84"), QStringLiteral("ft-kips"));
    EXPECT_EQ(Caption("Label118"), QStringLiteral("Moment, ft-kips"));
    TMatData& m = window->Model();
    m.ShearUtil = 120;
    m.TopSteelPct = 0.1L;
    m.BottomUtil = std::nanl("");
    window->UpdateDisplay();
    EXPECT_EQ(Control("Image7").toolTip(), QStringLiteral("Increase Thickness or Concrete Strength"));
    EXPECT_EQ(Control("Image4").toolTip(),
              QStringLiteral("Min Reinforcement ratio is 0.18%, increase # of bars or try another bar size"));
    EXPECT_EQ(Caption("Label159"), QStringLiteral("Utilization: N.A."));
    EXPECT_EQ(Caption("Label170"), QStringLiteral("Utilization: 120.00%"));
    Pick("ComboBox1", QStringLiteral("SI"));
    EXPECT_EQ(Caption("Label161"), QStringLiteral("kN-m"));
    EXPECT_EQ(Caption("Label13"), QStringLiteral("kN/m\u00B3"));
    EXPECT_EQ(Caption("Label154"), QStringLiteral("mm\u00B2"));
}

} // namespace
} // namespace slabwise::test
