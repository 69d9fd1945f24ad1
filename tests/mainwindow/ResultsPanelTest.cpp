// The results panel from model values: rigidity and validity texts, the
// eight pass/fail pictures at their boundaries, utilisation lines and the
// reinforcement summary.

#include "WindowFixture.h"

#include <cmath>
#include <functional>

namespace slabwise::test {
namespace {

class ResultsPanelTest : public WindowTest {
protected:
    TMatData& M() { return window->Model(); }
    QString Hint(const char* picture) { return Control(picture).toolTip(); }
};

TEST_F(ResultsPanelTest, RigidityClassAtItsBounds) {
    const struct {
        Real BetaL;
        const char* Text;
    } cases[] = {{0.78539816339744830963L, "Mat is rigid"},
                 {0.7854L, "Mat is semi-rigid"},
                 {3.1415926535897932385L, "Mat is flexible"},
                 {5.999L, "Mat is flexible"},
                 {6, "Mat is semi-infinite long"},
                 {std::nanl(""), ""}};
    for (const auto& c : cases) {
        M().BetaL = c.BetaL;
        window->UpdateDisplay();
        EXPECT_EQ(Caption("Label72"), QLatin1String(c.Text)) << static_cast<double>(c.BetaL);
    }
}

TEST_F(ResultsPanelTest, ValidityMessage) {
    const struct {
        Real MaxPressure, MinPressure, Area;
        const char* Text;
    } cases[] = {{-1, -2, 50, "Q(max) & (min) < 0, analysis is not valid!"},
                 {1, -2, 84.99L, "Brg Area < 85%, analysis may not be valid!"},
                 {1, -2, 85, ""},
                 {-1e-17L, -2, 100, ""}};
    for (const auto& c : cases) {
        M().MaxPressure = c.MaxPressure;
        M().MinPressure = c.MinPressure;
        M().BearingAreaPct = c.Area;
        window->UpdateDisplay();
        EXPECT_EQ(Caption("Label103"), QLatin1String(c.Text));
    }
}

struct TCheckCase {
    const char* Name;
    std::function<void(TMatData&)> Set;
    const char* Picture;
    int Tag;
    const char* Hint;
};

TEST_F(ResultsPanelTest, CheckPicturesAtTheirBoundaries) {
    const char* const ratioLow =
        "Min Reinforcement ratio is 0.18%, increase # of bars or try another bar size";
    const TCheckCase cases[] = {
        {"bearing equal fails", [](TMatData& m) { m.MaxPressure = m.AllowableBearing = 4; }, "Image9", 1,
         "Max. Bearing Pressure greater than capacity"},
        {"bearing below passes", [](TMatData& m) { m.AllowableBearing = 4, m.MaxPressure = 3.99L; }, "Image9",
         0, "Max. Bearing Pressure is OK"},
        {"spacing under 18 in", [](TMatData& m) { m.ThicknessIn = 12, m.TopSpacing = 18, m.TopBarSize = 7; },
         "Image3", 0, "Spacing is OK"},
        {"spacing over 3h", [](TMatData& m) { m.ThicknessIn = 5, m.TopSpacing = 16; }, "Image3", 1,
         "Spacing needs to be less than 18 in or 3h"},
        {"spacing exactly 2 db",
         [](TMatData& m) { m.ThicknessIn = 30, m.BotSpacing = 2, m.BottomBarSize = 8; }, "Image5", 0,
         "Spacing is OK"},
        {"spacing under 2 db",
         [](TMatData& m) { m.ThicknessIn = 30, m.BotSpacing = 1.99L, m.BottomBarSize = 8; }, "Image5", 1,
         "Spacing needs to be at least 2db"},
        {"ratio exactly 0.18", [](TMatData& m) { m.TopSteelPct = 0.18L; }, "Image4", 0,
         "Min Reinforcement Ratio is OK"},
        {"ratio under 0.18", [](TMatData& m) { m.BotSteelPct = 0.1799L; }, "Image6", 1, ratioLow},
        {"utilisation 99.99", [](TMatData& m) { m.TopUtil = 99.99L; }, "Image10", 0, "Top Utilization is OK"},
        {"utilisation 100", [](TMatData& m) { m.BottomUtil = 100; }, "Image11", 1,
         "Bottom Utilization too high"},
        {"shear 99.99", [](TMatData& m) { m.ShearUtil = 99.99L; }, "Image7", 0, "Shear Utilization is OK"},
        {"shear not a number", [](TMatData& m) { m.ShearUtil = std::nanl(""); }, "Image7", 1,
         "Increase Thickness or Concrete Strength"},
        {"ratio not a number", [](TMatData& m) { m.TopSteelPct = std::nanl(""); }, "Image4", 1, ratioLow},
    };
    for (const TCheckCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Set(M());
        window->UpdateDisplay();
        EXPECT_EQ(Tag(c.Picture), c.Tag);
        EXPECT_EQ(Hint(c.Picture), QLatin1String(c.Hint));
        const QPixmap shown = Control<QLabel>(c.Picture).pixmap();
        EXPECT_FALSE(shown.isNull());
    }
    EXPECT_EQ(Caption("Label159"), QStringLiteral("Utilization: 100.00%"));
    EXPECT_EQ(Caption("Label140"), QStringLiteral("Utilization: 99.99%"));
}

TEST_F(ResultsPanelTest, BearingPictureHiddenWithoutCapacityButStillReportsTheComparison) {
    M().AllowableBearing = 0;
    M().MaxPressure = -1;
    window->UpdateDisplay();
    EXPECT_TRUE(Control("Image9").isHidden());
    EXPECT_EQ(Tag("Image9"), 0);
    M().MaxPressure = 1;
    window->UpdateDisplay();
    EXPECT_EQ(Tag("Image9"), 1);
    M().AllowableBearing = 4;
    window->UpdateDisplay();
    EXPECT_FALSE(Control("Image9").isHidden());
}

TEST_F(ResultsPanelTest, SummaryUsesEachColumnsOverrideWhenPositive) {
    TMatData& m = M();
    m.ThicknessIn = 30;
    m.TopBarsOverride = 0;
    m.TopBarsMin = 7;
    m.TopSpacing = 12.5L;
    m.BotBarsOverride = 9;
    m.BotBarsMin = 4;
    m.BotSpacing = 14;
    window->UpdateDisplay();
    const QString expected =
        QStringLiteral("30.00 in Mat with 7 #7 bars @ 12.50 in on center spacing top bars\r"
                       "and 9 #8 bars @ 14.00 in on center spacing bottom bars");
    EXPECT_EQ(Control("Label173").property("Caption").toString(), expected);
    EXPECT_EQ(Caption("Label173"), QString(expected).replace(u'\r', u'\n'));
}

TEST_F(ResultsPanelTest, UncheckingReinforcementHidesTheSummaryAndGreysThePage) {
    auto& box = Control<QCheckBox>("chkUseReinforcement");
    ShowPageOf(box);
    box.setFocus(Qt::MouseFocusReason);
    const QString area = Text("Edit41");
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_TRUE(Control("Label172").isHidden());
    EXPECT_TRUE(Control("Label173").isHidden());
    for (const char* control : {"Edit38", "Edit41", "ComboBox2", "ComboBox4", "Image3", "Label140", "Image8"})
        EXPECT_FALSE(Control(control).isEnabled()) << control;
    EXPECT_TRUE(box.isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), &box);
    EXPECT_EQ(Text("Edit41"), area);
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_TRUE(Control("Edit38").isEnabled());
    EXPECT_FALSE(Control("Label173").isHidden());
}

TEST_F(ResultsPanelTest, FailedAnalysisShowsNotAvailableAndFailingChecks) {
    TMatData& m = M();
    m.Thickness = 0; // no stiffness: the analysis faults at its first step
    try {
        m.Analyze();
    } catch (const std::exception&) {
    }
    window->UpdateDisplay();
    EXPECT_EQ(Text("Edit12"), QStringLiteral("N.A."));
    EXPECT_EQ(Text("Edit14"), QStringLiteral("N.A."));
    EXPECT_EQ(Caption("Label72"), QString());
    for (const char* picture : {"Image9", "Image10", "Image11", "Image7", "Image4"})
        EXPECT_EQ(Tag(picture), 1) << picture;
}

} // namespace
} // namespace slabwise::test
