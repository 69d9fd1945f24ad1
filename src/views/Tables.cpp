#include "Tables.h"

#include "LocaleNumber.h"
#include "model/ResultTexts.h"
#include "model/ResultsCsv.h"
#include "model/Units.h"

#include <QAction>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>
#include <exception>
#include <numbers>

namespace slabwise {

namespace {

// A blank first column, the node number, then the station values in the
// model's order.
constexpr int FirstStationColumn = 2;
constexpr int ColumnCount = FirstStationColumn + static_cast<int>(StationFields.size());
constexpr int ColumnWidths[ColumnCount] = {1, 60, 100, 100, 100, 100, 100, 150};
// Decimals per station value, the deflection's taken from its input row so it
// reads like the main window's deflection box; the slope in degrees needs four
// places to show anything but zero.
constexpr int StationDecimals[StationFields.size()] = {4, 3, 2, 4, -1, 3};
static_assert(StationFields[4].Member == &TMatStation::Deflection);

} // namespace

Real SlopeInDegrees(Real radians) {
    return SlopeDegrees(radians);
}

QStringList ResultsTableCaptions(uint8_t unitSystem) {
    QStringList captions = {QString(), QStringLiteral("Node #")};
    for (const TStationField& field : StationFields)
        captions << QString::fromStdString(NodeColumnCaption(field, unitSystem));
    return captions;
}

TResultsTableTexts ResultsTableTexts(const std::array<TMatStation, StationCount>& stations,
                                     uint8_t unitSystem) {
    TResultsTableTexts texts;
    texts.Captions = ResultsTableCaptions(unitSystem);
    const TInputRangeTable& inputs = unitSystem == UnitsSI ? SIInputRanges() : EnglishInputRanges();
    const int deflectionDecimals = inputs[TagDeflection - 1].Decimals;
    texts.Rows.reserve(NodeCount);
    for (int i = 0; i < NodeCount; ++i) {
        const TMatStation& st = stations[static_cast<size_t>(i)];
        QStringList row = {QString(), QString::number(i + 1)};
        for (size_t f = 0; f < StationFields.size(); ++f) {
            const int decimals = StationDecimals[f] < 0 ? deflectionDecimals : StationDecimals[f];
            row << FormatLocaleFixed(NodeColumnValue(StationFields[f], st), decimals);
        }
        texts.Rows.push_back(std::move(row));
    }
    return texts;
}

TfrmTable::TfrmTable(uint8_t unitSystem, QWidget* parent) : QDialog(parent) {
    setObjectName("frmTable");
    setWindowTitle(QStringLiteral("Table of Test Results"));
    setFixedSize(751, 437);

    ListView1 = new QTableWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setGeometry(8, 8, 735, 421);
    ListView1->setColumnCount(ColumnCount);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
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
    auto* copy = new QAction(QStringLiteral("&Copy"), ListView1);
    copy->setObjectName("ACopy");
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, [this] { CopySelection(); });
    auto* selectAll = new QAction(QStringLiteral("Select &All"), ListView1);
    selectAll->setShortcut(QKeySequence::SelectAll);
    selectAll->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(selectAll, &QAction::triggered, ListView1, &QTableWidget::selectAll);
    ListView1->addAction(copy);
    ListView1->addAction(selectAll);
    ListView1->setContextMenuPolicy(Qt::ActionsContextMenu);
    unitSystem_ = unitSystem;
    FormCreate(unitSystem);
    AddExportButton(unitSystem);
}

TfrmTable::TfrmTable(const TMatData& model, QWidget* parent) : TfrmTable(model.UnitSystem, parent) {
    Fill(model.Stations);
    // Soil that takes no tension: the zones the results rest on, below the grid.
    if (model.SoilTakesNoTension) {
        auto* zones = new QLabel(this);
        zones->setObjectName("ContactZonesLabel");
        zones->setText(QStringLiteral("Contact zones: ") +
                       QString::fromStdString(ContactZonesText(model, LocaleDecimalSeparator().toLatin1())));
        // Between the grid and the export button, which moves down a line.
        const QRect grid = ListView1->geometry();
        const int line = zones->fontMetrics().height() + 4;
        zones->setGeometry(grid.left(), grid.bottom() + 5, grid.width(), line);
        zones->setToolTip(zones->text());
        ButtonExportCsv->move(ButtonExportCsv->x(), ButtonExportCsv->y() + line);
        setFixedSize(width(), height() + line);
    }
}

void TfrmTable::FormCreate(uint8_t unitSystem) {
    ListView1->setRowCount(0);
    ListView1->setHorizontalHeaderLabels(ResultsTableCaptions(unitSystem));
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
    const TResultsTableTexts texts = ResultsTableTexts(stations, unitSystem_);
    ListView1->setRowCount(NodeCount);
    for (int i = 0; i < NodeCount; ++i) {
        const QStringList& row = texts.Rows[static_cast<size_t>(i)];
        for (int c = 0; c < row.size(); ++c) {
            auto* item = new QTableWidgetItem(row[c]);
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            ListView1->setItem(i, c, item);
        }
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

QString TfrmTable::SelectedText() const {
    QList<int> rows;
    for (const QModelIndex& index : ListView1->selectionModel()->selectedRows()) rows << index.row();
    if (rows.isEmpty()) return {};
    std::sort(rows.begin(), rows.end());
    // Column 0 is the list's empty caption column, not data.
    const auto line = [](const QStringList& cells) {
        return cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    QStringList header;
    for (int c = 1; c < ColumnCount; ++c) header << ColumnCaption(c);
    QString text = line(header);
    for (const int row : rows) {
        QStringList cells;
        for (int c = 1; c < ColumnCount; ++c) cells << CellText(row, c);
        text += line(cells);
    }
    return text;
}

void TfrmTable::CopySelection() const {
    const QString text = SelectedText();
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
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
