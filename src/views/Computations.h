#pragma once

#include "model/MatData.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QLabel;
class QTableWidget;

namespace slabwise {

// A small modal list of captions and values; the subgrade-modulus help is
// the table it shows from the geometry page.
class TfrmComputations : public QDialog {
    Q_OBJECT

public:
    explicit TfrmComputations(QWidget* parent = nullptr);

    // Caption of the window and of its columns. Columns beyond two are as
    // wide as the second and widen the window by as much; a column without
    // its own alignment takes the last one given.
    void SetColumns(const QString& caption, const QStringList& columns,
                    const QList<Qt::Alignment>& alignments);
    // NaN shows "N.A."; NoValue leaves the value cell empty.
    void AddLine(const QString& caption, const QString& unit, int decimals, Real value);
    // Numbers with 3 decimals, anything else as its text; the unit follows
    // each cell when given.
    void AddRow(const QString& caption, const QList<QVariant>& values, const QString& unit);

    // Fills the window with the subgrade-modulus ranges of the model's unit
    // system when `senderTag` is 1, and sizes it; the note under the list
    // shows when the captions were last written for SI units.
    void BuildSubgradeHelp(int senderTag, const TMatData& model, uint8_t lastUnitSystem);
    // The marker of a line that has a caption and no value.
    static constexpr Real NoValue = -2147483647;

    QTableWidget* ListView1 = nullptr;
    QLabel* Label1 = nullptr;

private:
    void FormCreate();
    int AppendRow(const QString& caption);
    void SetCell(int row, int column, const QString& text);
    void LayoutList(int noteHeight);
    QList<Qt::Alignment> alignments_;
};

} // namespace slabwise
