// "Soil takes no tension" through the real check box: the analysis it
// switches, the message, the file it saves and the answer it refuses.

#include "WindowFixture.h"

#include "model/ContactZones.h"
#include "support/TempFolder.h"
#include "views/Graphs.h"

#include <QAction>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace slabwise::test {
namespace {

class LiftOffTest : public WindowTest {
protected:
    void Run(const char* action) { Control<QAction>(action).trigger(); }
    QString PathOf(const char* name) const { return QString::fromStdString((folder.Path() / name).string()); }

    // Two columns with an uplift between them, on a 20 m SI strip.
    QString SaveStrip(const char* name, bool noTension, Real uplift = -100) {
        TMatData project;
        project.SetUnitSystem(UnitsSI);
        project.ApplyBuiltInDefaults();
        project.StripLength = 20, project.StripWidth = 2.5L, project.Thickness = 0.5L;
        project.SubgradeModulus = 30000, project.Fc = 30, project.Fy = 420;
        project.AllowableBearing = 150;
        project.TopCover = project.BottomCover = 75;
        project.BarSystem = BarSystemEuropean;
        project.TopBarSize = project.BottomBarSize = 16;
        project.PointLoads[0] = {1.5L, 700}, project.PointLoads[1] = {18.5L, 700};
        project.PointLoads[2] = {10, uplift};
        project.SoilTakesNoTension = noTension ? 1 : 0;
        project.SaveToFile(folder.Path() / name);
        return PathOf(name);
    }
    void Open(const QString& path) {
        dialogs.OpenFiles = {path};
        Run("AOpen");
    }
    QCheckBox& Box() const { return Control<QCheckBox>("chkNoTension"); }
    void Click() {
        QCheckBox& box = Box();
        ShowPageOf(box);
        box.setFocus(Qt::MouseFocusReason);
        QTest::keyClick(&box, Qt::Key_Space);
    }

    TTempFolder folder;
};

TEST_F(LiftOffTest, TheBoxSwitchesTheAnalysisAndTheFileVersion) {
    Open(SaveStrip("columns.ksw", false));
    const TMatData& m = window->Model();
    EXPECT_FALSE(Box().isChecked());
    EXPECT_FALSE(Box().toolTip().isEmpty());
    EXPECT_EQ(Caption("Label103"), QStringLiteral("Brg Area < 85%, analysis may not be valid!"));
    const Real linearMoment = m.MaxMoment;
    EXPECT_NEAR(double(linearMoment), 268.5, 0.05);

    Click();
    EXPECT_TRUE(Box().isChecked());
    EXPECT_EQ(m.SoilTakesNoTension, 1);
    EXPECT_TRUE(window->Modified());
    ASSERT_EQ(m.ContactZones.size(), 2u);
    EXPECT_NEAR(double(m.ContactZones[0].End), 3.754, 0.001);
    EXPECT_NEAR(double(m.MaxMoment), 314.2, 0.05);
    EXPECT_NEAR(double(m.MinMoment), -304.7, 0.05);
    EXPECT_NEAR(double(m.MaxPressure), 123.4, 0.05);
    EXPECT_EQ(Caption("Label103"), QStringLiteral("Soil takes no tension: contact over 37.5% of the strip"));

    dialogs.SaveFiles = {PathOf("lifted.ksw")};
    Run("ASaveAs");
    std::ifstream in(folder.Path() / "lifted.ksw", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), 883u);
    EXPECT_EQ(bytes.substr(52, 3), "0.6");

    // Off again: the linear results, and a version 0.5 file.
    Click();
    EXPECT_EQ(m.SoilTakesNoTension, 0);
    EXPECT_EQ(m.MaxMoment, linearMoment);
    EXPECT_TRUE(m.ContactZones.empty());
    Run("ASave");
    std::ifstream again(folder.Path() / "lifted.ksw", std::ios::binary);
    const std::string plain{std::istreambuf_iterator<char>(again), std::istreambuf_iterator<char>()};
    EXPECT_EQ(plain.size(), 882u);
    EXPECT_EQ(plain.substr(52, 3), "0.5");

    // A file with the flag opens with the box ticked.
    Open(SaveStrip("stored.ksw", true));
    EXPECT_TRUE(Box().isChecked());
    EXPECT_FALSE(window->Modified()) << dialogs.Warnings.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(m.ContactZones.size(), 2u);
}

// The results table opened from the window names the contact zones below
// its grid, clear of the grid and of its button.
TEST_F(LiftOffTest, TheResultsTableNamesTheContactZones) {
    for (const bool noTension : {true, false}) {
        SCOPED_TRACE(noTension);
        Open(SaveStrip(noTension ? "zones.ksw" : "linear.ksw", noTension));
        QString zones;
        bool clear = false;
        dialogs.OnModal = [&](QDialog& table) {
            const auto* label = table.findChild<QLabel*>(QStringLiteral("ContactZonesLabel"));
            if (!label) return;
            zones = label->text();
            const QRect frame = label->geometry();
            clear =
                label->isVisible() && table.rect().contains(frame) &&
                !frame.intersects(table.findChild<QWidget*>(QStringLiteral("ListView1"))->geometry()) &&
                !frame.intersects(table.findChild<QWidget*>(QStringLiteral("ButtonExportCsv"))->geometry()) &&
                table.rect().contains(
                    table.findChild<QWidget*>(QStringLiteral("ButtonExportCsv"))->geometry());
        };
        window->Label74Click();
        dialogs.OnModal = nullptr;
        if (noTension) {
            EXPECT_EQ(zones, QStringLiteral("Contact zones: 0.00 to 3.75, 16.25 to 20.00 m"))
                << zones.toStdString();
            EXPECT_TRUE(clear);
        } else {
            EXPECT_TRUE(zones.isEmpty());
        }
    }
}

// On a strip that lifts, the panel's largest deflection is one of the marks
// of the deflection graph, and its caption says it is the largest magnitude.
TEST_F(LiftOffTest, PanelAndGraphShowTheSameDeflectionExtremes) {
    Open(SaveStrip("rises.ksw", true));
    const TMatData& m = window->Model();
    ASSERT_EQ(m.ContactZones.size(), 2u);
    Real highest = -1e30L, lowest = 1e30L;
    for (const TMatStation& st : m.Stations) {
        highest = std::max(highest, st.Deflection);
        lowest = std::min(lowest, st.Deflection);
    }
    ASSERT_GT(highest, 0); // the middle rises
    ASSERT_LT(lowest, 0);
    EXPECT_EQ(Caption("Label90"), QStringLiteral("Max. |Deflection|"));
    EXPECT_FALSE(Control("Label90").toolTip().isEmpty());
    TfrmGraphs graphs(m, nullptr);
    std::vector<double> marked;
    for (const TAxisMark& mark : graphs.Graph(TfrmGraphs::grDeflection).Marks) marked.push_back(mark.Value);
    EXPECT_EQ(marked, (std::vector<double>{double(highest), double(lowest)}));
    EXPECT_TRUE(std::ranges::find(marked, double(m.MaxDeflection)) != marked.end());
}

TEST_F(LiftOffTest, LoadsThatLiftTheStripShowNotAvailable) {
    Open(SaveStrip("uplift.ksw", true, -2000));
    EXPECT_TRUE(Box().isChecked());
    EXPECT_EQ(Caption("Label103"), QLatin1String(NoEquilibriumText));
    for (const char* result : {"Edit14", "Edit16"}) EXPECT_EQ(Text(result), QStringLiteral("N.A.")) << result;
    EXPECT_TRUE(std::isnan(window->Model().MaxMoment));
    EXPECT_TRUE(window->Model().ContactZones.empty());
}

} // namespace
} // namespace slabwise::test
