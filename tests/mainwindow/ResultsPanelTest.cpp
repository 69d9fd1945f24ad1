// The results panel from model values: rigidity and validity texts, the
// eight pass/fail pictures at their boundaries, utilisation lines and the
// reinforcement summary.

#include "WindowFixture.h"

#include <cmath>
#include <functional>
#include <vector>

#include <QDir>

namespace slabwise::test {
namespace {

class ResultsPanelTest : public WindowTest {
protected:
    TMatData& M() { return window->Model(); }
    QString Hint(const char* picture) { return Control(picture).toolTip(); }
    // What the user sees: a red cross or a green tick, told by the colour
    // that covers more of the picture.
    int ShownTag(const char* picture) {
        const QImage shown = Control<QLabel>(picture).pixmap().toImage();
        int red = 0, green = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                if (c.alpha() < 128) continue;
                red += c.red() > c.green() + 60;
                green += c.green() > c.red() + 40;
            }
        EXPECT_GT(red + green, 20) << picture << ": no picture shown";
        return red > green ? 1 : 0;
    }
};

// The texts come from the model, whose test tables every bound: here a value
// on each side of one bound shows, and a beta L the analysis could not give
// shows no class at all.
TEST_F(ResultsPanelTest, RigidityAndValidityTextsFollowTheModel) {
    const Real quarterPi = 0.78539816339744830963L;
    const struct {
        Real BetaL, Area;
        const char* Rigidity;
        const char* Validity;
    } cases[] = {{quarterPi, 85, "Mat is rigid", ""},
                 {std::nextafter(quarterPi, Real(1)), 84.99L, "Mat is semi-rigid",
                  "Brg Area < 85%, analysis may not be valid!"},
                 {std::nanl(""), 85, "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.BetaL));
        M().BetaL = c.BetaL;
        M().MaxPressure = 1, M().MinPressure = -2, M().BearingAreaPct = c.Area;
        window->UpdateDisplay();
        EXPECT_EQ(Caption("Label72"), QLatin1String(c.Rigidity));
        EXPECT_EQ(Caption("Label103"), QLatin1String(c.Validity));
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
        // A value the design could not give fails with the reason.
        {"shear not a number", [](TMatData& m) { m.ShearUtil = std::nanl(""); }, "Image7", 1,
         "Not computed: a floating-point fault in the shear check"},
        {"ratio not a number", [](TMatData& m) { m.TopSteelPct = std::nanl(""); }, "Image4", 1,
         "Not computed: a floating-point fault in the design"},
        {"one top bar",
         [](TMatData& m) { m.TopSteelPct = 0.2L, m.TopBarsOverride = 1, m.TopSpacing = std::nanl(""); },
         "Image3", 1, "One bar has no spacing: use at least 2 bars"},
        {"top cover beyond the slab", [](TMatData& m) { m.TopDepth = -6.44L; }, "Image10", 1,
         "Effective depth is not positive: reduce the cover or the bar size"},
    };
    for (const TCheckCase& c : cases) {
        SCOPED_TRACE(c.Name);
        // Each row starts from the analysed example, not from the last row.
        window->ANewExecute();
        c.Set(M());
        window->UpdateDisplay();
        EXPECT_EQ(ShownTag(c.Picture), c.Tag);
        EXPECT_EQ(Tag(c.Picture), c.Tag) << "the report reads the tag";
        EXPECT_EQ(Hint(c.Picture), QLatin1String(c.Hint));
    }
    window->ANewExecute();
    M().TopUtil = 99.99L, M().BottomUtil = 100;
    window->UpdateDisplay();
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
    m.TopBarSize = 7;
    m.BottomBarSize = 8;
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

// Faults of one face stay in that face, entered as the engineer would.
TEST_F(ResultsPanelTest, OneFacesFaultLeavesTheOtherFaceAndShearOnScreen) {
    struct Case {
        const char* name;
        const char* field;
        const char* value;
        std::vector<const char*> notAvailable;
        std::vector<const char*> numbers;
        std::vector<const char*> failing;
        const char* picture; // whose hint tells why
        const char* hint;
    };
    const Case cases[] = {
        {"one top bar",
         "Edit43",
         "1",
         {"Edit44"},
         {"Edit46", "Edit47", "Edit48", "Edit53", "Edit57", "Edit61"},
         {"Image3"},
         "Image3",
         "One bar has no spacing: use at least 2 bars"},
        {"top cover past the slab",
         "Edit40",
         "40",
         {"Edit41", "Edit42", "Edit44", "Edit46", "Edit47", "Edit48"},
         {"Edit45", "Edit50", "Edit53", "Edit55", "Edit57", "Edit61"},
         {"Image3", "Image4", "Image10"},
         "Image10",
         "Effective depth is not positive: reduce the cover or the bar size"},
        {"negative Fy",
         "Edit38",
         "-60",
         {"Edit41", "Edit44", "Edit48", "Edit50", "Edit53", "Edit57"},
         {"Edit45", "Edit54", "Edit60", "Edit61"},
         {"Image3", "Image4", "Image5", "Image6", "Image10", "Image11"},
         "Image6",
         "Fy is not positive: enter the yield strength of the bars"},
    };
    const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.Answers.push_back(TAnswer::No);
        window->ANewExecute();
        Commit(c.field, QLatin1String(c.value));
        for (const char* edit : c.notAvailable) EXPECT_EQ(Text(edit), QStringLiteral("N.A.")) << edit;
        for (const char* edit : c.numbers) EXPECT_NE(Text(edit), QStringLiteral("N.A.")) << edit;
        for (const char* edit : {"Edit41", "Edit46", "Edit50", "Edit55"})
            EXPECT_FALSE(Text(edit).startsWith(QLatin1Char('-'))) << edit;
        for (const char* picture : c.failing) EXPECT_EQ(Tag(picture), 1) << picture;
        EXPECT_EQ(Tag("Image7"), 0);
        EXPECT_EQ(Hint(c.picture), QLatin1String(c.hint));
        EXPECT_FALSE(Caption("Label140").contains(QLatin1String("N.A.%")));
        const QString file = folder.filePath(
            QStringLiteral("reinforcement-%1.png")
                .arg(QString::fromLatin1(c.name).replace(QLatin1Char(' '), QLatin1Char('-'))));
        EXPECT_TRUE(window->grab().save(file));
    }
}

// Results are read, not typed: Tab passes them by, and a number too long for
// its box shows whole on hover.
TEST_F(ResultsPanelTest, ResultBoxesSkipTabAndShowLongNumbersWhole) {
    Edit("Edit1").setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (edit) {
            EXPECT_FALSE(edit->isReadOnly()) << edit->objectName().toStdString();
        }
    }
    ShowPageOf(Edit("Edit14"));
    M().MaxShear = -1518820000.14L;
    M().MinShear = 1;
    window->UpdateDisplay();
    EXPECT_EQ(Text("Edit14"), QStringLiteral("-1518820000.00"));
    // Wider than the box, frame and margins.
    ASSERT_GT(Edit("Edit14").fontMetrics().horizontalAdvance(Text("Edit14")), Edit("Edit14").width() - 8);
    EXPECT_EQ(Edit("Edit14").toolTip(), Text("Edit14"));
    EXPECT_EQ(Edit("Edit14").cursorPosition(), 0); // the leading digits show
    EXPECT_EQ(Edit("Edit16").toolTip(), QString());
}

} // namespace
} // namespace slabwise::test
