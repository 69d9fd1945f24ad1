#include "CheckUpdates.h"

#include "ui_CheckUpdates.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QTimer>

#include <cmath>

static void RegisterUpdateResources() {
    Q_INIT_RESOURCE(Update);
}

namespace slabwise {

const QString TfrmCheckUpdates::MajorUpdateText =
    QStringLiteral("There is new major version of software available.\n"
                   "Major updates are not free. Please visit our website for more information.");
const QString TfrmCheckUpdates::ExecuteErrorText = QStringLiteral("Error executing downloaded file!");
const QString TfrmCheckUpdates::AbortQuestion = QStringLiteral("Are you sure you want to abort downloading?");
const QString TfrmCheckUpdates::AbortCheckQuestion =
    QStringLiteral("Are you sure you want to abort the check for updates?");
const QString TfrmCheckUpdates::AbortUpdateQuestion =
    QStringLiteral("Are you sure you want to abort the update?");
const QString TfrmCheckUpdates::CheckFailedTitle = QStringLiteral("The check for updates failed.");
const QString TfrmCheckUpdates::UpdateFailedTitle = QStringLiteral("The update failed.");
const QString TfrmCheckUpdates::UpdateRefusedTitle = QStringLiteral("The update was refused.");
const QString TfrmCheckUpdates::UpdateWaitsTitle = QStringLiteral("The update waits.");
const QString TfrmCheckUpdates::UpdateWaitsText =
    QStringLiteral("The program stays open with your project. The verified update is kept in the update "
                   "folder; check for updates again once the project is saved.");

// Once the user agreed to install, what fails is the update, not the check.
QString TfrmCheckUpdates::FailureTitle(const TUpdateFailure& failure, bool consented) {
    if (failure.Refused()) return UpdateRefusedTitle;
    return consented ? UpdateFailedTitle : CheckFailedTitle;
}

QString TfrmCheckUpdates::FailureMessage(const TUpdateFailure& failure, bool consented) {
    return FailureTitle(failure, consented) + QLatin1Char('\n') + failure.Text;
}

QString TfrmCheckUpdates::InstallQuestion() const {
    return QStringLiteral("There is new version of software available for \ndownload at the ") +
           context_.WebsiteName +
           QStringLiteral(" website.\n\nDo you want to install new version? Program will be restarted.");
}

QString TfrmCheckUpdates::WebsiteQuestion() const {
    return QStringLiteral("There is new version of software available for \ndownload at the ") +
           context_.WebsiteName + QStringLiteral(" website.\n\nDo you want to visit the website now?");
}

QString ShortenPath(const QString& path, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width) return path;
    // The root stays: "scheme://host/" of an address, "/" of a path.
    qsizetype rootEnd = 0;
    if (const qsizetype scheme = path.indexOf(QLatin1String("://")); scheme >= 0)
        rootEnd = path.indexOf(QLatin1Char('/'), scheme + 3) + 1;
    else if (path.startsWith(QLatin1Char('/')))
        rootEnd = 1;
    if (rootEnd <= 0) return metrics.elidedText(path, Qt::ElideMiddle, width);
    const QString root = path.left(rootEnd);
    QStringList parts = path.mid(rootEnd).split(QLatin1Char('/'));
    while (parts.size() > 1) {
        parts.removeFirst();
        QString shortened = root + QStringLiteral("...") + QLatin1Char('/') + parts.join(QLatin1Char('/'));
        if (metrics.horizontalAdvance(shortened) <= width) return shortened;
    }
    return metrics.elidedText(path, Qt::ElideMiddle, width);
}

TfrmCheckUpdates::TfrmCheckUpdates(QWidget* parent, TUpdateShell& shell, const TUpdateContext& context)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmCheckUpdates>()), shell_(shell), context_(context),
      wupd_(std::make_unique<TWebUpdate>()) {
    RegisterUpdateResources();
    ui->setupUi(this);
    setFixedSize(size());
    ui->Label6->hide();
    ui->Label3->hide();
    ui->ProgressBar1->hide();
    ui->Image1->setPixmap(QIcon(QStringLiteral(":/update/update.svg")).pixmap(ui->Image1->size()));

    // FormCreate.
    TWebUpdate& client = *wupd_;
    client.Options = TUpdateOptions(uoRunUpdate) | uoTerminate | uoOverwrite;
    client.PublicKey = context_.PublicKey;
    client.Launcher = &shell_;
    if (!context_.ProgramFile.isEmpty()) client.ProgramFile = context_.ProgramFile;
    client.ExtraCaCertificates = context_.ExtraCaCertificates;
    client.Deadlines = context_.Deadlines;
    client.OnBeforeGetInfo = [] {};
    client.OnDownload = [this](qint64 total, qint64 downloaded) { wupdDownload(total, downloaded); };
    client.OnDownloadError = [this] { wupdDownloadError(); };
    client.OnNoUpdateFound = [this] { wupdNoUpdateFound(); };
    client.OnUpdateAvailable = [this](const QString& actual, const QString& next, bool& canUpdate) {
        wupdUpdateAvailable(actual, next, canUpdate);
    };
    client.OnAfterShowInfo = [this](bool checkForUpdate) { wupdAfterShowInfo(checkForUpdate); };
    client.OnGetClientFileName = [this](QString& fileName) { wupdGetClientFileName(fileName); };
    client.OnBeforeDownload = [this](const QString& fileName) { wupdBeforeDownload(fileName); };
    client.OnAfterDownload = [this](const QString& fileName) { wupdAfterDownload(fileName); };
    client.OnCannotExecute = [this] { wupdCannotExecute(); };
    client.OnStage = [this](TUpdateStage stage) { wupdStage(stage); };
    client.OnUpdateDeferred = [this](const QString& fileName) { wupdUpdateDeferred(fileName); };

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &TfrmCheckUpdates::Timer1Timer);
    Timer1->start();
    connect(ui->CloseBtn, &QPushButton::clicked, this, &TfrmCheckUpdates::CloseBtnClick);
}

TfrmCheckUpdates::~TfrmCheckUpdates() = default;

void TfrmCheckUpdates::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->Label4->setText(
        ShortenPath(wupd_->ProductInfo.URL(), ui->Label4->fontMetrics(), ui->Label4->width()));
    ui->Label5->setText(QStringLiteral("Current version: %1").arg(context_.CurrentVersion));
}

void TfrmCheckUpdates::Timer1Timer() {
    Timer1->stop();
    wupd_->ProductInfo.Version = context_.CurrentVersion;
    wupd_->CheckNow();
    if (closeRequested_) CloseDialog();
}

void TfrmCheckUpdates::CloseDialog() {
    if (wupd_->Busy()) {
        closeRequested_ = true;
        return;
    }
    closeRequested_ = false;
    wupd_->Abort();
    Timer1->stop();
    done(QDialog::Rejected);
}

void TfrmCheckUpdates::ShowUnseen() {
    if (isVisible()) return;
    // An update that will end the program is not downloaded under a window
    // the user goes on working in.
    setWindowModality(Qt::ApplicationModal);
    show();
}

void TfrmCheckUpdates::AbortUnseen() {
    if (isVisible()) return;
    downloadErrorAttached_ = false;
    wupd_->Abort();
    CloseDialog();
}

void TfrmCheckUpdates::CloseBtnClick() {
    // The transfer goes on while the question is open; it names what would
    // be lost.
    const TUpdateStage stage = wupd_->Stage();
    const QString& question = stage == TUpdateStage::Checking      ? AbortCheckQuestion
                              : stage == TUpdateStage::Downloading ? AbortQuestion
                                                                   : AbortUpdateQuestion;
    if (wupd_->Busy() && stage != TUpdateStage::Idle && !shell_.Ask(this, QMessageBox::Question, question))
        return;
    // The stopped transfer is not an error to report.
    downloadErrorAttached_ = false;
    wupd_->Abort();
    CloseDialog();
}

void TfrmCheckUpdates::reject() {
    CloseBtnClick();
}

void TfrmCheckUpdates::closeEvent(QCloseEvent* event) {
    event->ignore();
    CloseBtnClick();
}

void TfrmCheckUpdates::wupdDownload(qint64 total, qint64 downloaded) {
    ui->Label3->setText(QStringLiteral("%1 / %2 KB")
                            .arg(std::llround(static_cast<double>(downloaded) / 1024.0))
                            .arg(std::llround(static_cast<double>(total) / 1024.0)));
    if (total != 0)
        ui->ProgressBar1->setValue(static_cast<int>(
            std::lround(static_cast<double>(downloaded) / static_cast<double>(total) * 100.0)));
    // The client reports a few times a second and the event loop runs on:
    // the next paint shows it.
}

void TfrmCheckUpdates::wupdStage(TUpdateStage stage) {
    switch (stage) {
    case TUpdateStage::Checking:
        ui->Label2->setText(QStringLiteral("Checking..."));
        break;
    case TUpdateStage::Downloading:
        ui->Label2->setText(QStringLiteral("Downloading..."));
        break;
    case TUpdateStage::Verifying:
    case TUpdateStage::Unpacking:
        ui->Label2->setText(stage == TUpdateStage::Verifying ? QStringLiteral("Verifying...")
                                                             : QStringLiteral("Unpacking..."));
        // Each step's progress starts from nothing.
        ShowProgressFromNothing();
        break;
    case TUpdateStage::Starting:
        ui->Label2->setText(QStringLiteral("Starting the update..."));
        ui->Label3->hide();
        ui->ProgressBar1->hide();
        break;
    case TUpdateStage::Idle:
        break;
    }
}

void TfrmCheckUpdates::ShowOutcome(const QString& title, const QString& text) {
    ui->Label2->setText(title);
    ui->Label4->setWordWrap(true);
    ui->Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // The failure's sentences take the room of the version lines.
    ui->Label4->setGeometry(ui->Label4->x(), ui->Label4->y(), ui->Label4->width(),
                            ui->Label3->y() - ui->Label4->y());
    ui->Label4->setText(text);
    ui->Label4->setToolTip(QString());
    ui->Label4->raise();
    ui->Label5->hide();
    ui->Label6->hide();
    ui->Label3->hide();
    ui->ProgressBar1->hide();
    ui->CloseBtn->setText(QStringLiteral("&Close"));
}

void TfrmCheckUpdates::wupdDownloadError() {
    // One message per check: later errors of the same check are ignored.
    if (!downloadErrorAttached_) return;
    downloadErrorAttached_ = false;
    // A quiet check stays quiet about a page it could not read, but not
    // about an update the user agreed to.
    if (Silent && !consented_) {
        CloseDialog();
        return;
    }
    const TUpdateFailure& failure = wupd_->Failure();
    ShowOutcome(FailureTitle(failure, consented_), failure.Text);
    shell_.Notify(this, QMessageBox::Critical, FailureMessage(failure, consented_));
}

void TfrmCheckUpdates::wupdUpdateDeferred(const QString&) {
    ShowOutcome(UpdateWaitsTitle, UpdateWaitsText);
}

void TfrmCheckUpdates::wupdNoUpdateFound() {
    if (Silent) {
        CloseDialog();
        return;
    }
    ui->Label6->setText(QStringLiteral("You have the latest version"));
    ui->Label6->show();
    ui->CloseBtn->setText(QStringLiteral("&Close"));
}

void TfrmCheckUpdates::wupdUpdateAvailable(const QString&, const QString& newVersion, bool& canUpdate) {
    ShowUnseen();
    ui->Label6->setText(QStringLiteral("New version: %1").arg(newVersion));
    ui->Label6->show();
    // A release whose first two characters differ is a major upgrade,
    // which is not installed from here.
    if (newVersion.left(2) != context_.CurrentVersion.left(2)) {
        canUpdate = false;
        shell_.Notify(this, QMessageBox::Warning, MajorUpdateText);
    } else if (wupd_->PublicKey.isEmpty()) {
        // Without the maker's key nothing downloaded can be trusted; the
        // maker's site is offered instead.
        canUpdate = false;
        if (shell_.Ask(this, QMessageBox::Information, WebsiteQuestion())) shell_.OpenUrl(context_.Website);
    } else {
        canUpdate = shell_.Ask(this, QMessageBox::Warning, InstallQuestion());
        consented_ = canUpdate;
        if (canUpdate) return;
    }
    wupd_->Abort();
    CloseDialog();
}

void TfrmCheckUpdates::wupdAfterShowInfo(bool checkForUpdate) {
    if (!checkForUpdate) CloseDialog();
}

void TfrmCheckUpdates::wupdGetClientFileName(QString& fileName) {
    if (context_.DataFolder.isEmpty()) return;
    const QString folder = QDir(context_.DataFolder).filePath(QStringLiteral("Update")) + QLatin1Char('/');
    QDir().mkpath(folder);
    fileName = folder + QFileInfo(fileName).fileName();
}

void TfrmCheckUpdates::wupdBeforeDownload(const QString& fileName) {
    // A new transfer starts at 0 %, whatever the page's transfer counted.
    ShowProgressFromNothing();
    ui->Label4->setText(ShortenPath(fileName, ui->Label4->fontMetrics(), ui->Label4->width()));
    ui->Label4->setToolTip(fileName);
}

void TfrmCheckUpdates::ShowProgressFromNothing() {
    ui->ProgressBar1->setValue(0);
    ui->Label3->setText(QStringLiteral("0 / 0 KB"));
    ui->Label3->show();
    ui->ProgressBar1->show();
}

void TfrmCheckUpdates::wupdAfterDownload(const QString&) {
    ui->Label3->hide();
    ui->ProgressBar1->hide();
}

void TfrmCheckUpdates::wupdCannotExecute() {
    shell_.Notify(this, QMessageBox::Critical, ExecuteErrorText);
}

TfrmCheckUpdates* RunUpdateCheck(QWidget* parent, TUpdateShell& shell, const TUpdateContext& context,
                                 bool silent, const QString& pageUrl, bool inplace) {
    if (silent) {
        auto* dialog = new TfrmCheckUpdates(parent, shell, context);
        dialog->Silent = true;
        dialog->wupd().Inplace = inplace;
        dialog->wupd().ProductInfo.SetURL(pageUrl);
        // It closes through done(), never under its running check.
        QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
        return dialog;
    }
    TfrmCheckUpdates dialog(parent, shell, context);
    dialog.wupd().Inplace = inplace;
    dialog.wupd().ProductInfo.SetURL(pageUrl);
    shell.RunModal(dialog);
    return nullptr;
}

} // namespace slabwise
