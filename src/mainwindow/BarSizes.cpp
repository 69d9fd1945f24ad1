// The bar-size lists and the bar system as the model holds them.

#include "MainWindow.h"

#include "ui_MainWindow.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <algorithm>

namespace slabwise {

void TfrmMain::FillBarSizeCombos() {
    FillBarSizeCombo(*ui->ComboBox2);
    FillBarSizeCombo(*ui->ComboBox3);
}

void TfrmMain::FillBarSizeCombo(QComboBox& combo) {
    const QSignalBlocker blocker(combo);
    const QString remembered = combo.currentIndex() >= 0 ? combo.currentText() : QString();
    combo.clear();
    for (const TBarRow& row : model_->BarTable)
        if (row.Bar != 0) combo.addItem(QString::fromStdString(model_->BarLabel(row.Bar)));
    const int found = combo.findText(remembered, Qt::MatchExactly);
    combo.setCurrentIndex(found >= 0 ? found : 0);
}

void TfrmMain::SelectBarSize(QComboBox& combo, int32_t bar) {
    const QSignalBlocker blocker(combo);
    int found = combo.findText(QStringLiteral("#%1").arg(bar), Qt::MatchExactly);
    if (found < 0) found = combo.findText(QStringLiteral("%1M").arg(bar), Qt::MatchExactly);
    combo.setCurrentIndex(found >= 0 ? found : 0);
}

int32_t TfrmMain::GetBarSize(const QComboBox& combo) const {
    QString text = combo.currentText();
    if (const qsizetype hash = text.indexOf(QLatin1Char('#')); hash >= 0) text.remove(hash, 1);
    text = text.trimmed();
    if (const qsizetype m = text.indexOf(QLatin1Char('M')); m >= 0) text.remove(m, 1);
    text = text.trimmed();
    bool ok = false;
    const int32_t bar = text.toInt(&ok);
    return ok && bar != 0 ? bar : model_->BarTable[0].Bar;
}

void TfrmMain::ShowBarSystem() {
    const QSignalBlocker blocker(ui->ComboBox4);
    ui->ComboBox4->setCurrentIndex(std::clamp<int32_t>(model_->BarSystem, BarSystemUS, BarSystemCanadian));
}

} // namespace slabwise
