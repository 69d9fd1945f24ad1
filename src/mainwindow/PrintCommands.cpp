// Print and Export PDF of the main window.

#include "PrintCommands.h"

#include "MainWindow.h"
#include "report/ReportOutput.h"

#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>

namespace slabwise {

namespace {

// "Report Status": which page is being made. Repainted at once, since the
// report runs without returning to the event loop.
class TReportStatus : public QDialog {
public:
    TReportStatus(QWidget* parent, QString format) : QDialog(parent), format_(std::move(format)) {
        setObjectName(QStringLiteral("ReportStatus"));
        setWindowTitle(QStringLiteral("Report Status"));
        auto* layout = new QVBoxLayout(this);
        label_ = new QLabel(this);
        label_->setMinimumWidth(240);
        label_->setAlignment(Qt::AlignCenter);
        layout->addWidget(label_);
    }
    void Page(int page) {
        label_->setText(QString(format_).replace(QLatin1String("%p"), QString::number(page)));
        if (!isVisible()) show();
        label_->repaint();
    }

private:
    QString format_;
    QLabel* label_ = nullptr;
};

const QString GeneratingPage = QStringLiteral("Generating page %p");
const QString PrintingPage = QStringLiteral("Printing page %p");

} // namespace

std::unique_ptr<TReportSource> MakeReportSource(const TfrmMain& window) {
    return std::make_unique<TProjectReportSource>(window.Model());
}

void TfrmMain::APrintExecute() {
    const TReportOutput output = dialogs_.ChooseReportOutput(this);
    if (output == TReportOutput::Cancel) return;
    if (output == TReportOutput::PdfFile) {
        AExportPdfExecute();
        return;
    }
    const auto source = MakeReportSource(*this);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Kelvane Slabwise"));
    if (QPrinterInfo::defaultPrinter().isNull()) printer.setPageSize(LocaleDefaultPaper());
    if (output == TReportOutput::Printer) {
        if (!dialogs_.SetUpPrinter(this, printer)) return;
        TReportStatus status(this, PrintingPage);
        PrintReport(*source, printer, [&status](int page) { status.Page(page); });
        return;
    }
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("ReportPreview"));
    preview.setWindowTitle(QStringLiteral("Report Preview"));
    preview.setWindowState(Qt::WindowMaximized);
    if (auto* pages = preview.findChild<QPrintPreviewWidget*>()) {
        pages->setZoomMode(QPrintPreviewWidget::CustomZoom);
        pages->setZoomFactor(1.0);
    }
    // The preview asks for the pages again whenever its printer changes,
    // also when the user prints from it.
    QString failure;
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* target) {
        // The preview draws through a picture engine; anything else prints.
        const bool previewing =
            target->paintEngine() && target->paintEngine()->type() == QPaintEngine::Picture;
        TReportStatus status(&preview, previewing ? GeneratingPage : PrintingPage);
        try {
            PrintReport(*source, *target, [&status](int page) { status.Page(page); });
        } catch (const std::exception& error) {
            failure = QString::fromLocal8Bit(error.what());
        }
    });
    dialogs_.RunModal(preview);
    if (!failure.isEmpty()) dialogs_.ShowMessage(this, failure);
}

void TfrmMain::AExportPdfExecute() {
    const auto source = MakeReportSource(*this);
    const QString preset = FileName().isEmpty()
                               ? QStringLiteral("Slabwise Report.pdf")
                               : QFileInfo(FileName()).path() + u'/' +
                                     QFileInfo(FileName()).completeBaseName() + QStringLiteral(".pdf");
    const QString chosen = dialogs_.SaveReportFile(this, documentsFolder_, preset);
    if (chosen.isEmpty()) return;
    TReportStatus status(this, GeneratingPage);
    WriteReportPdf(*source, chosen, DefaultReportPaper(), ProjectPdfTexts(*source),
                   [&status](int page) { status.Page(page); });
}

} // namespace slabwise
