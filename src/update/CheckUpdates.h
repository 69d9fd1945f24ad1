#pragma once

#include "UpdateShell.h"
#include "WebUpdate.h"

#include <QDialog>
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

#include <memory>

class QFontMetrics;
class QTimer;

namespace Ui {
class TfrmCheckUpdates;
}

namespace slabwise {

// What the check needs to know of the program that runs it.
struct TUpdateContext {
    // The running program's version text ("1.0.2").
    QString CurrentVersion;
    // The per-user data folder; downloads go to its "Update" folder.
    QString DataFolder;
    QString WebsiteName = QStringLiteral("Kelvane");
    QUrl Website;
    // The maker's public key; empty when the build carries none.
    QByteArray PublicKey;
    QString ProgramFile;
    QList<QSslCertificate> ExtraCaCertificates;
    TDeadlines Deadlines;
};

// Shortens a path or address to a width by putting "..." in place of the
// first folders after its root.
QString ShortenPath(const QString& path, const QFontMetrics& metrics, int width);

// The update dialog: runs one check half a second after it was created,
// shows its progress and asks before anything is downloaded.
class TfrmCheckUpdates : public QDialog {
    Q_OBJECT

public:
    TfrmCheckUpdates(QWidget* parent, TUpdateShell& shell, const TUpdateContext& context);
    ~TfrmCheckUpdates() override;

    TWebUpdate& wupd() { return *wupd_; }
    bool Silent = false;

    void CloseBtnClick();
    void Timer1Timer();

    static const QString MajorUpdateText;
    static const QString ExecuteErrorText;
    static const QString AbortQuestion;
    static const QString AbortCheckQuestion;
    static const QString AbortUpdateQuestion;
    static const QString CheckFailedTitle;
    static const QString UpdateFailedTitle;
    static const QString UpdateRefusedTitle;
    static const QString UpdateWaitsTitle;
    static const QString UpdateWaitsText;
    // What the user is told of a failure: its title, a line break, and what
    // failed.
    static QString FailureTitle(const TUpdateFailure& failure, bool consented);
    static QString FailureMessage(const TUpdateFailure& failure, bool consented);
    // Shows the dialog of a check that ran unseen so far.
    void ShowUnseen();
    // Ends a check that has shown nothing yet, quietly.
    void AbortUnseen();
    QString InstallQuestion() const;
    QString WebsiteQuestion() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // The progress bar and its count, at 0 of 0.
    void ShowProgressFromNothing();
    void wupdDownload(qint64 total, qint64 downloaded);
    void wupdDownloadError();
    void wupdNoUpdateFound();
    void wupdUpdateAvailable(const QString& actualVersion, const QString& newVersion, bool& canUpdate);
    void wupdAfterShowInfo(bool checkForUpdate);
    void wupdGetClientFileName(QString& fileName);
    void wupdBeforeDownload(const QString& fileName);
    void wupdAfterDownload(const QString& fileName);
    void wupdCannotExecute();
    void wupdStage(TUpdateStage stage);
    void wupdUpdateDeferred(const QString& fileName);
    // The dialog's final state: a title, what happened, and a Close button.
    void ShowOutcome(const QString& title, const QString& text);
    // Closes now, or once the running check has returned.
    void CloseDialog();

    std::unique_ptr<Ui::TfrmCheckUpdates> ui;
    TUpdateShell& shell_;
    TUpdateContext context_;
    std::unique_ptr<TWebUpdate> wupd_;
    QTimer* Timer1 = nullptr;
    bool downloadErrorAttached_ = true;
    bool closeRequested_ = false;
    // The user agreed to the update: from here a quiet check reports too.
    bool consented_ = false;
};

// Creates the dialog and runs one check in it. On demand the dialog is
// modal and released when it closes. A quiet check runs unseen and returns
// at once; its dialog shows itself only when there is an update to offer
// and deletes itself when done (the returned pointer is for aborting it).
TfrmCheckUpdates* RunUpdateCheck(QWidget* parent, TUpdateShell& shell, const TUpdateContext& context,
                                 bool silent, const QString& pageUrl, bool inplace);

} // namespace slabwise
