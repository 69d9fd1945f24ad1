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
    static const QString WebErrorText;
    static const QString ExecuteErrorText;
    static const QString AbortQuestion;
    QString InstallQuestion() const;
    QString WebsiteQuestion() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void wupdDownload(qint64 total, qint64 downloaded);
    void wupdDownloadError();
    void wupdNoUpdateFound();
    void wupdUpdateAvailable(const QString& actualVersion, const QString& newVersion, bool& canUpdate);
    void wupdAfterShowInfo(bool checkForUpdate);
    void wupdGetClientFileName(QString& fileName);
    void wupdBeforeDownload(const QString& fileName);
    void wupdAfterDownload(const QString& fileName);
    void wupdCannotExecute();
    // Closes now, or once the running check has returned.
    void CloseDialog();

    std::unique_ptr<Ui::TfrmCheckUpdates> ui;
    TUpdateShell& shell_;
    TUpdateContext context_;
    std::unique_ptr<TWebUpdate> wupd_;
    QTimer* Timer1 = nullptr;
    bool downloadErrorAttached_ = true;
    bool closeRequested_ = false;
};

// Creates the dialog, runs one check in it modally and releases it.
void RunUpdateCheck(QWidget* parent, TUpdateShell& shell, const TUpdateContext& context, bool silent,
                    const QString& pageUrl, bool inplace);

} // namespace slabwise
