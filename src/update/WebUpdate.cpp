#include "WebUpdate.h"

#include "UpdateArchive.h"
#include "UpdateSignature.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSslConfiguration>
#include <QStandardPaths>
#include <QTimer>

#include <atomic>
#include <cmath>
#include <thread>

namespace slabwise {

bool TUpdateFailure::Refused() const {
    switch (Kind) {
    case TFailureKind::TooLarge:
    case TFailureKind::NoKey:
    case TFailureKind::NoManifest:
    case TFailureKind::Signature:
    case TFailureKind::Manifest:
    case TFailureKind::NotNewer:
    case TFailureKind::PackageMismatch:
    case TFailureKind::UnsafeArchive:
    case TFailureKind::Archive:
        return true;
    case TFailureKind::None:
    case TFailureKind::Address:
    case TFailureKind::NoAnswer:
    case TFailureKind::NameNotFound:
    case TFailureKind::ConnectionRefused:
    case TFailureKind::Certificate:
    case TFailureKind::HttpStatus:
    case TFailureKind::Redirect:
    case TFailureKind::Network:
    case TFailureKind::Incomplete:
    case TFailureKind::PageIncomplete:
    case TFailureKind::LocalFile:
        return false;
    }
    return false;
}

namespace {

bool HasScheme(const QString& url) {
    return url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString WithScheme(const QString& url) {
    return HasScheme(url) ? url : QStringLiteral("http://") + url;
}

// The text from `start` up to the next double quote, looking at most 255
// characters; without a closing quote in that window there is no text.
QString QuotedWindow(const QString& line, qsizetype start) {
    if (start < 0 || start > line.size()) return {};
    const QString window = line.mid(start, 255);
    const qsizetype quote = window.indexOf(QLatin1Char('"'));
    return quote < 0 ? QString() : window.left(quote);
}

// The number before a version's first "."; text that is not a number is 0.
long long LeadingPart(const QString& text) {
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    bool ok = false;
    const long long value = (dot < 0 ? text : text.left(dot)).trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

bool IsLoopback(const QUrl& url) {
    const QString host = url.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QString Seconds(int ms) {
    return QString::number((ms + 999) / 1000);
}

QString Kilobytes(qint64 bytes) {
    return QString::number(std::llround(static_cast<double>(bytes) / 1024.0));
}

// Small amounts in bytes, so that a few bytes never read as "0 KB".
QString SizeText(qint64 bytes) {
    return bytes < qint64{10} * 1024 ? QStringLiteral("%1 bytes").arg(bytes)
                                     : Kilobytes(bytes) + QStringLiteral(" KB");
}

// The SHA-256 of a file, counting what was read; empty when it cannot be
// read or `cancel` was set.
QByteArray Sha256OfFile(const QString& path, std::atomic<qint64>& read, const std::atomic<bool>& cancel) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    while (!file.atEnd()) {
        if (cancel) return {};
        const QByteArray block = file.read(BlockBytes);
        if (block.isEmpty()) return {};
        hash.addData(block);
        read += block.size();
    }
    return hash.result();
}

bool IsInstallerPackage(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == QLatin1String("deb") || suffix == QLatin1String("appimage") ||
           suffix == QLatin1String("run");
}

} // namespace

void TProductInfo::SetURL(const QString& url) {
    url_ = WithScheme(url);
}

std::map<QString, QString> ParseInfoPage(const QStringList& lines) {
    std::map<QString, QString> values;
    for (const QString& line : lines) {
        const qsizetype meta = line.indexOf(QLatin1String("META NAME"), 0, Qt::CaseInsensitive);
        if (meta < 0) continue;
        // After "META NAME", its equals sign and the opening quote.
        const QString name = QuotedWindow(line, meta + 11);
        const qsizetype content = line.indexOf(QLatin1String("CONTENT="), 0, Qt::CaseInsensitive);
        const QString value = content < 0 ? QString() : QuotedWindow(line, content + 9);
        if (!name.isEmpty()) values[name] = value;
    }
    return values;
}

QDate ParseVerDate(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n <= 0) return {};
    return QDate(n / 10000, (n / 100) % 100, n % 100);
}

bool IsNewerVersion(const QString& local, const QString& remote, TVersionFormat format) {
    switch (format) {
    case TVersionFormat::vfString:
        return QString::compare(remote, local, Qt::CaseSensitive) > 0;
    case TVersionFormat::vfNumber: {
        bool localOk = false;
        bool remoteOk = false;
        const double localNumber = local.trimmed().toDouble(&localOk);
        const double remoteNumber = remote.trimmed().toDouble(&remoteOk);
        return localOk && remoteOk && remoteNumber > localNumber;
    }
    case TVersionFormat::vfStandard:
        break;
    }
    // Part by part from the left; a version that runs out of parts counts
    // its missing ones as 0, so 1.2 equals 1.2.0 and 1.2.1 is newer.
    QString left = local;
    QString right = remote;
    while (!left.isEmpty() || !right.isEmpty()) {
        const long long a = LeadingPart(left);
        const long long b = LeadingPart(right);
        if (a < b) return true;
        if (a > b) return false;
        const qsizetype dotLeft = left.indexOf(QLatin1Char('.'));
        const qsizetype dotRight = right.indexOf(QLatin1Char('.'));
        left = dotLeft < 0 ? QString() : left.mid(dotLeft + 1);
        right = dotRight < 0 ? QString() : right.mid(dotRight + 1);
    }
    return false;
}

TWebUpdate::TWebUpdate()
    : PublicKey(BuildPublicKey()), ProgramFile(QCoreApplication::applicationFilePath()),
      // A test run never speaks to anything but this machine.
      LoopbackOnly(QStandardPaths::isTestModeEnabled()) {}

TWebUpdate::~TWebUpdate() {
    Abort();
}

QNetworkAccessManager& TWebUpdate::Network() {
    if (!network_) {
        network_ = std::make_unique<QNetworkAccessManager>();
        // Pages and packages are always asked of the server: no cache and no
        // cookies carried from one request to the next.
        network_->setCookieJar(nullptr);
        network_->setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
        QObject::connect(network_.get(), &QNetworkAccessManager::authenticationRequired, network_.get(),
                         [this](QNetworkReply*, QAuthenticator* authenticator) {
                             if (UserName.isEmpty()) return;
                             authenticator->setUser(UserName);
                             authenticator->setPassword(Password);
                         });
    }
    return *network_;
}

void TWebUpdate::Abort() {
    abortRequested_ = true;
    if (waiting_) waiting_->quit();
}

void TWebUpdate::Fail(TFailureKind kind, const QString& text) {
    succeeded_ = false;
    // The first failure is the cause; what follows from it adds nothing.
    if (failure_.Kind == TFailureKind::None) failure_ = {kind, text};
    if (OnDownloadError) OnDownloadError();
}

void TWebUpdate::SetStage(TUpdateStage stage) {
    if (stage_ == stage) return;
    stage_ = stage;
    if (OnStage) OnStage(stage);
}

bool TWebUpdate::FetchAllowed(const QUrl& url, const QUrl& from) const {
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()) return false;
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) return false;
    // Leaving TLS for plain text would let anyone on the way answer.
    if (from.isValid() && from.scheme().toLower() == QLatin1String("https") &&
        scheme != QLatin1String("https"))
        return false;
    return !LoopbackOnly || IsLoopback(url);
}

bool TWebUpdate::HttpGet(const QUrl& url, const QString& localFile, const TManifest* expected) {
    const bool toFile = !localFile.isEmpty();
    succeeded_ = false;
    // A new transfer starts from nothing: the page's count is not the package's.
    totalBytes_ = expected ? expected->Length : 0;
    downloadedBytes_ = 0;
    if (abortRequested_) return false;
    const QString host = url.host();
    if (!FetchAllowed(url, {})) {
        Fail(TFailureKind::Address, QStringLiteral("The address %1 is not one an update is fetched from.")
                                        .arg(url.toDisplayString()));
        return false;
    }

    QNetworkRequest request(url);
    // Nothing beyond the GET itself: a fixed agent name, no language, no
    // cookies, no identifiers.
    request.setRawHeader("User-Agent", "TWebUpdate");
    request.setRawHeader("Accept", "*/*");
    request.setRawHeader("Accept-Language", "*");
    request.setRawHeader("Accept-Encoding", "identity");
    request.setRawHeader("Cache-Control", "no-cache");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirections);
    if (url.scheme().toLower() == QLatin1String("https")) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
        if (!ExtraCaCertificates.isEmpty()) tls.addCaCertificates(ExtraCaCertificates);
        request.setSslConfiguration(tls);
    }
    QNetworkAccessManager& network = Network();
    if (!IsLoopback(url)) {
        const QList<QNetworkProxy> proxies =
            QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
        network.setProxy(proxies.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy) : proxies.constFirst());
    } else {
        network.setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    }

    // A total deadline: an inactivity limit alone lets a server that drips
    // a byte now and then hold the check for ever.
    const qint64 rateMs =
        expected ? expected->Length * 1000 / std::max<qint64>(1, Deadlines.FloorBytesPerSecond) : 0;
    const int deadlineMs = toFile ? static_cast<int>(std::min<qint64>(
                                        qint64{Deadlines.DownloadGraceMs} + rateMs, qint64{24} * 3600 * 1000))
                                  : Deadlines.PageMs;
    const qint64 ceiling = toFile ? MaxDownloadBytes : MaxPageBytes;

    QEventLoop loop;
    QFile file(localFile);
    QByteArray text;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QList<QSslError> sslErrors;
    QUrl current = url;
    QUrl refusedTarget;
    bool started = false;
    bool announced = false;
    bool finished = false;
    bool timedOut = false;
    TUpdateFailure refusal;
    QElapsedTimer sinceProgress;
    qint64 reported = -1;

    QPointer<QNetworkReply> reply = network.get(request);
    reply->setReadBufferSize(BlockBytes);
    const auto cleanUp = qScopeGuard([&] {
        if (reply) {
            // Nothing of this call may hear from the reply once it returns.
            QObject::disconnect(reply, nullptr, nullptr, nullptr);
            reply->abort();
            reply->deleteLater();
        }
    });
    QObject::connect(reply, &QNetworkReply::redirected, reply, [&](const QUrl& target) {
        const QUrl next = current.resolved(target);
        if (!FetchAllowed(next, current)) {
            refusedTarget = next;
            reply->abort();
            return;
        }
        current = next;
        emit reply->redirectAllowed();
    });
    QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                     [&](const QList<QSslError>& errors) { sslErrors = errors; });

    auto refuse = [&](TFailureKind kind, const QString& why) {
        if (refusal.Kind == TFailureKind::None) refusal = {kind, why};
        loop.quit();
    };
    auto progress = [&](bool last) {
        if (reported == downloadedBytes_) return;
        if (!last && sinceProgress.isValid() && sinceProgress.elapsed() < ProgressIntervalMs) return;
        sinceProgress.start();
        reported = downloadedBytes_;
        if (OnDownload) OnDownload(totalBytes_, downloadedBytes_);
    };
    // The final answer's head, once: its status, and the length against
    // what may come and what the manifest says.
    auto acceptHead = [&] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 0 || (status >= 300 && status <= 399)) return false;
        if (status < 200 || status > 299) {
            const QString reason = QString::fromLatin1(
                reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
            refuse(TFailureKind::HttpStatus,
                   QStringLiteral("%1 answered with HTTP status %2%3.")
                       .arg(current.host())
                       .arg(status)
                       .arg(reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
            return false;
        }
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        announced = length.isValid();
        const qint64 announcedBytes = announced ? length.toLongLong() : -1;
        if (toFile && !announced) {
            refuse(TFailureKind::Incomplete,
                   QStringLiteral("%1 did not announce the length of %2.").arg(host, url.fileName()));
            return false;
        }
        if (announced && (announcedBytes < 0 || announcedBytes > ceiling)) {
            refuse(TFailureKind::TooLarge,
                   QStringLiteral("%1 announces %2 KB, more than an update %3 may be.")
                       .arg(host, Kilobytes(announcedBytes),
                            toFile ? QStringLiteral("package") : QStringLiteral("page")));
            return false;
        }
        if (expected && announcedBytes != expected->Length) {
            refuse(TFailureKind::PackageMismatch,
                   QStringLiteral("%1 is %2 bytes on the server, but %3 bytes in the signed manifest.")
                       .arg(expected->File)
                       .arg(announcedBytes)
                       .arg(expected->Length));
            return false;
        }
        if (announced) totalBytes_ = announcedBytes;
        if (toFile && !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            refuse(TFailureKind::LocalFile, QStringLiteral("%1 cannot be written.").arg(localFile));
            return false;
        }
        started = true;
        return true;
    };
    // Data is taken as it arrives, in this call or in any event loop that
    // runs meanwhile (a question the owner asks), so the transfer goes on.
    auto take = [&] {
        if (!reply || refusal.Kind != TFailureKind::None || abortRequested_) return;
        if (!started && !acceptHead()) return;
        while (reply->bytesAvailable() > 0) {
            const QByteArray block = reply->read(BlockBytes);
            if (block.isEmpty()) break;
            downloadedBytes_ += block.size();
            // More than announced, or more than any page or package may be,
            // is not an update.
            if ((announced && downloadedBytes_ > totalBytes_) || downloadedBytes_ > ceiling) {
                refuse(TFailureKind::TooLarge, QStringLiteral("%1 sent more than %2 KB.")
                                                   .arg(host, Kilobytes(announced ? totalBytes_ : ceiling)));
                return;
            }
            if (toFile) {
                if (file.write(block) != block.size()) {
                    refuse(TFailureKind::LocalFile, QStringLiteral("%1 cannot be written.").arg(localFile));
                    return;
                }
                hash.addData(block);
            } else {
                text.append(block);
            }
        }
        progress(false);
    };
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply, &QNetworkReply::finished, &loop, [&] {
        take();
        finished = true;
        loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    deadline.start(deadlineMs);

    waiting_ = &loop;
    const auto stopWaiting = qScopeGuard([this] { waiting_ = nullptr; });
    while (!abortRequested_ && !finished && !timedOut && refusal.Kind == TFailureKind::None) {
        // A negative return: the application is ending, every loop with it.
        if (loop.exec() < 0) abortRequested_ = true;
    }
    deadline.stop();
    if (toFile) file.close();
    if (abortRequested_) return false;
    if (refusal.Kind != TFailureKind::None) {
        Fail(refusal.Kind, refusal.Text);
        return false;
    }
    if (timedOut) {
        if (downloadedBytes_ == 0 && !started)
            Fail(TFailureKind::NoAnswer,
                 QStringLiteral("No answer from %1 within %2 s.").arg(host, Seconds(deadlineMs)));
        else
            Fail(TFailureKind::NoAnswer,
                 QStringLiteral("%1 sent %2 of %3 and no more within %4 s.")
                     .arg(host, SizeText(downloadedBytes_), SizeText(totalBytes_), Seconds(deadlineMs)));
        return false;
    }
    if (reply->error() != QNetworkReply::NoError) {
        QStringList why;
        for (const QSslError& error : sslErrors) why << error.errorString();
        if (why.isEmpty()) why << reply->errorString();
        switch (reply->error()) {
        case QNetworkReply::HostNotFoundError:
            Fail(TFailureKind::NameNotFound,
                 QStringLiteral("The name %1 was not found.").arg(current.host()));
            break;
        case QNetworkReply::ConnectionRefusedError:
            Fail(TFailureKind::ConnectionRefused,
                 QStringLiteral("%1 refused the connection.").arg(current.host()));
            break;
        case QNetworkReply::SslHandshakeFailedError:
            Fail(TFailureKind::Certificate, QStringLiteral("The certificate of %1 was refused: %2.")
                                                .arg(current.host(), why.join(QStringLiteral("; "))));
            break;
        case QNetworkReply::RemoteHostClosedError:
            if (started) {
                Fail(TFailureKind::Incomplete,
                     QStringLiteral("The transfer from %1 ended after %2 of %3 bytes.")
                         .arg(host)
                         .arg(downloadedBytes_)
                         .arg(totalBytes_));
                break;
            }
            Fail(TFailureKind::Network,
                 QStringLiteral("%1 closed the connection without an answer.").arg(host));
            break;
        case QNetworkReply::TooManyRedirectsError:
            Fail(TFailureKind::Redirect, QStringLiteral("%1 redirected too often.").arg(host));
            break;
        default:
            if (refusedTarget.isValid())
                Fail(TFailureKind::Redirect,
                     QStringLiteral("%1 redirected to %2, which an update never follows.")
                         .arg(current.host(), refusedTarget.toDisplayString()));
            else
                Fail(TFailureKind::Network, QStringLiteral("The transfer from %1 failed: %2")
                                                .arg(current.host(), reply->errorString()));
        }
        return false;
    }
    progress(true);
    if (toFile && downloadedBytes_ != totalBytes_) {
        Fail(TFailureKind::Incomplete, QStringLiteral("The transfer from %1 ended after %2 of %3 bytes.")
                                           .arg(host)
                                           .arg(downloadedBytes_)
                                           .arg(totalBytes_));
        return false;
    }
    if (!toFile && downloadedBytes_ == 0) {
        Fail(TFailureKind::Incomplete, QStringLiteral("%1 sent an empty page.").arg(host));
        return false;
    }
    if (expected && hash.result() != expected->Sha256) {
        Fail(TFailureKind::PackageMismatch,
             QStringLiteral("%1 does not match its signed manifest: its SHA-256 differs.")
                 .arg(expected->File));
        return false;
    }
    if (!toFile) pageLines_ = QString::fromUtf8(text).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    succeeded_ = true;
    return true;
}

void TWebUpdate::ClearPageValues() {
    for (QString* value :
         {&InfoProductName, &InfoVersion, &InfoClientFileName, &InfoDownload, &InfoRunParameters,
          &InfoRedirection, &InfoDownloadInplace, &InfoInplaceUtil, &InfoAuthor, &InfoEmail, &InfoManifest,
          &InfoManifestSignature, &InfoInplaceManifest, &InfoInplaceManifestSignature,
          &InfoInplaceUtilManifest, &InfoInplaceUtilManifestSignature})
        value->clear();
    InfoVerDate = QDate();
}

void TWebUpdate::StorePageValues() {
    ClearPageValues();
    const std::map<QString, QString> values = ParseInfoPage(pageLines_);
    auto take = [&](const QString& tag, QString& target) {
        if (const auto found = values.find(tag); found != values.end()) target = found->second;
    };
    take(TagInfo.ProductName, InfoProductName);
    take(TagInfo.Version, InfoVersion);
    take(TagInfo.ClientFileName, InfoClientFileName);
    take(TagInfo.Download, InfoDownload);
    take(TagInfo.RunParameters, InfoRunParameters);
    take(TagInfo.Redirection, InfoRedirection);
    take(TagInfo.DownloadInplace, InfoDownloadInplace);
    take(TagInfo.InplaceUtil, InfoInplaceUtil);
    take(TagInfo.Author, InfoAuthor);
    take(TagInfo.Email, InfoEmail);
    take(TagInfo.Manifest, InfoManifest);
    take(TagInfo.ManifestSignature, InfoManifestSignature);
    take(TagInfo.InplaceManifest, InfoInplaceManifest);
    take(TagInfo.InplaceManifestSignature, InfoInplaceManifestSignature);
    take(TagInfo.InplaceUtilManifest, InfoInplaceUtilManifest);
    take(TagInfo.InplaceUtilManifestSignature, InfoInplaceUtilManifestSignature);
    QString date;
    take(TagInfo.VerDate, date);
    InfoVerDate = ParseVerDate(date);
}

void TWebUpdate::GetInfo() {
    ClearPageValues();
    QUrl page(ProductInfo.URL());
    // The chain of pages is followed a bounded number of times, so a loop of
    // pages ends, and never from TLS down to plain text.
    for (int redirections = 0;; ++redirections) {
        if (!HttpGet(page)) return;
        StorePageValues();
        if (InfoRedirection.isEmpty()) return;
        const QUrl next(WithScheme(InfoRedirection));
        if (redirections == MaxRedirections || !FetchAllowed(next, page)) {
            ClearPageValues();
            Fail(TFailureKind::Redirect,
                 redirections == MaxRedirections
                     ? QStringLiteral("The update pages redirect more than %1 times.").arg(MaxRedirections)
                     : QStringLiteral("The update page at %1 redirects to %2, which an update never follows.")
                           .arg(page.host(), next.toDisplayString()));
            return;
        }
        page = next;
    }
}

bool TWebUpdate::IsNewer() {
    const bool newer = IsNewerVersion(ProductInfo.Version, InfoVersion, ProductInfo.VersionFormat);
    if (!newer && OnNoUpdateFound) OnNoUpdateFound();
    return newer;
}

bool TWebUpdate::ShowInfo() {
    bool showInfo = true;
    bool checkForUpdate = true;
    if (OnBeforeShowInfo) OnBeforeShowInfo(showInfo, checkForUpdate);
    if (showInfo && OnAfterShowInfo) OnAfterShowInfo(true);
    return true;
}

std::optional<TManifest> TWebUpdate::AcceptManifest(TPackageRole role, const QString& text,
                                                    const QString& signature) {
    const QString what = role == TPackageRole::InplaceUtility   ? QStringLiteral("in-place update utility")
                         : role == TPackageRole::InplaceArchive ? QStringLiteral("in-place update package")
                                                                : QStringLiteral("installer");
    if (text.isEmpty()) {
        Fail(TFailureKind::NoManifest,
             QStringLiteral("The update page carries no signed manifest for the %1.").arg(what));
        return std::nullopt;
    }
    if (VerifyManifest(text, signature, PublicKey) != TSignatureCheck::Valid) {
        Fail(TFailureKind::Signature,
             QStringLiteral("The signature of the %1's manifest does not verify with the maker's key.")
                 .arg(what));
        return std::nullopt;
    }
    std::optional<TManifest> manifest = ParseManifest(text);
    if (!manifest) {
        Fail(TFailureKind::Manifest, QStringLiteral("The %1's manifest cannot be read.").arg(what));
        return std::nullopt;
    }
    if (manifest->Product != ProductInfo.Name || manifest->Role != role) {
        Fail(TFailureKind::Manifest, QStringLiteral("The manifest offered for the %1 is for %2 (%3).")
                                         .arg(what, manifest->Product, RoleName(manifest->Role)));
        return std::nullopt;
    }
    if (!IsNewerVersion(ProductInfo.Version, manifest->Version, ProductInfo.VersionFormat)) {
        Fail(TFailureKind::NotNewer,
             QStringLiteral("The signed release %1 is not newer than the running version %2.")
                 .arg(manifest->Version, ProductInfo.Version));
        return std::nullopt;
    }
    return manifest;
}

bool TWebUpdate::AcceptManifests() {
    packageManifest_.reset();
    utilManifest_.reset();
    if (Inplace) {
        utilManifest_ = AcceptManifest(TPackageRole::InplaceUtility, InfoInplaceUtilManifest,
                                       InfoInplaceUtilManifestSignature);
        if (!utilManifest_) return false;
        packageManifest_ =
            AcceptManifest(TPackageRole::InplaceArchive, InfoInplaceManifest, InfoInplaceManifestSignature);
        if (!packageManifest_) return false;
        if (packageManifest_->Version != utilManifest_->Version) {
            Fail(TFailureKind::Manifest,
                 QStringLiteral("The in-place package (%1) and its utility (%2) are of "
                                "different releases.")
                     .arg(packageManifest_->Version, utilManifest_->Version));
            packageManifest_.reset();
            return false;
        }
        return true;
    }
    packageManifest_ = AcceptManifest(TPackageRole::Installer, InfoManifest, InfoManifestSignature);
    return packageManifest_.has_value();
}

void TWebUpdate::CheckNow() {
    if (busy_) return;
    busy_ = true;
    abortRequested_ = false;
    failure_ = {};
    packageManifest_.reset();
    utilManifest_.reset();
    const auto done = qScopeGuard([this] {
        busy_ = false;
        SetStage(TUpdateStage::Idle);
    });
    InfoRedirection.clear();
    SetStage(TUpdateStage::Checking);

    if (OnBeforeGetInfo) OnBeforeGetInfo();
    GetInfo();
    if (OnAfterGetInfo) OnAfterGetInfo();
    if (abortRequested_) return;
    if (InfoProductName.isEmpty() || InfoVersion.isEmpty()) {
        Fail(TFailureKind::PageIncomplete,
             QStringLiteral("The update page at %1 names no product or no version.")
                 .arg(QUrl(ProductInfo.URL()).host()));
        return;
    }
    bool canUpdate = false;
    if (succeeded_ && IsNewer()) {
        // The page only says that there is something; what it is, the
        // maker's signed manifest says. A build without the key cannot
        // check one and only learns the page's version.
        if (!PublicKey.isEmpty() && !AcceptManifests()) return;
        canUpdate = true;
        if (OnUpdateAvailable)
            OnUpdateAvailable(ProductInfo.Version, packageManifest_ ? packageManifest_->Version : InfoVersion,
                              canUpdate);
    }
    if (!canUpdate || abortRequested_) return;
    ShowInfo();
    DownloadUpdate();
    if (!succeeded_ || abortRequested_ || !Options.testFlag(uoRunUpdate)) return;
    // Nothing starts before the program knows it may end: the project open
    // in it is saved first, or the update waits.
    SetStage(TUpdateStage::Starting);
    if (Options.testFlag(uoTerminate) && Launcher && !Launcher->MayEnd()) {
        if (OnUpdateDeferred) OnUpdateDeferred(clientFile_);
        return;
    }
    StartUpdate();
    if (Options.testFlag(uoTerminate) && Launcher) Launcher->Terminate();
}

void TWebUpdate::RunOffThread(const std::function<void()>& work, const std::function<void()>& poll) {
    std::atomic<bool> done{false};
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(ProgressIntervalMs);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        poll();
        if (done) loop.quit();
    });
    tick.start();
    std::thread worker([&] {
        work();
        done = true;
    });
    waiting_ = &loop;
    const auto stopWaiting = qScopeGuard([this] { waiting_ = nullptr; });
    while (!done) {
        if (loop.exec() < 0) {
            abortRequested_ = true;
            poll();
            break;
        }
        poll();
    }
    worker.join();
    poll();
}

bool TWebUpdate::KeptFileMatches(const QString& file, const TManifest& manifest) {
    if (QFileInfo(file).size() != manifest.Length) return false;
    SetStage(TUpdateStage::Verifying);
    std::atomic<qint64> read{0};
    std::atomic<bool> cancel{false};
    QByteArray digest;
    RunOffThread([&] { digest = Sha256OfFile(file, read, cancel); },
                 [&] {
                     if (abortRequested_) cancel = true;
                     if (OnDownload) OnDownload(manifest.Length, read);
                 });
    return !abortRequested_ && digest == manifest.Sha256;
}

bool TWebUpdate::Obtain(const QString& address, const QString& file, const TManifest& manifest) {
    // A package verified by an earlier check that could not start it is
    // used as it is.
    if (QFileInfo::exists(file) && KeptFileMatches(file, manifest)) {
        succeeded_ = true;
        return true;
    }
    if (abortRequested_) return false;
    SetStage(TUpdateStage::Downloading);
    if (!HttpGet(QUrl(WithScheme(address)), file, &manifest)) {
        QFile::remove(file);
        return false;
    }
    return true;
}

bool TWebUpdate::Unpack(const QString& archive, const QString& folder) {
    SetStage(TUpdateStage::Unpacking);
    TUnpackProgress progress;
    TUnpackOutcome outcome;
    RunOffThread([&] { outcome = UnpackArchive(archive, folder, {}, &progress); },
                 [&] {
                     if (abortRequested_) progress.Cancel = true;
                     if (OnDownload) OnDownload(progress.Declared, progress.Written);
                 });
    if (outcome.Result == TUnpackResult::Unpacked) return true;
    const QString name = QFileInfo(archive).fileName();
    switch (outcome.Result) {
    case TUnpackResult::Cancelled:
        break;
    case TUnpackResult::RefusedEntry:
        Fail(
            TFailureKind::UnsafeArchive,
            QStringLiteral("%1 holds \"%2\", a link or a path outside its folder.").arg(name, outcome.Entry));
        break;
    case TUnpackResult::TooLarge:
        Fail(TFailureKind::TooLarge, QStringLiteral("%1 unpacks to more than %2 MB.")
                                         .arg(name)
                                         .arg(TUnpackLimits{}.MaxTotalBytes >> 20));
        break;
    case TUnpackResult::TooManyEntries:
        Fail(TFailureKind::TooLarge,
             QStringLiteral("%1 holds more than %2 entries.").arg(name).arg(TUnpackLimits{}.MaxEntries));
        break;
    case TUnpackResult::WriteFailed:
        Fail(TFailureKind::LocalFile,
             QStringLiteral("%1 cannot be unpacked into %2 (\"%3\" cannot be written).")
                 .arg(name, folder, outcome.Entry));
        break;
    default:
        Fail(TFailureKind::Archive, QStringLiteral("%1 is not a zip archive.").arg(name));
    }
    return false;
}

void TWebUpdate::DownloadUpdate() {
    const std::optional<TManifest>& package = packageManifest_;
    // Only the name of what the manifest signs; folders are not ours to
    // follow.
    QString proposed = package ? package->File : QFileInfo(InfoClientFileName).fileName();
    if (proposed.isEmpty()) proposed = QUrl(Inplace ? InfoDownloadInplace : InfoDownload).fileName();
    clientFile_ = QDir::temp().filePath(proposed);
    if (OnGetClientFileName) OnGetClientFileName(clientFile_);
    succeeded_ = false;
    unzipFolder_.clear();
    inplaceUtilFile_.clear();
    if (!package) {
        // Only what the maker signed is ever fetched.
        if (PublicKey.isEmpty())
            Fail(TFailureKind::NoKey, QStringLiteral("This build carries no key to verify an update with."));
        else
            Fail(TFailureKind::NoManifest,
                 QStringLiteral("No signed manifest was accepted for this update."));
        return;
    }
    if (proposed.isEmpty() || QFileInfo(clientFile_).fileName().isEmpty()) {
        Fail(TFailureKind::LocalFile, QStringLiteral("The update has no file name to be saved under."));
        return;
    }
    const QString folder = QFileInfo(clientFile_).absolutePath() + QLatin1Char('/');
    const bool kept = QFileInfo::exists(clientFile_) && KeptFileMatches(clientFile_, *package);
    if (abortRequested_) return;
    if (!kept && QFileInfo::exists(clientFile_)) {
        bool overwrite = Options.testFlag(uoOverwrite);
        if (OnClientFileExists) OnClientFileExists(clientFile_, overwrite);
        if (!overwrite) {
            Fail(TFailureKind::LocalFile, QStringLiteral("%1 exists already.").arg(clientFile_));
            return;
        }
        // It did not match its manifest; fetching it afresh must not hash
        // it again.
        QFile::remove(clientFile_);
    }
    if (OnBeforeDownload) OnBeforeDownload(clientFile_);

    bool fetched = false;
    if (Inplace) {
        inplaceUtilFile_ = folder + utilManifest_->File;
        if (inplaceUtilFile_ == clientFile_) {
            Fail(TFailureKind::Manifest,
                 QStringLiteral("The in-place package and its utility have one name."));
        } else if (Obtain(InfoInplaceUtil, inplaceUtilFile_, *utilManifest_)) {
            fetched = kept || Obtain(InfoDownloadInplace, clientFile_, *package);
        }
    } else {
        fetched = kept || Obtain(InfoDownload, clientFile_, *package);
    }
    succeeded_ = fetched && !abortRequested_;

    // A failed or refused download is never unpacked.
    if (succeeded_ && QFileInfo(clientFile_).suffix().toLower() == QLatin1String("zip")) {
        unzipFolder_ = folder + QStringLiteral("KelvaneUpdate/");
        QDir(unzipFolder_).removeRecursively();
        QDir().mkpath(unzipFolder_);
        const QString archive = clientFile_;
        clientFile_.clear();
        if (!Unpack(archive, unzipFolder_)) {
            QDir(unzipFolder_).removeRecursively();
            QFile::remove(archive);
            succeeded_ = false;
        } else if (!Inplace) {
            // The installer is the first package of a kind this desktop
            // installs or runs, by name.
            const QFileInfoList files = QDir(unzipFolder_).entryInfoList(QDir::Files, QDir::Name);
            for (const QFileInfo& file : files)
                if (IsInstallerPackage(file.fileName())) {
                    clientFile_ = file.absoluteFilePath();
                    break;
                }
        }
    }
    if (OnAfterDownload) OnAfterDownload(clientFile_);
}

QString TWebUpdate::QuoteParameters(const QStringList& parameters) {
    QStringList quoted;
    for (QString parameter : parameters)
        quoted << QLatin1Char('"') + parameter.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                      QLatin1Char('"');
    return quoted.join(QLatin1Char(' '));
}

void TWebUpdate::StartUpdate() {
    SetStage(TUpdateStage::Starting);
    auto makeRunnable = [](const QString& file) {
        QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::ExeOwner);
    };
    bool started = false;
    if (Inplace) {
        const QFileInfo program(ProgramFile);
        const QStringList parameters{unzipFolder_, program.absolutePath() + QLatin1Char('/'),
                                     program.fileName()};
        InfoRunParameters = QuoteParameters(parameters);
        if (Launcher && !inplaceUtilFile_.isEmpty()) {
            makeRunnable(inplaceUtilFile_);
            started = Launcher->Run(inplaceUtilFile_, parameters);
        }
    } else if (Launcher && !clientFile_.isEmpty() && IsInstallerPackage(clientFile_)) {
        if (QFileInfo(clientFile_).suffix().toLower() == QLatin1String("deb")) {
            started = Launcher->OpenWithDesktop(clientFile_);
        } else {
            makeRunnable(clientFile_);
            // Only the arguments the maker signed.
            started =
                Launcher->Run(clientFile_, packageManifest_ ? packageManifest_->Arguments : QStringList());
        }
    }
    if (!started && OnCannotExecute) OnCannotExecute();
}

} // namespace slabwise
