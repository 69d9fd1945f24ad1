// Every numeric input tells its caption, limits and unit in its tooltip and
// hint bubble; a value a commit had to change is said in the status bar; the
// captions and hints whose words were mended.

#include "WindowFixture.h"

#include <QStatusBar>

namespace slabwise::test {
namespace {

class FieldHintsTest : public WindowTest {
protected:
    QString StatusText() const { return window->statusBar()->currentMessage(); }
};

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
        {"Edit9", "User Point x4: at most the strip length, 30 ft",
         "User Point x4: at most the strip length, 30 m"},
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
