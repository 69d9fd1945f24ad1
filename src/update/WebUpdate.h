#pragma once

#include <QByteArray>
#include <QDate>
#include <QFlags>
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "UpdateManifest.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QEventLoop;
class QNetworkAccessManager;

namespace slabwise {

// How the published version is compared with the running one.
enum class TVersionFormat { vfStandard, vfString, vfNumber };

// What is being updated: the address of the update-information page and the
// running program's version.
class TProductInfo {
public:
    // Without "http://" or "https://" in front, "http://" is put there.
    const QString& URL() const { return url_; }
    void SetURL(const QString& url);

    QString Version = QStringLiteral("1.0");
    // The product the maker's manifests must name.
    QString Name = ReleaseProduct;
    TVersionFormat VersionFormat = TVersionFormat::vfStandard;

private:
    QString url_ = QStringLiteral("http://");
};

// Names of the META tags of the update-information page.
struct TTagInfo {
    QString ProductName = QStringLiteral("upProduct");
    QString Version = QStringLiteral("upVersion");
    QString ClientFileName = QStringLiteral("upClientSideName");
    QString Download = QStringLiteral("upDownload");
    QString RunParameters = QStringLiteral("upRunParameters");
    QString Redirection = QStringLiteral("upRedirection");
    QString DownloadInplace = QStringLiteral("upDownloadInplace");
    QString InplaceUtil = QStringLiteral("upInplaceUtil");
    QString VerDate = QStringLiteral("upVerDate");
    QString Author = QStringLiteral("upAuthor");
    QString Email = QStringLiteral("upEmail");
    // The maker's signed manifests (see UpdateManifest.h) with their
    // signatures, one pair per role.
    QString Manifest = ManifestTag(TPackageRole::Installer);
    QString ManifestSignature = ManifestSignatureTag(TPackageRole::Installer);
    QString InplaceManifest = ManifestTag(TPackageRole::InplaceArchive);
    QString InplaceManifestSignature = ManifestSignatureTag(TPackageRole::InplaceArchive);
    QString InplaceUtilManifest = ManifestTag(TPackageRole::InplaceUtility);
    QString InplaceUtilManifestSignature = ManifestSignatureTag(TPackageRole::InplaceUtility);
};

// Captions of an information box this program never shows.
struct TInfoCaption {
    QString OK = QStringLiteral("&OK");
    QString Cancel = QStringLiteral("&Cancel");
    QString CheckFuture = QStringLiteral("C&heck for updates in the future");
};

enum TUpdateOption : unsigned {
    uoRunUpdate = 1, // start what was downloaded
    uoTerminate = 2, // end the program after starting it
    uoOverwrite = 4, // replace an existing local file
};
Q_DECLARE_FLAGS(TUpdateOptions, TUpdateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TUpdateOptions)

// Starting what an update brought and ending the program: the one place
// where downloaded code reaches the system, so tests record it instead.
class TUpdateLauncher {
public:
    virtual ~TUpdateLauncher() = default;
    // Whether the program may end now (asked before anything is started;
    // the owner saves the open project or is told to wait).
    virtual bool MayEnd() { return true; }
    // Hands a package to the desktop's installer for its kind.
    virtual bool OpenWithDesktop(const QString& file) = 0;
    // Runs a program with the given arguments, detached.
    virtual bool Run(const QString& program, const QStringList& arguments) = 0;
    // Ends the program after a started update.
    virtual void Terminate() = 0;
};

// Limits on what a server may send.
inline constexpr qint64 MaxPageBytes = qint64{64} * 1024;
inline constexpr qint64 MaxDownloadBytes = qint64{512} * 1024 * 1024;
inline constexpr int MaxRedirections = 5;
// Bytes a transfer reads at once at most, and how much it buffers.
inline constexpr qint64 BlockBytes = qint64{1} << 20;
// Progress events of one transfer are this far apart at least.
inline constexpr int ProgressIntervalMs = 100;

// How long a transfer may take in all, however slowly the server drips.
struct TDeadlines {
    int PageMs = 15000;
    // A package may take this long plus its length at the floor rate.
    int DownloadGraceMs = 15000;
    qint64 FloorBytesPerSecond = qint64{64} * 1024;
};

// Where a check is; the owner shows it and words its questions by it.
enum class TUpdateStage { Idle, Checking, Downloading, Verifying, Unpacking, Starting };

// Why a check failed. Refused kinds are the update's fault (its manifest,
// its bytes, its archive, its version), the others the way to it.
enum class TFailureKind {
    None,
    Address,
    NoAnswer,
    NameNotFound,
    ConnectionRefused,
    Certificate,
    HttpStatus,
    Redirect,
    Network,
    Incomplete,
    PageIncomplete,
    LocalFile,
    TooLarge,
    NoKey,
    NoManifest,
    Signature,
    Manifest,
    NotNewer,
    PackageMismatch,
    UnsafeArchive,
    Archive,
};

struct TUpdateFailure {
    TFailureKind Kind = TFailureKind::None;
    // One or two sentences naming what failed.
    QString Text;
    bool Refused() const;
};

// The values a page may carry, by tag name; the last occurrence of a name
// wins. Lines without "META NAME" are skipped.
std::map<QString, QString> ParseInfoPage(const QStringList& lines);
// "YYYYMMDD" as a date; anything else gives a null date.
QDate ParseVerDate(const QString& text);
// Whether `remote` is a newer version than `local`.
bool IsNewerVersion(const QString& local, const QString& remote, TVersionFormat format);

// The update client: reads the update-information page, compares versions,
// downloads, verifies and unpacks a release and starts it. It shows nothing:
// every step is an event for its owner.
class TWebUpdate {
public:
    TWebUpdate();
    ~TWebUpdate();
    TWebUpdate(const TWebUpdate&) = delete;
    TWebUpdate& operator=(const TWebUpdate&) = delete;

    TProductInfo ProductInfo;
    TTagInfo TagInfo;
    TInfoCaption InfoCaption;
    QString UserName;
    QString Password;
    TUpdateOptions Options = TUpdateOptions(uoRunUpdate) | uoTerminate;
    bool Inplace = false;
    static QString Version() { return QStringLiteral("1.1"); }

    // The maker's Ed25519 public key (32 bytes); empty when the build has
    // none, and then nothing downloaded is ever unpacked or started.
    QByteArray PublicKey;
    // Where the check starts things and how it ends the program; without
    // one, nothing is started.
    TUpdateLauncher* Launcher = nullptr;
    // The running program, for the in-place utility's arguments.
    QString ProgramFile;
    // Certificates trusted besides the system's.
    QList<QSslCertificate> ExtraCaCertificates;
    // Refuses every address but the loopback one (tests run so).
    bool LoopbackOnly = false;
    TDeadlines Deadlines;

    // Events.
    std::function<void()> OnBeforeGetInfo, OnAfterGetInfo, OnNoUpdateFound, OnDownloadError, OnCannotExecute;
    std::function<void(qint64 total, qint64 downloaded)> OnDownload;
    std::function<void(const QString& actualVersion, const QString& newVersion, bool& canUpdate)>
        OnUpdateAvailable;
    std::function<void(bool& showInfo, bool& checkForUpdate)> OnBeforeShowInfo;
    std::function<void(bool checkForUpdate)> OnAfterShowInfo;
    std::function<void(QString& fileName)> OnGetClientFileName;
    std::function<void(const QString& fileName, bool& overwrite)> OnClientFileExists;
    std::function<void(const QString&fileName)> OnBeforeDownload, OnAfterDownload;
    // The check moved on to another stage.
    std::function<void(TUpdateStage stage)> OnStage;
    // The package is downloaded and verified but the program may not end
    // now; it stays where it is for the next check.
    std::function<void(const QString& fileName)> OnUpdateDeferred;

    // Runs one complete check; does nothing while one runs.
    void CheckNow();
    // Stops the running transfer at its next look and the check with it.
    void Abort();

    bool Busy() const { return busy_; }
    bool Succeeded() const { return succeeded_; }
    TUpdateStage Stage() const { return stage_; }
    // The first failure of the last check.
    const TUpdateFailure& Failure() const { return failure_; }
    qint64 TotalBytes() const { return totalBytes_; }
    qint64 DownloadedBytes() const { return downloadedBytes_; }
    const QStringList& PageLines() const { return pageLines_; }

    // Page values.
    QString InfoProductName, InfoVersion, InfoClientFileName, InfoDownload, InfoRunParameters,
        InfoRedirection, InfoDownloadInplace, InfoInplaceUtil, InfoAuthor, InfoEmail, InfoManifest,
        InfoManifestSignature, InfoInplaceManifest, InfoInplaceManifestSignature, InfoInplaceUtilManifest,
        InfoInplaceUtilManifestSignature;
    QDate InfoVerDate;

    // Local paths of the last download.
    const QString& ClientFile() const { return clientFile_; }
    const QString& InplaceUtilFile() const { return inplaceUtilFile_; }
    const QString& UnzipFolder() const { return unzipFolder_; }

    // Steps of a check, open for the tests of each.
    void GetInfo();
    bool IsNewer();
    void DownloadUpdate();
    // Fetches an address into the page lines, or into a file that must be
    // what its manifest says (length announced and kept, SHA-256);
    // fires OnDownloadError on failure, not on abort.
    bool HttpGet(const QUrl& url, const QString& localFile = {}, const TManifest* expected = nullptr);
    // The in-place utility's three arguments as one quoted text.
    static QString QuoteParameters(const QStringList& parameters);

private:
    bool ShowInfo();
    void StartUpdate();
    void Fail(TFailureKind kind, const QString& text);
    void SetStage(TUpdateStage stage);
    bool FetchAllowed(const QUrl& url, const QUrl& from) const;
    // Reads and checks the signed manifests the mode needs.
    bool AcceptManifests();
    std::optional<TManifest> AcceptManifest(TPackageRole role, const QString& text, const QString& signature);
    // Whether a file already on disk is the manifest's (hashed off the window's thread).
    bool KeptFileMatches(const QString& file, const TManifest& manifest);
    bool Obtain(const QString& address, const QString& file, const TManifest& manifest);
    bool Unpack(const QString& archive, const QString& folder);
    // Runs `work` on a thread of its own while the event loop goes on;
    // `poll` runs every tenth of a second meanwhile and once after.
    void RunOffThread(const std::function<void()>& work, const std::function<void()>& poll);
    void ClearPageValues();
    void StorePageValues();

    QNetworkAccessManager& Network();

    bool busy_ = false;
    bool abortRequested_ = false;
    bool succeeded_ = false;
    TUpdateStage stage_ = TUpdateStage::Idle;
    TUpdateFailure failure_;
    std::optional<TManifest> packageManifest_, utilManifest_;
    qint64 totalBytes_ = 0;
    qint64 downloadedBytes_ = 0;
    QStringList pageLines_;
    QString clientFile_, inplaceUtilFile_, unzipFolder_;
    std::unique_ptr<QNetworkAccessManager> network_;
    QEventLoop* waiting_ = nullptr;
};

} // namespace slabwise
