// The real dialogs around the printed report.

#include "Dialogs.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QVBoxLayout>

namespace slabwise {

TReportOutput TQtDialogs::ChooseReportOutput(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("OutputOptions"));
    dialog.setWindowTitle(QStringLiteral("Output Options"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* group = new QButtonGroup(&dialog);
    const std::pair<const char*, TReportOutput> choices[] = {{"Print Pre&view", TReportOutput::Preview},
                                                             {"&Printer", TReportOutput::Printer},
                                                             {"PDF &File", TReportOutput::PdfFile}};
    for (const auto& [caption, output] : choices) {
        auto* button = new QRadioButton(QString::fromLatin1(caption), &dialog);
        group->addButton(button, static_cast<int>(output));
        layout->addWidget(button);
    }
    group->button(static_cast<int>(TReportOutput::Preview))->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return TReportOutput::Cancel;
    return static_cast<TReportOutput>(group->checkedId());
}

bool TQtDialogs::SetUpPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString TQtDialogs::SaveReportFile(QWidget* parent, const QString& folder, const QString& preset) {
    QFileDialog dialog(parent, QStringLiteral("Export PDF"), folder, QString::fromLatin1(ReportFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!preset.isEmpty()) dialog.selectFile(preset);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace slabwise
