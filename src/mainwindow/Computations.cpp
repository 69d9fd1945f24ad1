#include "Computations.h"

#include "model/Units.h"
#include "views/LocaleNumber.h"

#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include <algorithm>
#include <cmath>
#include <limits>

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

// Typical ranges in kips per cubic foot.
struct TSoilRange {
    const char* caption;
    Real low, high;
};
constexpr TSoilRange SandRanges[] = {
    {"Loose Sand", 30, 100},         {"Medium Sand", 60, 500},        {"Dense Sand", 400, 800},
    {"Sand w/Clay (mix)", 200, 500}, {"Sand w/Silt (mix)", 150, 300},
};

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
    ListView1->setHorizontalHeaderLabels({"Variable", "Value"});
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
        SetCell(row, 1, "N.A.");
    else if (value != NoValue)
        SetCell(row, 1, FormatLocaleFixed(value, decimals) + " " + unit);
}

void TfrmComputations::AddRow(const QString& caption, const QList<QVariant>& values, const QString& unit) {
    const int row = AppendRow(caption);
    for (int i = 0; i < values.size(); ++i) {
        QString text =
            IsNumber(values[i]) ? FormatLocaleFixed(values[i].toDouble(), 3) : values[i].toString();
        if (!unit.isEmpty()) text += " " + unit;
        SetCell(row, 1 + i, text);
    }
}

QString FormatRange(const TMatData& model, Real low, Real high) {
    const Real factor = model.ByUnits(0.5787, 157.0875);
    if (std::isnan(high)) return "> " + FormatLocaleGrouped(low * factor, 0);
    return FormatLocaleGrouped(low * factor, 0) + " - " + FormatLocaleGrouped(high * factor, 0);
}

void TfrmComputations::BuildSubgradeHelp(int senderTag, const TMatData& model, uint8_t lastUnitSystem) {
    if (senderTag == 1) {
        SetColumns("Help", {"Soil Type", "Subgrade Modulus, ks"}, {Qt::AlignLeft, Qt::AlignHCenter});
        const QString modulusUnit = QString::fromStdString(UnitText(TQuantity::Subgrade, model.UnitSystem));
        const QString strengthUnit =
            QString::fromStdString(UnitText(TQuantity::SoilStrength, model.UnitSystem));
        const Real strength = model.ByUnits(1, 47.875);
        // The strength bounds print as whole numbers, ties to even.
        const int q4 = static_cast<int>(std::nearbyint(4 * strength));
        const int q8 = static_cast<int>(std::nearbyint(8 * strength));

        AddLine("Sandy Soils:", "", 0, NoValue);
        for (const TSoilRange& r : SandRanges)
            AddRow(r.caption, {FormatRange(model, r.low, r.high)}, modulusUnit);
        AddLine("", "", 0, NoValue);
        AddLine("Clayey Soils:", "", 0, NoValue);
        AddRow(QString("qu < %1 %2").arg(q4).arg(strengthUnit), {FormatRange(model, 75, 150)}, modulusUnit);
        AddRow(QString("%1 %2 < qu < %3 %4").arg(q4).arg(strengthUnit).arg(q8).arg(strengthUnit),
               {FormatRange(model, 150, 300)}, modulusUnit);
        AddRow(QString("qu > %1 %2").arg(q8).arg(strengthUnit),
               {FormatRange(model, 300, std::numeric_limits<Real>::quiet_NaN())}, modulusUnit);
        AddLine("qu - unconfined compr. strength", "", 0, NoValue);
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

    const bool note = lastUnitSystem == UnitsSI;
    Label1->setText(note ? "Note: values above are strictly metric conversions of values from the English "
                           "units version."
                         : "");
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
