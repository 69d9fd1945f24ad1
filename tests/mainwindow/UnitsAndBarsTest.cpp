// The unit and bar-system choices through the combo boxes: captions, limits
// applied on a switch, the bar-system rule and the bar sizes that survive.

#include "WindowFixture.h"

#include <QStatusBar>

namespace slabwise::test {
namespace {

class UnitsAndBarsTest : public WindowTest {};

TEST_F(UnitsAndBarsTest, EnglishToSIToEnglishKeepsNumbersAndPullsThemIntoEachSystemsLimits) {
    const TMatData& m = window->Model();
    ASSERT_EQ(Text("Edit1"), QStringLiteral("48.00"));
    ASSERT_EQ(Text("Edit5"), QStringLiteral("100.00"));
    Pick("ComboBox1", QStringLiteral("SI"));
    EXPECT_EQ(m.UnitSystem, UnitsSI);
    EXPECT_EQ(window->LastUnitSystem(), UnitsSI);
    EXPECT_EQ(Text("Edit1"), QStringLiteral("48.000")); // three decimals in SI
    EXPECT_EQ(m.StripLength, 48);
    EXPECT_EQ(Text("Edit5"), QStringLiteral("2000.00"));
    EXPECT_EQ(m.SubgradeModulus, 2000);
    EXPECT_EQ(Text("Edit63"), QStringLiteral("20.0"));
    EXPECT_EQ(Text("Edit62"), QStringLiteral("20.00"));
    Pick("ComboBox1", QStringLiteral("English"));
    EXPECT_EQ(m.UnitSystem, UnitsEnglish);
    EXPECT_EQ(m.StripLength, 48);
    EXPECT_EQ(Text("Edit5"), QStringLiteral("999.00"));
    EXPECT_EQ(m.SubgradeModulus, 999);
    EXPECT_EQ(Text("Edit63"), QStringLiteral("12.0"));
    EXPECT_TRUE(window->Modified());
}

TEST_F(UnitsAndBarsTest, CaptionsFollowTheUnitSystem) {
    const struct {
        const char* Label;
        const char* English;
        const char* SI;
    } captions[] = {{"Label5", "ft", "m"},
                    {"Label99", "ft", "m"},
                    {"Label179", "ksi", "MPa"},
                    {"Label13", "pci", "kN/m\u00B3"},
                    {"Label95", "ksf", "kPa"},
                    {"Label70", "ft\u2074", "m\u2074"},
                    {"Label35", "kips/ft", "kN/m"},
                    {"Label23", "b, ft", "b, m"},
                    {"Label28", "we, kips/ft", "we, kN/m"},
                    {"Label41", "P, kips", "P, kN"},
                    {"Label64", "M, ft-kips", "M, kN-m"},
                    {"Label80", "k", "kN"},
                    {"Label87", "ft-kips", "kN-m"},
                    {"Label131", "in", "mm"},
                    {"Label154", "in\u00B2", "mm\u00B2"},
                    {"Label139", "ft-kips", "kN-m"},
                    {"Label167", "kips", "kN"},
                    {"Label15", "Distance, ft", "Distance, m"},
                    {"Label117", "Shear, k", "Shear, kN"},
                    {"Label118", "Moment, ft-kips", "Moment, kN-m"},
                    {"Label119", "Deflection, in", "Deflection, mm"},
                    {"Label120", "Pressure, ksf", "Pressure, kPa"}};
    for (const auto& c : captions) EXPECT_EQ(Caption(c.Label), QString::fromUtf8(c.English)) << c.Label;
    Pick("ComboBox1", QStringLiteral("SI"));
    for (const auto& c : captions) EXPECT_EQ(Caption(c.Label), QString::fromUtf8(c.SI)) << c.Label;
}

TEST_F(UnitsAndBarsTest, BarSystemSnapsBackToTheUnitSystem) {
    PickOnce("ComboBox4", QStringLiteral("European"));
    EXPECT_EQ(Combo("ComboBox4").currentText(), QStringLiteral("US"));
    EXPECT_EQ(window->Model().BarSystem, BarSystemUS);
    Pick("ComboBox1", QStringLiteral("SI"));
    EXPECT_EQ(Combo("ComboBox4").currentText(), QStringLiteral("European"));
    PickOnce("ComboBox4", QStringLiteral("Canadian"));
    EXPECT_EQ(window->Model().BarSystem, BarSystemCanadian);
    EXPECT_EQ(Combo("ComboBox2").itemText(0), QStringLiteral("10M"));
}

TEST_F(UnitsAndBarsTest, BarSizesThroughAUnitChange) {
    const TMatData& m = window->Model();
    Pick("ComboBox2", QStringLiteral("#5"));
    Pick("ComboBox3", QStringLiteral("#5"));
    ASSERT_EQ(m.TopBarSize, 5);
    Pick("ComboBox1", QStringLiteral("SI"));
    EXPECT_EQ(Combo("ComboBox2").currentText(), QStringLiteral("10M"));
    EXPECT_EQ(Combo("ComboBox3").currentText(), QStringLiteral("10M"));
    EXPECT_EQ(m.TopBarSize, 10);
    EXPECT_EQ(m.BottomBarSize, 10);
    EXPECT_EQ(Combo("ComboBox2").itemText(0), QStringLiteral("6M")); // the European list
    Pick("ComboBox2", QStringLiteral("16M"));
    Pick("ComboBox3", QStringLiteral("16M"));
    Pick("ComboBox1", QStringLiteral("English"));
    EXPECT_EQ(Combo("ComboBox2").currentText(), QStringLiteral("#3"));
    EXPECT_EQ(Combo("ComboBox3").currentText(), QStringLiteral("#3"));
    EXPECT_EQ(m.TopBarSize, 3);
    EXPECT_EQ(Combo("ComboBox4").currentText(), QStringLiteral("US"));
    for (const char* combo : {"ComboBox2", "ComboBox3"}) EXPECT_GE(Combo(combo).currentIndex(), 0);
}

// US bars may be chosen in SI, where they are listed by their metric names;
// the same bar comes back as its US number in English units.
TEST_F(UnitsAndBarsTest, USBarsMayBeChosenInSIUnderTheirMetricNames) {
    const TMatData& m = window->Model();
    Pick("ComboBox1", QStringLiteral("SI"));
    ASSERT_EQ(Combo("ComboBox4").currentText(), QStringLiteral("European"));
    Pick("ComboBox2", QStringLiteral("25M"));
    Pick("ComboBox3", QStringLiteral("20M"));
    PickOnce("ComboBox4", QStringLiteral("US"));
    EXPECT_EQ(Combo("ComboBox4").currentText(), QStringLiteral("US"));
    EXPECT_EQ(m.BarSystem, BarSystemUS);
    // Another bar under the same name, or none of that name: either is said.
    EXPECT_EQ(window->statusBar()->toolTip(),
              QStringLiteral("Top Bar Size: European 25M (25.00 mm) replaced by US 25M (25.40 mm)\n"
                             "Bottom Bar Size: European 20M replaced by US 10M"));
    QStringList listed;
    for (int i = 0; i < Combo("ComboBox2").count(); ++i) listed << Combo("ComboBox2").itemText(i);
    EXPECT_EQ(listed.join(QLatin1Char(' ')), QStringLiteral("10M 13M 16M 19M 22M 25M 29M 32M 36M 43M 57M"));
    const struct {
        const char* Metric;
        int32_t Bar;
        double Millimetres;
        const char* English;
    } bars[] = {{"19M", 19, 19.05, "#6"}, {"29M", 29, 28.6512, "#9"}, {"57M", 57, 57.3278, "#18"}};
    for (const auto& bar : bars) {
        SCOPED_TRACE(bar.Metric);
        Pick("ComboBox2", QString::fromUtf8(bar.Metric));
        Pick("ComboBox3", QString::fromUtf8(bar.Metric));
        EXPECT_EQ(m.TopBarSize, bar.Bar);
        EXPECT_EQ(m.BottomBarSize, bar.Bar);
        EXPECT_NEAR(double(m.FindBar(m.TopBarSize).Diameter), bar.Millimetres, 1e-9);
        // The design uses that bar: its depth is the thickness less cover
        // and half the bar.
        EXPECT_NEAR(double(m.TopDepth), double(m.ThicknessIn - m.TopCover) - bar.Millimetres / 2, 1e-9);
        Pick("ComboBox1", QStringLiteral("English"));
        EXPECT_EQ(Combo("ComboBox2").currentText(), QString::fromUtf8(bar.English));
        EXPECT_EQ(Combo("ComboBox3").currentText(), QString::fromUtf8(bar.English));
        Pick("ComboBox1", QStringLiteral("SI"));
        PickOnce("ComboBox4", QStringLiteral("US"));
    }
}

TEST_F(UnitsAndBarsTest, BarSizeHelpersReadAndSelectLabels) {
    QComboBox& combo = Combo("ComboBox2");
    window->SelectBarSize(combo, 9);
    EXPECT_EQ(combo.currentText(), QStringLiteral("#9"));
    EXPECT_EQ(window->GetBarSize(combo), 9);
    window->SelectBarSize(combo, 12); // no such US bar
    EXPECT_EQ(combo.currentIndex(), 0);
    QComboBox metric;
    metric.addItems({QStringLiteral(" 25M "), QStringLiteral("x")});
    EXPECT_EQ(window->GetBarSize(metric), 25);
    metric.setCurrentIndex(1);
    EXPECT_EQ(window->GetBarSize(metric), window->Model().BarTable[0].Bar);
}

TEST_F(UnitsAndBarsTest, SpacingMessageAndSummarySpeakTheUnitSystem) {
    Pick("ComboBox1", QStringLiteral("SI"));
    TMatData& m = window->Model();
    EXPECT_TRUE(Caption("Label173").contains(QStringLiteral(" mm on center spacing top bars")));
    m.ThicknessIn = 2500;
    m.TopSpacing = 500;
    window->UpdateDisplay();
    EXPECT_EQ(Control("Image3").toolTip(), QStringLiteral("Spacing needs to be less than 457 mm or 3h"));
}

} // namespace
} // namespace slabwise::test
