// The main window's export commands.

#include "MainWindow.h"

#include "model/ResultsCsv.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <exception>

namespace slabwise {

void TfrmMain::AddExportActions() {
    auto* exportCsv = new QAction(QStringLiteral("Export CSV..."), this);
    exportCsv->setObjectName(QStringLiteral("AExportCsv"));
    exportCsv->setStatusTip(QStringLiteral("Write the results at the nodes to a CSV file"));
    // With the other exports: after Export PDF.
    const QList<QAction*> items = ui->File1->actions();
    const qsizetype after = items.indexOf(ui->AExportPdf);
    ui->File1->insertAction(after >= 0 && after + 1 < items.size() ? items[after + 1] : nullptr, exportCsv);
    connect(exportCsv, &QAction::triggered, this, [this] {
        // As every command: an error is shown and the program goes on.
        try {
            AExportCsvExecute();
        } catch (const std::exception& error) {
            dialogs_.ShowMessage(this, QString::fromLocal8Bit(error.what()));
        }
    });
}

void TfrmMain::AExportCsvExecute() {
    // The field being edited counts, as for Save.
    CommitField(QApplication::focusWidget());
    const uint8_t units = ui->ComboBox1->currentIndex() == 0 ? UnitsEnglish : UnitsSI;
    ExportCsvAs(this, ExportPrompts, NodeResultsCsv(model_->Stations, units));
}

} // namespace slabwise
