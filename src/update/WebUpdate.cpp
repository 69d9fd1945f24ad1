#include "WebUpdate.h"

#include "UpdateArchive.h"
#include "UpdateSignature.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QDir>
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

#include <cmath>

namespace slabwise {

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

void TWebUpdate::Fail() {
    succeeded_ = false;
    if (OnDownloadError) OnDownloadError();
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

bool TWebUpdate::HttpGet(const QUrl& url, const QString& localFile, bool requireLength) {
    const bool toFile = !localFile.isEmpty();
    succeeded_ = false;
    if (abortRequested_) return false;
    if (!FetchAllowed(url, {})) {
        Fail();
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
    request.setTransferTimeout(30000);
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

    QPointer<QNetworkReply> reply = network.get(request);
    reply->setReadBufferSize(qint64{256} * 1024);
    const auto cleanUp = qScopeGuard([&] {
        if (reply) {
            reply->abort();
            reply->deleteLater();
        }
    });
    QUrl current = url;
    QObject::connect(reply, &QNetworkReply::redirected, reply, [this, reply, &current](const QUrl& target) {
        const QUrl next = current.resolved(target);
        if (!FetchAllowed(next, current)) {
            reply->abort();
            return;
        }
        current = next;
        emit reply->redirectAllowed();
    });

    QEventLoop loop;
    waiting_ = &loop;
    const auto stopWaiting = qScopeGuard([this] { waiting_ = nullptr; });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, &QEventLoop::quit);

    auto httpStatus = [&] { return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(); };
    // Waits for the headers of the final answer; a redirection in between
    // is followed (or refused) by the network layer.
    auto redirecting = [&] {
        const int status = httpStatus();
        return status == 0 || (status >= 300 && status <= 399);
    };
    while (!abortRequested_ && !reply->isFinished() && redirecting()) loop.exec();
    if (abortRequested_) return false;
    const int status = httpStatus();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        Fail();
        return false;
    }
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool announced = length.isValid();
    if (announced) totalBytes_ = length.toLongLong();
    const qint64 ceiling = toFile ? MaxDownloadBytes : MaxPageBytes;
    if ((requireLength && !announced) || (announced && (totalBytes_ < 0 || totalBytes_ > ceiling))) {
        Fail();
        return false;
    }

    QFile file(localFile);
    if (toFile && !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Fail();
        return false;
    }
    QByteArray text;
    downloadedBytes_ = 0;
    QByteArray block(BlockBytes, Qt::Uninitialized);
    bool overrun = false;
    for (;;) {
        if (abortRequested_) return false;
        if (reply->bytesAvailable() > 0) {
            const qint64 read = reply->read(block.data(), BlockBytes);
            if (read <= 0) break;
            downloadedBytes_ += read;
            // More than announced, or more than any page or package may be,
            // is not an update.
            if ((announced && downloadedBytes_ > totalBytes_) || downloadedBytes_ > ceiling) {
                overrun = true;
                break;
            }
            if (toFile) {
                if (file.write(block.constData(), read) != read) {
                    overrun = true;
                    break;
                }
            } else {
                text.append(block.constData(), read);
            }
            if (OnDownload) OnDownload(totalBytes_, downloadedBytes_);
            QCoreApplication::processEvents();
            continue;
        }
        if (reply->isFinished()) break;
        loop.exec();
    }
    if (toFile) file.close();
    if (abortRequested_) return false;
    const bool clean = !overrun && reply->error() == QNetworkReply::NoError;
    succeeded_ = clean && (toFile ? downloadedBytes_ == totalBytes_ : downloadedBytes_ > 0);
    if (!succeeded_) {
        Fail();
        return false;
    }
    if (!toFile) pageLines_ = QString::fromUtf8(text).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    return true;
}

void TWebUpdate::ClearPageValues() {
    for (QString* value : {&InfoProductName, &InfoVersion, &InfoClientFileName, &InfoDownload,
                           &InfoRunParameters, &InfoRedirection, &InfoDownloadInplace, &InfoInplaceUtil,
                           &InfoAuthor, &InfoEmail, &InfoSignature, &InfoInplaceUtilSignature})
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
    take(TagInfo.Signature, InfoSignature);
    take(TagInfo.InplaceUtilSignature, InfoInplaceUtilSignature);
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
        if (!HttpGet(page, {}, false)) return;
        StorePageValues();
        if (InfoRedirection.isEmpty()) return;
        const QUrl next(WithScheme(InfoRedirection));
        if (redirections == MaxRedirections || !FetchAllowed(next, page)) {
            ClearPageValues();
            Fail();
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

void TWebUpdate::CheckNow() {
    if (busy_) return;
    busy_ = true;
    abortRequested_ = false;
    const auto done = qScopeGuard([this] { busy_ = false; });
    InfoRedirection.clear();

    if (OnBeforeGetInfo) OnBeforeGetInfo();
    GetInfo();
    if (OnAfterGetInfo) OnAfterGetInfo();
    if (abortRequested_) return;
    if (InfoProductName.isEmpty() || InfoVersion.isEmpty()) {
        Fail();
        return;
    }
    bool canUpdate = false;
    if (succeeded_ && IsNewer()) {
        canUpdate = true;
        if (OnUpdateAvailable) OnUpdateAvailable(ProductInfo.Version, InfoVersion, canUpdate);
    }
    if (!canUpdate || abortRequested_) return;
    ShowInfo();
    DownloadUpdate();
    if (succeeded_ && !abortRequested_ && Options.testFlag(uoRunUpdate)) {
        StartUpdate();
        if (Options.testFlag(uoTerminate) && Launcher) Launcher->Terminate();
    }
}

bool TWebUpdate::VerifyDownload(const QString& file, const QString& signature) {
    return VerifyFileSignature(file, signature, PublicKey) == TSignatureCheck::Valid;
}

void TWebUpdate::DownloadUpdate() {
    // Only the name of what the page proposes; its folders are not ours to
    // follow.
    QString proposed = QFileInfo(InfoClientFileName).fileName();
    if (proposed.isEmpty()) proposed = QUrl(Inplace ? InfoDownloadInplace : InfoDownload).fileName();
    clientFile_ = QDir::temp().filePath(proposed);
    if (OnGetClientFileName) OnGetClientFileName(clientFile_);
    succeeded_ = false;
    unzipFolder_.clear();
    inplaceUtilFile_.clear();
    if (proposed.isEmpty() || QFileInfo(clientFile_).fileName().isEmpty()) {
        Fail();
        return;
    }
    if (QFileInfo::exists(clientFile_)) {
        bool overwrite = Options.testFlag(uoOverwrite);
        if (OnClientFileExists) OnClientFileExists(clientFile_, overwrite);
        if (!overwrite) {
            Fail();
            return;
        }
    }
    if (OnBeforeDownload) OnBeforeDownload(clientFile_);

    const QString folder = QFileInfo(clientFile_).absolutePath() + QLatin1Char('/');
    // Whatever arrives is checked against the maker's key before anything
    // of it is unpacked or started; what fails the check is deleted.
    auto fetchVerified = [&](const QString& address, const QString& file, const QString& signature) {
        if (!HttpGet(QUrl(WithScheme(address)), file, true)) {
            QFile::remove(file);
            return false;
        }
        if (!VerifyDownload(file, signature)) {
            QFile::remove(file);
            Fail();
            return false;
        }
        return true;
    };
    bool fetched = false;
    if (Inplace) {
        const QString utilName = QUrl(InfoInplaceUtil).fileName();
        inplaceUtilFile_ = utilName.isEmpty() ? QString() : folder + utilName;
        if (inplaceUtilFile_.isEmpty() || inplaceUtilFile_ == clientFile_) {
            Fail();
        } else if (fetchVerified(InfoInplaceUtil, inplaceUtilFile_, InfoInplaceUtilSignature)) {
            fetched = fetchVerified(InfoDownloadInplace, clientFile_, InfoSignature);
        }
    } else {
        fetched = fetchVerified(InfoDownload, clientFile_, InfoSignature);
    }
    succeeded_ = fetched;

    // A failed or refused download is never unpacked.
    if (fetched && QFileInfo(clientFile_).suffix().toLower() == QLatin1String("zip")) {
        unzipFolder_ = folder + QStringLiteral("KelvaneUpdate/");
        QDir(unzipFolder_).removeRecursively();
        QDir().mkpath(unzipFolder_);
        const QString archive = clientFile_;
        clientFile_.clear();
        if (UnpackArchive(archive, unzipFolder_).Result != TUnpackResult::Unpacked) {
            QDir(unzipFolder_).removeRecursively();
            QFile::remove(archive);
            succeeded_ = false;
            Fail();
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
            started = Launcher->Run(clientFile_, QProcess::splitCommand(InfoRunParameters));
        }
    }
    if (!started && OnCannotExecute) OnCannotExecute();
}

} // namespace slabwise
