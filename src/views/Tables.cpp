#include "Tables.h"

#include "LocaleNumber.h"
#include "model/ResultsCsv.h"
#include "model/Units.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>
#include <exception>
#include <numbers>

namespace slabwise {

namespace {

constexpr int ColumnCount = 8;
constexpr int ColumnWidths[ColumnCount] = {1, 60, 100, 100, 100, 100, 100, 150};

} // namespace

Real SlopeInDegrees(Real radians) {
    return SlopeDegrees(radians);
}

TfrmTable::TfrmTable(uint8_t unitSystem, QWidget* parent) : QDialog(parent) {
    setObjectName("frmTable");
    setWindowTitle("Table of Test Results");
    setFixedSize(751, 437);

    ListView1 = new QTableWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setGeometry(8, 8, 735, 421);
    ListView1->setColumnCount(ColumnCount);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setShowGrid(true);
    ListView1->setWordWrap(false);
    ListView1->verticalHeader()->hide();
    ListView1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 4);
    ListView1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    ListView1->horizontalHeader()->setMinimumSectionSize(1);
    ListView1->horizontalHeader()->setStretchLastSection(true);
    FormCreate(unitSystem);
    AddExportButton(unitSystem);
}

TfrmTable::TfrmTable(const TMatData& model, QWidget* parent) : TfrmTable(model.UnitSystem, parent) {
    Fill(model.Stations);
}

void TfrmTable::FormCreate(uint8_t unitSystem) {
    ListView1->setRowCount(0);
    auto unit = [unitSystem](TQuantity q) { return QString::fromStdString(UnitText(q, unitSystem)); };
    const QStringList captions = {
        "",
        "Node #",
        "Dist. from left, " + unit(TQuantity::Length),
        "Shear, " + unit(TQuantity::Force),
        "Moment, " + unit(TQuantity::AppliedMoment),
        "Slope, deg",
        "Deflection, " + unit(TQuantity::DesignLength),
        "Soil Press, " + unit(TQuantity::Pressure),
    };
    ListView1->setHorizontalHeaderLabels(captions);
    SizeColumns();
}

void TfrmTable::SizeColumns() {
    // The designed widths, except that a caption never gets cut: a column
    // too narrow for its caption grows, and the wide last column gives the
    // room back as far as its own caption allows.
    const QFontMetrics fm(ListView1->horizontalHeader()->font());
    const int padding = 2 * ListView1->style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    int borrowed = 0;
    for (int c = 0; c < ColumnCount; ++c) {
        const int needed = c == 0 ? 1 : fm.horizontalAdvance(ColumnCaption(c)) + padding;
        int width = std::max(ColumnWidths[c], needed);
        if (c < ColumnCount - 1)
            borrowed += width - ColumnWidths[c];
        else
            width = std::max(needed, width - borrowed);
        ListView1->setColumnWidth(c, width);
    }
}

void TfrmTable::Fill(const std::array<TMatStation, StationCount>& stations) {
    stations_.assign(stations.begin(), stations.end());
    ListView1->setRowCount(NodeCount);
    auto put = [this](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignCenter);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        ListView1->setItem(row, column, item);
    };
    for (int i = 0; i < NodeCount; ++i) {
        const TMatStation& st = stations_[static_cast<size_t>(i)];
        put(i, 0, QString());
        put(i, 1, QString::number(i + 1));
        put(i, 2, FormatLocaleFixed(st.X, 4));
        put(i, 3, FormatLocaleFixed(st.Shear, 3));
        put(i, 4, FormatLocaleFixed(st.Moment, 2));
        put(i, 5, FormatLocaleFixed(SlopeInDegrees(st.Slope), 2));
        put(i, 6, FormatLocaleFixed(st.Deflection, 2));
        put(i, 7, FormatLocaleFixed(st.Pressure, 3));
    }
}

QString TfrmTable::CellText(int row, int column) const {
    const QTableWidgetItem* item = ListView1->item(row, column);
    return item ? item->text() : QString();
}

QString TfrmTable::ColumnCaption(int column) const {
    const QTableWidgetItem* item = ListView1->horizontalHeaderItem(column);
    return item ? item->text() : QString();
}

void TfrmTable::AddExportButton(uint8_t unitSystem) {
    unitSystem_ = unitSystem;
    // A row below the grid for the button.
    constexpr int ButtonRow = 36;
    setFixedSize(width(), height() + ButtonRow);
    ButtonExportCsv = new QPushButton(QStringLiteral("Export CSV..."), this);
    ButtonExportCsv->setObjectName(QStringLiteral("ButtonExportCsv"));
    ButtonExportCsv->adjustSize();
    const QRect grid = ListView1->geometry();
    ButtonExportCsv->move(grid.right() + 1 - ButtonExportCsv->width(),
                          grid.bottom() + 1 + (ButtonRow + 8 - ButtonExportCsv->height()) / 2);
    connect(ButtonExportCsv, &QPushButton::clicked, this, &TfrmTable::ButtonExportCsvClick);
}

void TfrmTable::ButtonExportCsvClick() {
    try {
        ExportCsvAs(this, Prompts, NodeResultsCsv(stations_, unitSystem_));
    } catch (const std::exception& error) {
        Prompts.ShowError(this, QString::fromLocal8Bit(error.what()));
    }
}

} // namespace slabwise
