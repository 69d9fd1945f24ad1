// New, Open and Save of the window's document, and what the window shows of it.

#include "MainWindow.h"

#include "EditValues.h"
#include "RecentFiles.h"
#include "report/OpenWarnings.h"
#include "ui_MainWindow.h"

#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabWidget>

#include <exception>
#include <optional>

namespace slabwise {

namespace {

const QString CaptionBase = QStringLiteral("Kelvane Slabwise");

const QString SaveQuestion = QStringLiteral("File is not saved. Do you want to save it now?");

} // namespace

QString TfrmMain::Caption() const {
    return fileName_.isEmpty() ? CaptionBase
                               : CaptionBase + QStringLiteral(" - ") + QFileInfo(fileName_).fileName();
}

void TfrmMain::SelectFirstPage() {
    const QSignalBlocker blocker(ui->PageControl1);
    ui->PageControl1->setCurrentIndex(0);
}

void TfrmMain::FocusUnits() {
    if (ui->ComboBox1->isEnabled()) ui->ComboBox1->setFocus(Qt::OtherFocusReason);
}

bool TfrmMain::QuerySaveChanges() {
    if (!Modified()) return true;
    switch (dialogs_.Confirm(this, SaveQuestion)) {
    case TAnswer::Yes:
        CommitBeforeAction(ui->ASave);
        ASaveExecute();
        return !Modified();
    case TAnswer::No:
        // The edits may go, but they are not gone yet: a command that stops
        // before replacing the project leaves it modified.
        return true;
    case TAnswer::Cancel:
        break;
    }
    return false;
}

void TfrmMain::ANewExecute() {
    if (!QuerySaveChanges()) return;
    document_->New();
    if (isVisible()) {
        SelectFirstPage();
        FocusUnits();
    }
}

void TfrmMain::DocumentChanged(TProjectDocument::TChanges what) {
    using enum TProjectDocument::TChange;
    // Nothing raised here may cross the document's signal.
    Guarded([this, what] {
        if (what & NewProject) {
            ShowBarSystem();
            SetEditText(*ui->Edit28, {});
            SetLogoPicture(std::nullopt);
            LayoutLogo();
            SetEditText(*ui->Edit33, {});
            SetEditText(*ui->Edit27, {});
            SetEditText(*ui->Edit29, {});
            ui->DateTimePicker1->setDate(QDate::currentDate());
            for (QLineEdit* edit : numberEdits_) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        if (what & (NewProject | OpenedProject)) {
            // What was said of the last project is not said of this one.
            ClearNotices();
            ShowBarSystem();
            UpdateDisplay();
            UpdateModel();
        }
        if (what & InputsRestored) {
            ShowBarSystem();
            UpdateDisplay();
            UpdateModel();
            // What the last commit changed is no longer what the window
            // shows.
            ClearNotices();
        }
        if (what & (NewProject | OpenedProject | FileName)) setWindowTitle(Caption());
        ui->Button3->setEnabled(logoPicture_.has_value());
    });
}

void TfrmMain::AOpenExecute() {
    if (!QuerySaveChanges()) return;
    const QString chosen = dialogs_.OpenProjectFile(
        this, documentsFolder_, fileName_.isEmpty() ? QStringLiteral("*.ksw") : fileName_);
    if (chosen.isEmpty()) return;
    OpenProjectFile(chosen);
}

void TfrmMain::OpenRecentFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        recentFiles_->Remove(path);
        dialogs_.ShowMessage(this, QStringLiteral("The project %1 no longer exists; it was removed from the "
                                                  "recent files.")
                                       .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!QuerySaveChanges()) return;
    OpenProjectFile(path);
}

void TfrmMain::OpenProjectFile(const QString& chosen) {
    // All or nothing: a refused file leaves the project, its name, its
    // modified flag and the window as they were.
    TOpenReport report;
    try {
        report = document_->Open(chosen);
    } catch (const std::exception& error) {
        dialogs_.ShowWarning(this, OpenRefusedWarning(chosen, error));
        return;
    }
    SelectFirstPage();
    FocusUnits();
    if (!report.Clean()) dialogs_.ShowWarning(this, OpenChangedWarning(chosen, report));
    recentFiles_->Add(fileName_);
}

void TfrmMain::OpenFromCommandLine(const QString& fileName) {
    OpenProjectFile(QFileInfo(fileName).absoluteFilePath());
}

void TfrmMain::ASaveExecute() {
    if (fileName_.isEmpty()) {
        ASaveAsExecute();
        return;
    }
    document_->Save();
    recentFiles_->Add(fileName_);
}

void TfrmMain::ASaveAsExecute() {
    const QString chosen = dialogs_.SaveProjectFile(
        this, documentsFolder_, fileName_.isEmpty() ? QStringLiteral("*.ksw") : fileName_);
    if (chosen.isEmpty()) return;
    CommitBeforeAction(ui->ASave);
    document_->SaveAs(chosen);
    recentFiles_->Add(fileName_);
}

} // namespace slabwise
