#include "Computations.h"

#include "LocaleNumber.h"
#include "model/SoilModulus.h"
#include "model/Units.h"

#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace slabwise {

namespace {

constexpr int Margin = 8;
constexpr int NoteHeight = 33;
constexpr int BaseWidth = 380;

bool IsNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// "17 - 58" with grouped whole numbers; a range without an upper bound is
// the open "> 174".
QString RangeText(const TSoilModulusLine& line) {
    if (std::isnan(line.High)) return QStringLiteral("> ") + FormatLocaleGrouped(line.Low, 0);
    return FormatLocaleGrouped(line.Low, 0) + QStringLiteral(" - ") + FormatLocaleGrouped(line.High, 0);
}

} // namespace

TfrmComputations::TfrmComputations(QWidget* parent) : QDialog(parent) {
    ListView1 = new QTableWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setShowGrid(true);
    ListView1->verticalHeader()->hide();
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ListView1->setWordWrap(false);
    ListView1->horizontalHeader()->setSectionsClickable(false);
    ListView1->horizontalHeader()->setHighlightSections(false);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    FormCreate();
}

void TfrmComputations::FormCreate() {
    ListView1->clear();
    ListView1->setRowCount(0);
    ListView1->setColumnCount(2);
    ListView1->setHorizontalHeaderLabels({QStringLiteral("Variable"), QStringLiteral("Value")});
    ListView1->setColumnWidth(0, 100);
    ListView1->horizontalHeader()->setStretchLastSection(true);
    alignments_ = {Qt::AlignLeft, Qt::AlignLeft};
    setFixedSize(BaseWidth, 300);
    LayoutList(0);
}

void TfrmComputations::SetColumns(const QString& caption, const QStringList& columns,
                                  const QList<Qt::Alignment>& alignments) {
    setWindowTitle(caption);
    const auto alignmentOf = [&](int column) {
        if (alignments.isEmpty()) return Qt::Alignment(Qt::AlignLeft);
        return alignments.value(column, alignments.last());
    };
    if (columns.size() > 2) {
        const int extraWidth = ListView1->columnWidth(1);
        const int extra = static_cast<int>(columns.size()) - 2;
        ListView1->horizontalHeader()->setStretchLastSection(false);
        ListView1->setColumnCount(2 + extra);
        for (int c = 2; c < 2 + extra; ++c) ListView1->setColumnWidth(c, extraWidth);
        setFixedSize(width() + extra * extraWidth, height());
    }
    alignments_.clear();
    for (int c = 0; c < ListView1->columnCount(); ++c) alignments_.append(alignmentOf(c));
    for (int c = 0; c < columns.size() && c < ListView1->columnCount(); ++c) {
        auto* header = new QTableWidgetItem(columns[c]);
        header->setTextAlignment(alignments_[c] | Qt::AlignVCenter);
        ListView1->setHorizontalHeaderItem(c, header);
    }
}

int TfrmComputations::AppendRow(const QString& caption) {
    const int row = ListView1->rowCount();
    ListView1->insertRow(row);
    SetCell(row, 0, caption);
    return row;
}

void TfrmComputations::SetCell(int row, int column, const QString& text) {
    if (column >= ListView1->columnCount()) return;
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignments_.value(column, Qt::AlignLeft) | Qt::AlignVCenter);
    ListView1->setItem(row, column, item);
}

void TfrmComputations::AddLine(const QString& caption, const QString& unit, int decimals, Real value) {
    const int row = AppendRow(caption);
    if (std::isnan(value))
        SetCell(row, 1, QStringLiteral("N.A."));
    else if (value != NoValue)
        SetCell(row, 1, FormatLocaleFixed(value, decimals) + u' ' + unit);
}

void TfrmComputations::AddRow(const QString& caption, const QList<QVariant>& values, const QString& unit) {
    const int row = AppendRow(caption);
    for (int i = 0; i < values.size(); ++i) {
        QString text =
            IsNumber(values[i]) ? FormatLocaleFixed(values[i].toDouble(), 3) : values[i].toString();
        if (!unit.isEmpty()) text += u' ' + unit;
        SetCell(row, 1 + i, text);
    }
}

void TfrmComputations::BuildSubgradeHelp(int senderTag, const TMatData& model, uint8_t lastUnitSystem) {
    if (senderTag == 1) {
        SetColumns(QStringLiteral("Help"),
                   {QStringLiteral("Soil Type"), QStringLiteral("Subgrade Modulus, ks")},
                   {Qt::AlignLeft, Qt::AlignHCenter});
        const QString modulusUnit = QString::fromStdString(UnitText(TQuantity::Subgrade, model.UnitSystem));
        for (const TSoilModulusLine& line : SoilModulusLines(model)) {
            const QString caption = QString::fromStdString(line.Caption);
            if (line.HasRange)
                AddRow(caption, {RangeText(line)}, modulusUnit);
            else
                AddLine(caption, QString(), 0, NoValue);
        }
    }

    // 180 and 150 pixels, or wider where the desktop font needs it: a range
    // cut short would hide the number the engineer came for.
    ListView1->horizontalHeader()->setStretchLastSection(false);
    for (auto [column, least] : {std::pair{0, 180}, std::pair{1, 150}}) {
        ListView1->resizeColumnToContents(column);
        ListView1->setColumnWidth(column, std::max(least, ListView1->columnWidth(column) + 8));
    }
    if (alignments_.size() > 1) alignments_[1] = Qt::AlignRight;
    for (int row = 0; row < ListView1->rowCount(); ++row)
        if (QTableWidgetItem* item = ListView1->item(row, 1))
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (QTableWidgetItem* header = ListView1->horizontalHeaderItem(1))
        header->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const QString noteText = QString::fromStdString(SoilModulusNote(lastUnitSystem));
    const bool note = !noteText.isEmpty();
    Label1->setText(noteText);
    Label1->setVisible(note);

    // Rows are two font heights apart, as a list in report style spaces them;
    // the list's frame is added so the last row is not cut off.
    const int r = QFontInfo(ListView1->font()).pixelSize() - 1;
    const int rows = ListView1->rowCount();
    const int noteHeight = note ? NoteHeight + Margin : 0;
    const int extraColumns = std::max(0, ListView1->columnCount() - 2);
    int columnsWidth = 0;
    for (int c = 0; c < ListView1->columnCount(); ++c) columnsWidth += ListView1->columnWidth(c);
    const int listFrame = 2 * ListView1->frameWidth();
    setFixedSize(std::max(BaseWidth + 150 * extraColumns, columnsWidth + listFrame + 2 * Margin),
                 noteHeight + 2 * r * (rows + 1) + 2 * Margin + listFrame);
    ListView1->horizontalHeader()->setStretchLastSection(true);
    ListView1->horizontalHeader()->setFixedHeight(2 * r);
    ListView1->verticalHeader()->setDefaultSectionSize(2 * r);
    ListView1->verticalHeader()->setMinimumSectionSize(1);
    LayoutList(note ? NoteHeight : 0);
}

void TfrmComputations::LayoutList(int noteHeight) {
    const int listHeight = height() - 2 * Margin - (noteHeight > 0 ? noteHeight + Margin : 0);
    ListView1->setGeometry(Margin, Margin, width() - 2 * Margin, listHeight);
    Label1->setGeometry(Margin, height() - Margin - NoteHeight, width() - 2 * Margin, NoteHeight);
}

} // namespace slabwise
