// HTTPS: the page is read over TLS with the certificate checked, on the port
// the address names, and a way back to plain HTTP is refused. Certificates
// are made for each run with openssl.

#include "UpdateFixture.h"

#include <QProcess>

namespace slabwise::test {
namespace {

struct TTestCertificate {
    QSslCertificate Certificate;
    QSslKey Key;
};

// A self-signed certificate for the given subject alternative name.
TTestCertificate MakeCertificate(const TTempFolder& folder, const QString& name, const QString& altName) {
    const QString key = Folder(folder) + name + QStringLiteral(".key");
    const QString cert = Folder(folder) + name + QStringLiteral(".pem");
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert, QStringLiteral("-days"),
                   QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=Slabwise test"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=") + altName});
    EXPECT_TRUE(openssl.waitForFinished(30000));
    EXPECT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().toStdString();
    QFile keyFile(key);
    QFile certFile(cert);
    keyFile.open(QIODevice::ReadOnly);
    certFile.open(QIODevice::ReadOnly);
    return {QSslCertificate(certFile.readAll()), QSslKey(keyFile.readAll(), QSsl::Ec)};
}

TEST(Https, CertificateIsCheckedAndTheWayStaysEncrypted) {
    TTempFolder folder;
    const TTestCertificate good =
        MakeCertificate(folder, QStringLiteral("good"), QStringLiteral("IP:127.0.0.1"));
    const TTestCertificate wrongName =
        MakeCertificate(folder, QStringLiteral("wrong"), QStringLiteral("DNS:wrong.example"));
    ASSERT_FALSE(good.Certificate.isNull());
    ASSERT_FALSE(wrongName.Certificate.isNull());
    TTestServer plain;
    plain.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"}, {"upVersion", "1.0.0"}}));

    const struct {
        const char* Name;
        const TTestCertificate* Served;
        bool Trusted;
        QByteArray Redirection; // "plain" sends the page on to the plain server
        QString Expected;
        // The failure named, and the start of its text.
        TFailureKind Failure;
        const char* Says;
    } cases[] = {
        {"trusted certificate",
         &good,
         true,
         {},
         QStringLiteral("BeforeGetInfo Download AfterGetInfo NoUpdateFound"),
         TFailureKind::None,
         ""},
        {"untrusted certificate",
         &good,
         false,
         {},
         QStringLiteral("BeforeGetInfo DownloadError AfterGetInfo DownloadError"),
         TFailureKind::Certificate,
         "The certificate of 127.0.0.1 was refused: The certificate is self-signed, and untrusted."},
        {"certificate for another name",
         &wrongName,
         true,
         {},
         QStringLiteral("BeforeGetInfo DownloadError AfterGetInfo DownloadError"),
         TFailureKind::Certificate,
         "The certificate of 127.0.0.1 was refused: The host name did not match"},
        {"page redirection to plain http", &good, true, "page",
         QStringLiteral("BeforeGetInfo Download DownloadError AfterGetInfo DownloadError"),
         TFailureKind::Redirect, "The update page at 127.0.0.1 redirects to http://127.0.0.1:"},
        {"http redirection to plain http", &good, true, "http",
         QStringLiteral("BeforeGetInfo DownloadError AfterGetInfo DownloadError"), TFailureKind::Redirect,
         "127.0.0.1 redirected to http://127.0.0.1:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestServer server(c.Served->Certificate, c.Served->Key);
        server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"}, {"upVersion", "1.0.0"}}));
        if (c.Redirection == "page")
            server.Routes["/page"] = Serve(MetaPage({{"upRedirection", plain.Url("/page")}}));
        if (c.Redirection == "http") server.Routes["/page"] = Redirect(plain.Url("/page"));
        plain.Paths.clear();

        TWebUpdate client;
        QStringList events;
        TTempFolder downloads;
        RecordEvents(client, events, Folder(downloads));
        client.ProductInfo.Version = QStringLiteral("1.0.0");
        client.ProductInfo.SetURL(QString::fromLatin1(server.Url("/page")));
        ASSERT_TRUE(client.ProductInfo.URL().startsWith(QLatin1String("https://127.0.0.1:")));
        if (c.Trusted) client.ExtraCaCertificates = {c.Served->Certificate};
        client.CheckNow();
        EXPECT_EQ(events.join(QLatin1Char(' ')), c.Expected);
        EXPECT_EQ(client.Failure().Kind, c.Failure);
        EXPECT_TRUE(client.Failure().Text.contains(QLatin1String(c.Says)))
            << client.Failure().Text.toStdString();
        EXPECT_TRUE(plain.Paths.isEmpty()) << "nothing is asked of the plain server";
        if (c.Trusted && c.Served == &good && c.Redirection.isEmpty()) {
            EXPECT_EQ(server.Paths, QList<QByteArray>{"/page"});
        }
    }
}

} // namespace
} // namespace slabwise::test
