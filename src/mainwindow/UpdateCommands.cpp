// The Help menu's update commands and the quiet check after start-up.

#include "UpdateCommands.h"

#include "MainWindow.h"
#include "VersionFoldersPlacement.h"
#include "ui_MainWindow.h"
#include "update/UpdateSignature.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QShowEvent>
#include <QTimer>

#include <exception>

namespace slabwise {

namespace {

const QString AutoUpdatesKey = QStringLiteral("AutoUpdates");

// An error of a command is shown, as the application's default handler
// would, and the program continues.
template <class F> void ShowingErrors(TDialogs& dialogs, QWidget* window, F&& command) {
    try {
        command();
    } catch (const std::exception& error) {
        dialogs.ShowMessage(window, QString::fromLocal8Bit(error.what()));
    }
}

QSettings ProductSettings() {
    return QSettings{QLatin1String(MakerName), QLatin1String(ProductName)};
}

} // namespace

bool InplaceInstallation(const QString& programFolder) {
    const QFileInfo folder(programFolder);
    return folder.isDir() && folder.isWritable();
}

bool ReadAutoUpdates() {
    return ProductSettings().value(AutoUpdatesKey, 1).toInt() != 0;
}

void WriteAutoUpdates(bool on) {
    ProductSettings().setValue(AutoUpdatesKey, on ? 1 : 0);
}

void TfrmMain::SetUpUpdates() {
    updates_ = std::make_unique<TUpdateCommands>();
    TUpdateCommands& updates = *updates_;
    // The save question comes before anything is started; once answered,
    // the started update ends the program.
    updates.OwnShell = std::make_unique<TQtUpdateShell>([this] { return QuerySaveChanges(); },
                                                        [] { QCoreApplication::exit(0); });
    updates.Shell = updates.OwnShell.get();
    updates.Inplace = InplaceInstallation(QCoreApplication::applicationDirPath());
    updates.Context.Website = QUrl(QLatin1String(MakerHomePage));
    updates.Context.WebsiteName = QLatin1String(MakerName);
    updates.Context.PublicKey = BuildPublicKey();
    updates.Context.ProgramFile = QCoreApplication::applicationFilePath();

    updates.Timer1 = new QTimer(this);
    updates.Timer1->setObjectName(QStringLiteral("Timer1"));
    updates.Timer1->setInterval(1000);
    connect(updates.Timer1, &QTimer::timeout, this,
            [this] { ShowingErrors(dialogs_, this, [this] { Timer1Timer(); }); });
    connect(ui->ACheckUpdates, &QAction::triggered, this,
            [this] { ShowingErrors(dialogs_, this, [this] { ACheckUpdatesExecute(); }); });
    connect(ui->AAutoUpdate, &QAction::triggered, this,
            [this] { ShowingErrors(dialogs_, this, [this] { AAutoUpdateExecute(); }); });
}

TUpdateCommands& TfrmMain::Updates() {
    return *updates_;
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (updates_->Shown) return;
    updates_->Shown = true;
    ui->AAutoUpdate->setChecked(ReadAutoUpdates());
    updates_->Timer1->start();
}

void TfrmMain::Timer1Timer() {
    updates_->Timer1->stop();
    if (ui->AAutoUpdate->isChecked()) RunCheck(true);
}

void TfrmMain::ACheckUpdatesExecute() {
    RunCheck(false);
}

void TfrmMain::AAutoUpdateExecute() {
    // The action flips its own check mark when triggered; the setting follows
    // it and takes effect at the next start.
    WriteAutoUpdates(ui->AAutoUpdate->isChecked());
}

void TfrmMain::RunCheck(bool silent) {
    TUpdateCommands& updates = *updates_;
    TUpdateContext context = updates.Context;
    if (context.CurrentVersion.isEmpty()) context.CurrentVersion = GetVersionText();
    if (context.DataFolder.isEmpty()) context.DataFolder = GetUserDataFolder();
    // The user's own check replaces a quiet one still running unseen.
    if (updates.Quiet) updates.Quiet->AbortUnseen();
    TfrmCheckUpdates* quiet =
        RunUpdateCheck(this, *updates.Shell, context, silent, updates.PageUrl, updates.Inplace);
    if (silent) updates.Quiet = quiet;
}

} // namespace slabwise
