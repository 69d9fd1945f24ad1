// The columns of the point loads in the window: their sizes on the loads
// page, limited and undone like every input, and one line of the punching
// check per column on the results page.

#include "WindowFixture.h"

#include "model/PunchingShear.h"
#include "model/PunchingTable.h"
#include "report/FormTexts.h"
#include "support/ScopedUserLocale.h"
#include "views/LocaleNumber.h"

#include <QAction>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>

#include <optional>
#include <sstream>
#include <string>

namespace slabwise::test {
namespace {

class PunchingTest : public WindowTest {
protected:
    QTableWidget& Grid() const { return Control<QTableWidget>("GridPunching"); }
    QString Cell(int load, int column) const { return Grid().item(load - 1, column)->text(); }
    QString StatusText() const { return window->statusBar()->currentMessage(); }
    // What the user sees beside a line's utilisation: a red cross or a green
    // tick, told by the colour that covers more of the picture.
    static int ShownTag(const QTableWidgetItem& item) {
        const QImage shown = item.icon().pixmap(18, 18).toImage();
        int red = 0, green = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                if (c.alpha() < 128) continue;
                red += c.red() > c.green() + 60;
                green += c.green() > c.red() + 40;
            }
        EXPECT_GT(red + green, 20) << "no picture shown";
        return red > green ? 1 : 0;
    }
    void Column(int load, const char* c1, const char* c2) {
        Commit(QStringLiteral("EditPoint%1c1").arg(load).toLatin1().constData(), QLatin1String(c1));
        Commit(QStringLiteral("EditPoint%1c2").arg(load).toLatin1().constData(), QLatin1String(c2));
    }
};

// Three columns of the example: one that fails under a heavy load, one under
// a load with an applied moment at it, one under an upward load. Numbers
// read with the user's decimal comma.
TEST_F(PunchingTest, ResultLinesShowEachColumnsCheck) {
    const TScopedUserLocale german("de_DE.UTF-8");
    if (!german.Active()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    // The boxes were written before the locale changed.
    window->ANewExecute();
    const TMatData& m = window->Model();
    EXPECT_TRUE(Grid().isHidden());
    EXPECT_FALSE(Control("Label195").isHidden());
    EXPECT_TRUE(Control("Image12").isHidden());

    Commit("EditPoint2p", QStringLiteral("900"));
    Column(2, "12", "12");
    Column(1, "12", "12");
    Commit("EditPoint5a", QStringLiteral("24"));
    Commit("EditPoint5p", QStringLiteral("-50"));
    Column(5, "16", "16");
    ASSERT_NE(m.Moments[0].M, 0);
    ASSERT_EQ(m.Moments[0].c, m.PointLoads[0].a) << "the example's moment stands at load 1";

    ShowPageOf(Grid());
    QApplication::processEvents();
    EXPECT_TRUE(Grid().isVisible());
    EXPECT_FALSE(Control("Label195").isVisible());
    // Three lines fit the page whole, without a scroll bar.
    EXPECT_FALSE(Grid().verticalScrollBar()->isVisible());
    QStringList heads;
    for (int column = 0; column < Grid().columnCount(); ++column)
        heads << Grid().horizontalHeaderItem(column)->text();
    EXPECT_EQ(heads, (QStringList{"Load", "Section", "Vu, kips", "\u03c6Vn, kips", "Utilization"}));
    for (int load = 1; load <= PointLoadCount; ++load)
        EXPECT_EQ(Grid().isRowHidden(load - 1), load != 1 && load != 2 && load != 5) << load;

    const TPunchingResults results = EvaluatePunching(m);
    const TPunchingResult& heavy = results[1];
    ASSERT_EQ(heavy.State, TPunchingState::Checked) << heavy.Hint;
    const struct {
        int Load;
        const char* Section;
        int Tag;
        QString Hint;
    } lines[] = {
        {2, "Interior", 1,
         "Punching shear too high at the interior section: increase the thickness, f'c or the column size"},
        {1, nullptr, 0, QString::fromStdString(results[0].Hint)},
        {5, "N.A.", 0, "N.A.: the load is upward or zero, so the column does not punch the strip"},
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(line.Load);
        const TPunchingResult& r = results[static_cast<size_t>(line.Load - 1)];
        EXPECT_EQ(Cell(line.Load, 0), QStringLiteral("#%1").arg(line.Load));
        if (line.Section) {
            EXPECT_EQ(Cell(line.Load, 1), QLatin1String(line.Section));
        }
        EXPECT_EQ(Cell(line.Load, 2), BoxValueText(m, TagFactoredShear, r.Vu));
        EXPECT_EQ(Cell(line.Load, 3), BoxValueText(m, TagFactoredShear, r.PhiVn));
        EXPECT_EQ(QStringLiteral("Utilization: ") + Cell(line.Load, 4), UtilizationText(r.Util));
        const QTableWidgetItem& util = *Grid().item(line.Load - 1, 4);
        EXPECT_EQ(util.data(Qt::UserRole).toInt(), line.Tag);
        EXPECT_EQ(ShownTag(util), line.Tag);
        for (int column = 0; column < Grid().columnCount(); ++column)
            EXPECT_EQ(Grid().item(line.Load - 1, column)->toolTip(), line.Hint) << column;
    }
    // The numbers read as the user writes them, and "N.A." where nothing
    // punches.
    EXPECT_TRUE(Cell(2, 2).contains(u',')) << Cell(2, 2).toStdString();
    EXPECT_TRUE(Cell(2, 4).endsWith(u'%') && Cell(2, 4).contains(u',')) << Cell(2, 4).toStdString();
    EXPECT_EQ(Cell(5, 2), QStringLiteral("N.A."));
    EXPECT_EQ(Cell(5, 4), QStringLiteral("N.A."));
    EXPECT_TRUE(Grid().item(0, 0)->toolTip().endsWith(QLatin1String(PunchingMomentNote)));

    // The ninth picture judges every column at once.
    EXPECT_TRUE(Control("Image12").isVisible());
    EXPECT_EQ(Tag("Image12"), 1);
    EXPECT_EQ(Control("Image12").toolTip(),
              QStringLiteral("Punching shear too high at the column of point load #2: increase Thickness, "
                             "Concrete Strength or the column size"));

    // A display fills the lines it has; the unit switch renames the heads.
    const QTableWidgetItem* kept = Grid().item(1, 2);
    Pick("ComboBox1", QStringLiteral("SI"));
    EXPECT_EQ(Grid().item(1, 2), kept);
    EXPECT_EQ(Grid().horizontalHeaderItem(2)->text(), QStringLiteral("Vu, kN"));

    // Without a column the block says so in one line.
    for (const int load : {1, 2, 5}) Column(load, "0", "0");
    ShowPageOf(Grid());
    EXPECT_FALSE(Grid().isVisible());
    EXPECT_TRUE(Control("Label195").isVisible());
    EXPECT_FALSE(Control("Image12").isVisible());
}

// A column's sizes are limited as the list limits them, in either unit
// system: the row's limits, and across the strip its width; the notice says
// which, the caption names the box and one undo takes the value back.
TEST_F(PunchingTest, ColumnSizesAreLimitedSaidAndUndone) {
    const TMatData& m = window->Model();
    const struct {
        const char* Units;
        const char* Width;
        const char* Box;
        const char* Typed;
        const char* Shown;
        const char* Notice;
        const char* Unit;
    } cases[] = {
        {"English", "5", "EditPoint3c2", "75", "60.00",
         "Point Load #3, c2: 75 is wider than the strip; 60.00 used", "c2, in"},
        {"English", "20", "EditPoint3c2", "130", "120.00",
         "Point Load #3, c2: 130 is above the limit; 120.00 used", "c2, in"},
        {"English", "20", "EditPoint8c1", "-2", "0.00", "Point Load #8, c1: -2 is below the limit; 0.00 used",
         "c1, in"},
        {"SI", "2", "EditPoint11c2", "2500", "2000.00",
         "Point Load #11, c2: 2500 is wider than the strip; 2000.00 used", "c2, mm"},
        {"SI", "6", "EditPoint4c1", "4000", "3000.00",
         "Point Load #4, c1: 4000 is above the limit; 3000.00 used", "c1, mm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Box + std::string(" in ") + c.Units);
        window->ANewExecute();
        if (QLatin1String(c.Units) != Combo("ComboBox1").currentText())
            Pick("ComboBox1", QLatin1String(c.Units));
        Commit("Edit2", QLatin1String(c.Width));
        const std::string before = [&] {
            std::ostringstream out;
            window->Model().SaveToStream(out);
            return std::move(out).str();
        }();
        const QString shown = Text(c.Box);
        Commit(c.Box, QLatin1String(c.Typed));
        EXPECT_EQ(Text(c.Box), QLatin1String(c.Shown));
        EXPECT_EQ(StatusText(), QLatin1String(c.Notice));
        const std::optional<TInputAt> at = InputOfControl(c.Box);
        ASSERT_TRUE(at);
        EXPECT_EQ(InputValue(m, InputField(at->Input), at->Number), std::stold(c.Shown));
        EXPECT_EQ(Caption(InputUnitLabel(at->Input, at->Number).c_str()), QLatin1String(c.Unit));
        const QString caption =
            QString::fromStdString(NumberedCaption(InputField(at->Input).Caption, at->Number));
        EXPECT_TRUE(Edit(c.Box).toolTip().startsWith(caption + QStringLiteral(": 0 to ")))
            << Edit(c.Box).toolTip().toStdString();

        // A value limited to what the box held is no step of its own.
        QAction& undo = Control<QAction>("AUndo");
        EXPECT_EQ(undo.text(),
                  QStringLiteral("Undo ") + (shown == Text(c.Box) ? QStringLiteral("Strip Width, B")
                                                                  : QString(caption).remove(u'#')));
        if (shown == Text(c.Box)) continue;
        undo.trigger();
        EXPECT_EQ(Text(c.Box), shown);
        std::ostringstream after;
        window->Model().SaveToStream(after);
        EXPECT_EQ(after.str(), before);
    }
}

} // namespace
} // namespace slabwise::test
