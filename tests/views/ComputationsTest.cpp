// The subgrade-modulus help: its cells, captions, note and size in both unit
// systems.

#include "views/Computations.h"
#include "support/GrabChecks.h"
#include "support/TestModels.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace slabwise;

namespace {

QString Cell(const TfrmComputations& w, int row, int column) {
    const QTableWidgetItem* item = w.ListView1->item(row, column);
    return item ? item->text() : QString();
}

class SubgradeHelp : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(SubgradeHelp, CellsAndCaptionsInBothUnitSystems) {
    struct Case {
        uint8_t units;
        QStringList captions; // column 0, the twelve rows
        QStringList cells;    // column 1
    };
    const Case cases[] = {
        {UnitsEnglish,
         {"Sandy Soils:", "Loose Sand", "Medium Sand", "Dense Sand", "Sand w/Clay (mix)", "Sand w/Silt (mix)",
          "", "Clayey Soils:", "qu < 4 ksf", "4 ksf < qu < 8 ksf", "qu > 8 ksf",
          "qu - unconfined compr. strength"},
         {"", "17 - 58 pci", "35 - 289 pci", "231 - 463 pci", "116 - 289 pci", "87 - 174 pci", "", "",
          "43 - 87 pci", "87 - 174 pci", "> 174 pci", ""}},
        {UnitsSI,
         {"Sandy Soils:", "Loose Sand", "Medium Sand", "Dense Sand", "Sand w/Clay (mix)", "Sand w/Silt (mix)",
          "", "Clayey Soils:", "qu < 192 kPa", "192 kPa < qu < 383 kPa", "qu > 383 kPa",
          "qu - unconfined compr. strength"},
         {"", "4,713 - 15,709 kN/m\u00B3", "9,425 - 78,544 kN/m\u00B3", "62,835 - 125,670 kN/m\u00B3",
          "31,418 - 78,544 kN/m\u00B3", "23,563 - 47,126 kN/m\u00B3", "", "", "11,782 - 23,563 kN/m\u00B3",
          "23,563 - 47,126 kN/m\u00B3", "> 47,126 kN/m\u00B3", ""}},
    };
    for (const Case& c : cases) {
        auto model = slabwise::test::NewModel(c.units);
        TfrmComputations w;
        w.BuildSubgradeHelp(1, *model, c.units);
        EXPECT_EQ(w.windowTitle(), "Help");
        EXPECT_EQ(w.ListView1->horizontalHeaderItem(0)->text(), "Soil Type");
        EXPECT_EQ(w.ListView1->horizontalHeaderItem(1)->text(), "Subgrade Modulus, ks");
        ASSERT_EQ(w.ListView1->rowCount(), 12);
        for (int row = 0; row < 12; ++row) {
            EXPECT_EQ(Cell(w, row, 0), c.captions[row]) << "units " << int(c.units) << " row " << row;
            EXPECT_EQ(Cell(w, row, 1), c.cells[row]) << "units " << int(c.units) << " row " << row;
        }
        EXPECT_GE(w.ListView1->columnWidth(0), 180);
        EXPECT_GE(w.ListView1->columnWidth(1), 150);
        // No cell is cut short.
        const QFontMetrics metrics(w.ListView1->font());
        for (int row = 0; row < 12; ++row)
            for (int column = 0; column < 2; ++column)
                EXPECT_LT(metrics.horizontalAdvance(Cell(w, row, column)),
                          w.ListView1->columnWidth(column) - 4)
                    << Cell(w, row, column).toStdString();
        EXPECT_TRUE(w.ListView1->item(1, 1)->textAlignment() & Qt::AlignRight);
    }
}

// The note follows the unit system the captions were last written for, and
// the height makes room for it and for every row at two font heights.
TEST_F(SubgradeHelp, NoteAndWindowSize) {
    for (uint8_t units : {UnitsEnglish, UnitsSI}) {
        auto model = slabwise::test::NewModel(units);
        TfrmComputations w;
        w.BuildSubgradeHelp(1, *model, units);
        const bool si = units == UnitsSI;
        EXPECT_EQ(w.Label1->isVisibleTo(&w), si);
        EXPECT_EQ(w.Label1->text().isEmpty(), !si);
        if (si) {
            EXPECT_EQ(w.Label1->text(),
                      "Note: values above are strictly metric conversions of values from the "
                      "English units version.");
        }
        const int r = QFontInfo(w.ListView1->font()).pixelSize() - 1;
        EXPECT_GE(w.width(), 380);
        EXPECT_EQ(w.height(), (si ? 33 + 8 : 0) + 2 * r * 13 + 16 + 2 * w.ListView1->frameWidth());
        // Every row is on screen without scrolling.
        w.show();
        QApplication::processEvents();
        EXPECT_FALSE(w.ListView1->verticalScrollBar()->isVisible());
        EXPECT_GE(w.ListView1->viewport()->height(), w.ListView1->verticalHeader()->length());
    }
}

TEST(Computations, LinesAndRows) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TfrmComputations w;
    w.SetColumns("Results", {"Quantity", "Top", "Bottom", "Total"}, {Qt::AlignLeft, Qt::AlignRight});
    EXPECT_EQ(w.ListView1->columnCount(), 4);
    EXPECT_EQ(w.width(), 380 + 2 * w.ListView1->columnWidth(1));
    w.AddLine("Beta", "1/ft", 3, 0.1789L);
    w.AddLine("Nothing", "", 0, std::numeric_limits<Real>::quiet_NaN());
    w.AddLine("Heading", "", 0, TfrmComputations::NoValue);
    w.AddRow("Steel", {1.5, QString("none"), 2}, "in^2");
    w.AddRow("Bare", {0.25}, "");
    QLocale::setDefault(QLocale::system());
    EXPECT_EQ(Cell(w, 0, 1), "0,179 1/ft");
    EXPECT_EQ(Cell(w, 1, 1), "N.A.");
    EXPECT_EQ(w.ListView1->item(2, 1), nullptr);
    EXPECT_EQ(Cell(w, 3, 1), "1,500 in^2");
    EXPECT_EQ(Cell(w, 3, 2), "none in^2");
    EXPECT_EQ(Cell(w, 3, 3), "2,000 in^2");
    EXPECT_EQ(Cell(w, 4, 1), "0,250");
    // Columns past the given alignments take the last one.
    EXPECT_TRUE(w.ListView1->item(3, 3)->textAlignment() & Qt::AlignRight);
}

TEST_F(SubgradeHelp, GrabToPicture) {
    for (uint8_t units : {UnitsEnglish, UnitsSI}) {
        auto model = slabwise::test::NewModel(units);
        TfrmComputations w;
        w.BuildSubgradeHelp(1, *model, units);
        w.show();
        const QImage shot = w.grab().toImage();
        slabwise::test::ExpectDrawn(shot, "subgrade help");
        // The first row of the list is drawn.
        const QRect row = w.ListView1->visualItemRect(w.ListView1->item(0, 0));
        EXPECT_GT(
            slabwise::test::InkPixels(shot, QRect(w.ListView1->viewport()->mapTo(&w, row.topLeft()),
                                                  QSize(w.ListView1->viewport()->width(), row.height()))),
            5);
        const QDir folder(QStringLiteral(SLABWISE_SCREENS_DIR));
        ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
        const QString path =
            folder.filePath(units == UnitsSI ? "subgrade-help-si.png" : "subgrade-help-english.png");
        EXPECT_TRUE(shot.save(path));
    }
}

} // namespace
