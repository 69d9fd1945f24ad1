#include "views/Tables.h"
#include "GraphModels.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QSet>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <numbers>

using namespace slabwise;
using test::AnalysedExample;
using test::NewModel;

namespace {

TEST(Table, CaptionsByUnitSystem) {
    const std::vector<std::string> english = {
        "",           "Node #",         "Dist. from left, ft", "Shear, kips", "Moment, ft-kips",
        "Slope, deg", "Deflection, in", "Soil Press, ksf"};
    const std::vector<std::string> si = {
        "",           "Node #",         "Dist. from left, m", "Shear, kN", "Moment, kN-m",
        "Slope, deg", "Deflection, mm", "Soil Press, kPa"};
    for (auto [units, captions] : {std::pair{UnitsEnglish, english}, std::pair{UnitsSI, si}}) {
        TfrmTable table(units);
        ASSERT_EQ(table.ListView1->columnCount(), 8);
        for (int c = 0; c < 8; ++c) EXPECT_EQ(table.ColumnCaption(c).toStdString(), captions[size_t(c)]) << c;
        EXPECT_EQ(table.ListView1->rowCount(), 0);
    }
}

TEST(Table, WindowAsDesigned) {
    TfrmTable table(UnitsEnglish);
    EXPECT_EQ(table.windowTitle(), "Table of Test Results");
    // The designed 751 x 437, and a row below the grid for "Export CSV...".
    EXPECT_EQ(table.size(), QSize(751, 437 + 36));
    EXPECT_EQ(table.ListView1->geometry(), QRect(8, 8, 735, 421));
    EXPECT_EQ(table.ListView1->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(table.ListView1->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(table.ListView1->columnWidth(0), 1);
    EXPECT_EQ(table.ListView1->columnWidth(1), 60);
    // Every caption is seen whole, and all columns fit beside the scroll bar.
    auto model = AnalysedExample(UnitsEnglish);
    table.Fill(model->Stations);
    table.show();
    const QFontMetrics fm(table.ListView1->horizontalHeader()->font());
    for (int c = 0; c < 8; ++c)
        EXPECT_GE(table.ListView1->columnWidth(c), fm.horizontalAdvance(table.ColumnCaption(c))) << c;
    EXPECT_EQ(table.ListView1->horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(table.ListView1->verticalScrollBar()->isVisible());
}

TEST(Table, HundredAndOneNodesInTheirFormats) {
    auto model = NewModel(UnitsEnglish);
    model->StripLength = 12.5L;
    for (int i = 0; i < StationCount; ++i) {
        TMatStation& st = model->Stations[size_t(i)];
        st.X = model->StripLength * i / 100;
        st.Shear = -1.23456L * i;
        st.Moment = 1e12L;
        st.Slope = std::numbers::pi_v<Real> / 180 * i / 100;
        st.Deflection = -0.004999L;
        st.Pressure = 2.0005L;
    }
    TfrmTable table(*model, nullptr);
    ASSERT_EQ(table.ListView1->rowCount(), 101);
    for (int row : {0, 50, 100}) {
        EXPECT_EQ(table.CellText(row, 0), "");
        EXPECT_EQ(table.CellText(row, 1), QString::number(row + 1));
    }
    struct TCell {
        int row, column;
        const char* text;
    };
    const TCell cells[] = {
        {100, 2, "12.5000"},
        {0, 2, "0.0000"},
        {1, 3, "-1.235"},
        {100, 3, "-123.456"},
        // Too large for ten digits in fixed notation.
        {7, 4, "1.000000000E+12"},
        // Radians in the model, degrees in the table, to four places.
        {100, 5, "1.0000"},
        {50, 5, "0.5000"},
        {0, 5, "0.0000"},
        {1, 5, "0.0100"},
        // The decimals of the main window's deflection box.
        {3, 6, "-0.00500"},
        {3, 7, "2.001"},
    };
    for (const TCell& c : cells)
        EXPECT_EQ(table.CellText(c.row, c.column).toStdString(), c.text) << c.row << "," << c.column;
    for (int c = 0; c < 8; ++c) EXPECT_EQ(table.ListView1->item(5, c)->textAlignment(), int(Qt::AlignCenter));
    EXPECT_FALSE(table.ListView1->item(5, 3)->flags() & Qt::ItemIsEditable);
}

TEST(Table, ExampleEndsAtTheFullLength) {
    for (uint8_t units : {UnitsEnglish, UnitsSI}) {
        auto model = AnalysedExample(units);
        TfrmTable table(*model, nullptr);
        EXPECT_EQ(table.CellText(100, 1), "101");
        EXPECT_EQ(table.CellText(100, 2), QString::asprintf("%.4f", double(model->StripLength)));
        EXPECT_EQ(table.CellText(40, 4), QString::asprintf("%.2f", double(model->Stations[40].Moment)));
    }
}

TEST(Table, KeepsItsOwnCopyOfTheStations) {
    auto model = AnalysedExample(UnitsEnglish);
    TfrmTable table(*model, nullptr);
    const QString shear = table.CellText(30, 3);
    const Real copied = table.Stations().at(120).Shear;
    ASSERT_EQ(table.Stations().size(), size_t(StationCount));
    model->PointLoads[0].P *= 3;
    model->Analyze();
    ASSERT_NE(model->Stations[30].Shear, table.Stations()[30].Shear);
    EXPECT_EQ(table.CellText(30, 3), shear);
    EXPECT_EQ(table.Stations()[120].Shear, copied);
}

TEST(Table, NumbersUseTheLocaleDecimalSeparator) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto model = AnalysedExample(UnitsSI);
    TfrmTable table(*model, nullptr);
    EXPECT_EQ(table.CellText(100, 2),
              QString::asprintf("%.4f", double(model->StripLength)).replace('.', ','));
    QLocale::setDefault(before);
}

// The table's texts built without a window are the ones the window shows,
// numbers in the locale's own form.
TEST(Table, TextsWithoutAWindowAreTheWindowsCells) {
    const QLocale before;
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        for (const test::TNamedModel& m : test::GraphModels()) {
            SCOPED_TRACE(m.name + " " + locale.name().toStdString());
            TfrmTable table(*m.model, nullptr);
            const TResultsTableTexts texts = ResultsTableTexts(m.model->Stations, m.model->UnitSystem);
            ASSERT_EQ(texts.Captions.size(), table.ListView1->columnCount());
            for (int c = 0; c < texts.Captions.size(); ++c)
                EXPECT_EQ(texts.Captions[c], table.ColumnCaption(c));
            EXPECT_EQ(ResultsTableCaptions(m.model->UnitSystem), texts.Captions);
            ASSERT_EQ(texts.Rows.size(), size_t(table.ListView1->rowCount()));
            for (int r = 0; r < table.ListView1->rowCount(); ++r) {
                const QStringList& row = texts.Rows[size_t(r)];
                ASSERT_EQ(row.size(), texts.Captions.size());
                for (int c = 0; c < row.size(); ++c) EXPECT_EQ(row[c], table.CellText(r, c)) << r << "," << c;
            }
            const QString length = texts.Rows.back()[2];
            EXPECT_EQ(length.contains(','), locale.language() == QLocale::German) << length.toStdString();
        }
    }
    QLocale::setDefault(before);
}

// Deflections and slopes of a real strip differ from node to node in the
// table, as they do in the main window.
TEST(Table, DeflectionAndSlopeTellNodesApart) {
    for (uint8_t units : {UnitsEnglish, UnitsSI}) {
        auto model = AnalysedExample(units);
        TfrmTable table(*model, nullptr);
        QSet<QString> deflections, slopes;
        for (int row = 0; row < NodeCount; ++row) {
            deflections << table.CellText(row, 6);
            slopes << table.CellText(row, 5);
        }
        EXPECT_GT(deflections.size(), 50) << int(units);
        EXPECT_GT(slopes.size(), 50) << int(units);
        EXPECT_EQ(table.CellText(0, 6).section('.', 1).size(), model->InputRange(20).Decimals);
    }
}

TEST(Table, SelectedRowsAreCopiedWithTheHeader) {
    auto model = NewModel(UnitsEnglish);
    for (int i = 0; i < StationCount; ++i) {
        model->Stations[size_t(i)] = {};
        model->Stations[size_t(i)].X = i;
    }
    TfrmTable table(*model, nullptr);
    table.show();
    table.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&table));
    EXPECT_EQ(table.SelectedText(), "");
    const auto select = [&](int row, QItemSelectionModel::SelectionFlags how) {
        table.ListView1->selectionModel()->select(table.ListView1->model()->index(row, 0),
                                                  how | QItemSelectionModel::Rows);
    };
    // Chosen out of order; copied in the table's order.
    select(7, QItemSelectionModel::ClearAndSelect);
    select(2, QItemSelectionModel::Select);
    const QString header = "Node #\tDist. from left, ft\tShear, kips\tMoment, ft-kips\tSlope, "
                           "deg\tDeflection, in\tSoil Press, ksf\n";
    const QString expected = header + "3\t2.0000\t0.000\t0.00\t0.0000\t0.00000\t0.000\n" +
                             "8\t7.0000\t0.000\t0.00\t0.0000\t0.00000\t0.000\n";
    EXPECT_EQ(table.SelectedText(), expected);
    // Ctrl+C in the list puts the same text on the clipboard.
    QGuiApplication::clipboard()->clear();
    table.ListView1->setFocus();
    QTest::keyClick(table.ListView1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    // Ctrl+A takes every node.
    QTest::keyClick(table.ListView1, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(table.SelectedText().count('\n'), NodeCount + 1);
}

TEST(Table, SlopeInDegrees) {
    EXPECT_NEAR(double(SlopeInDegrees(std::numbers::pi_v<Real>)), 180, 1e-12);
    EXPECT_NEAR(double(SlopeInDegrees(-0.001L)), -0.0572957795, 1e-10);
}

} // namespace
