// The punching results on the results page: one line per column, in load order.

#include "MainWindow.h"

#include "model/PunchingShear.h"
#include "model/PunchingTable.h"
#include "report/FormTexts.h"
#include "ui_MainWindow.h"
#include "views/LocaleNumber.h"

#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>
#include <array>
#include <cmath>

namespace slabwise {

namespace {

// The columns of the shared table the window has room for; the report
// prints them all.
constexpr std::array ShownColumns{TPunchingColumn::Load, TPunchingColumn::Section, TPunchingColumn::Vu,
                                  TPunchingColumn::PhiVn, TPunchingColumn::Util};

const TPunchingHeading& HeadingOf(TPunchingColumn column) {
    return *std::ranges::find(PunchingHeadings, column, &TPunchingHeading::Column);
}

// Lines beyond these scroll while the page is short.
constexpr int LinesAlwaysShown = 3;

QString Of(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString CellText(const TMatData& mat, int load, const TPunchingResult& result, TPunchingColumn column) {
    const Real value = PunchingValue(result, column);
    switch (column) {
    case TPunchingColumn::Load:
        return QStringLiteral("#%1").arg(load);
    case TPunchingColumn::Section:
        return result.State == TPunchingState::Checked ? Of(PunchingSectionName(result.Governing))
                                                       : BoxValueText(mat, 0, value);
    case TPunchingColumn::Util:
        // As the other utilisations read, without their caption.
        return UtilizationValueText(value);
    default:
        return BoxValueText(mat, HeadingOf(column).Tag, value);
    }
}

// Sets what differs only, so an unchanged line costs no repaint.
bool SetCell(QTableWidgetItem& item, const QString& text, const QString& hint) {
    bool changed = false;
    if (item.text() != text) {
        item.setText(text);
        changed = true;
    }
    if (item.toolTip() != hint) item.setToolTip(hint);
    return changed;
}

} // namespace

void TfrmMain::SetUpPunching() {
    QTableWidget& grid = *ui->GridPunching;
    const int columns = static_cast<int>(ShownColumns.size());
    grid.setColumnCount(columns);
    grid.setRowCount(PointLoadCount);
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.horizontalHeader()->setHighlightSections(false);
    grid.horizontalHeader()->setStretchLastSection(true);
    grid.setIconSize(passPicture_.size());
    // The items belong to the table; each line keeps its load's row, hidden
    // while the load has no column, so a display never makes or moves one.
    for (int column = 0; column < columns; ++column) {
        grid.setHorizontalHeaderItem(column, new QTableWidgetItem);
        const bool number = HeadingOf(ShownColumns[static_cast<size_t>(column)]).Tag != 0;
        for (int row = 0; row < PointLoadCount; ++row) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
            item->setData(Qt::UserRole, -1);
            grid.setItem(row, column, item);
        }
    }
    for (int row = 0; row < PointLoadCount; ++row) grid.setRowHidden(row, true);
}

void TfrmMain::ShowPunching(const TMatData& m) {
    QTableWidget& grid = *ui->GridPunching;
    const bool any = AnyColumn(m);
    ui->Label195->setVisible(!any);
    grid.setVisible(any);
    if (!any) return;
    const TPunchingResults results = EvaluatePunching(m);
    bool changed = false;
    for (size_t column = 0; column < ShownColumns.size(); ++column) {
        QTableWidgetItem& head = *grid.horizontalHeaderItem(static_cast<int>(column));
        changed = SetCell(head, Of(PunchingHeadingText(m, HeadingOf(ShownColumns[column]))), {}) || changed;
    }
    int lines = 0;
    for (int row = 0; row < PointLoadCount; ++row) {
        const TPunchingResult& result = results[static_cast<size_t>(row)];
        const bool shown = result.State != TPunchingState::NoColumn;
        if (grid.isRowHidden(row) == shown) {
            grid.setRowHidden(row, !shown);
            changed = true;
        }
        if (!shown) continue;
        ++lines;
        const QString hint = QString::fromStdString(result.Hint);
        for (size_t column = 0; column < ShownColumns.size(); ++column) {
            QTableWidgetItem& item = *grid.item(row, static_cast<int>(column));
            changed = SetCell(item, CellText(m, row + 1, result, ShownColumns[column]), hint) || changed;
        }
        // The picture beside the utilisation, as beside the other checks;
        // its Tag (1 fails) in the item's data.
        QTableWidgetItem& util = *grid.item(row, static_cast<int>(ShownColumns.size()) - 1);
        const int tag = result.Passes ? 0 : 1;
        if (util.data(Qt::UserRole).toInt() != tag) {
            util.setData(Qt::UserRole, tag);
            util.setIcon(QIcon(result.Passes ? passPicture_ : failPicture_));
        }
    }
    if (!changed) return;
    // Measured as the style draws them, which a table never shown yet is not.
    grid.ensurePolished();
    // As wide as the widest text of each column, room kept for the scroll
    // bar, which the last column fills while there is none.
    int width = 2 * grid.frameWidth() + grid.verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < grid.columnCount(); ++column) {
        const int wide = std::max(static_cast<const QAbstractItemView&>(grid).sizeHintForColumn(column),
                                  grid.horizontalHeader()->sectionSizeHint(column));
        grid.setColumnWidth(column, wide);
        width += wide;
    }
    grid.setFixedWidth(width);
    // The style may make a line taller than asked for: the shown ones tell.
    int line = grid.verticalHeader()->defaultSectionSize();
    for (int row = 0; row < PointLoadCount; ++row)
        if (!grid.isRowHidden(row)) line = std::max(line, grid.rowHeight(row));
    const int frame = 2 * grid.frameWidth() + grid.horizontalHeader()->sizeHint().height();
    grid.setMinimumHeight(frame + std::min(lines, LinesAlwaysShown) * line);
    grid.setMaximumHeight(frame + lines * line);
}

} // namespace slabwise
