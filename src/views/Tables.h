#pragma once

#include "Exports.h"
#include "model/MatData.h"

#include <QDialog>
#include <QStringList>

#include <cstdint>
#include <vector>

class QPushButton;
class QTableWidget;

namespace slabwise {

// The slope as the table and the printed table show it: the model holds
// radians, the column is headed in degrees.
Real SlopeInDegrees(Real radians);

// The texts of the results table: the column captions (a blank first
// column, "Node #", then the station values, each "name, unit") and, per
// regular node, one text per column.
struct TResultsTableTexts {
    QStringList Captions;
    std::vector<QStringList> Rows;
};
QStringList ResultsTableCaptions(uint8_t unitSystem);
TResultsTableTexts ResultsTableTexts(const std::array<TMatStation, StationCount>& stations,
                                     uint8_t unitSystem);

// The results at the 101 regular nodes of the strip in a read-only grid. The
// window keeps its own copy of the stations, so a recalculation while it is
// open does not change it.
class TfrmTable : public QDialog {
    Q_OBJECT
public:
    // unitSystem: the one chosen in the main window; it names the columns.
    explicit TfrmTable(uint8_t unitSystem, QWidget* parent = nullptr);
    // Ready to show: captions by the model's unit system, filled from its stations.
    TfrmTable(const TMatData& model, QWidget* parent);

    void Fill(const std::array<TMatStation, StationCount>& stations);
    const std::vector<TMatStation>& Stations() const { return stations_; }
    // The text of a cell as shown.
    QString CellText(int row, int column) const;
    QString ColumnCaption(int column) const;
    // The selected rows under the column captions, a tab between cells and
    // a line feed after each row; empty when nothing is selected.
    QString SelectedText() const;
    // SelectedText to the clipboard (Ctrl+C, or Copy in the context menu).
    void CopySelection() const;

    QTableWidget* ListView1 = nullptr;

    // "Export CSV...": the rows at full precision, to a file the user picks.
    void ButtonExportCsvClick();
    QPushButton* ButtonExportCsv = nullptr;
    TExportPrompts Prompts = QtExportPrompts();

private:
    void FormCreate(uint8_t unitSystem);
    void SizeColumns();
    void AddExportButton(uint8_t unitSystem);

    std::vector<TMatStation> stations_;
    uint8_t unitSystem_ = 0;
};

} // namespace slabwise
