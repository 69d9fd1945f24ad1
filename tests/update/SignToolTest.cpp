// The signing tool: its key file is its owner's alone from the start, and
// the page lines it writes are what the client's check accepts; a tampered
// package, another key or a changed manifest is refused.

#include "UpdateFixture.h"

#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

namespace slabwise::test {
namespace {

QString Tool(const QStringList& arguments, int* exitCode = nullptr, mode_t umaskBits = 022) {
    QProcess tool;
    tool.setChildProcessModifier([umaskBits] { ::umask(umaskBits); });
    tool.start(QStringLiteral(SLABWISE_SIGN_TOOL), arguments);
    EXPECT_TRUE(tool.waitForFinished(20000));
    if (exitCode) *exitCode = tool.exitCode();
    return QString::fromLatin1(tool.readAllStandardOutput()).trimmed();
}

QString WriteFile(const TTempFolder& folder, const QString& name, const QByteArray& data) {
    const QString path = Folder(folder) + name;
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(data);
    return path;
}

TEST(SignTool, NewKeyIsTheOwnersAloneFromTheStart) {
    TTempFolder folder;
    const QString key = Folder(folder) + QStringLiteral("maker.key");
    int code = -1;
    // Even with a umask that lets everybody read, the file is made 0600.
    const QByteArray publicKey =
        QByteArray::fromBase64(Tool({QStringLiteral("--new-key"), key}, &code, 0).toLatin1());
    ASSERT_EQ(code, 0);
    ASSERT_EQ(publicKey.size(), 32);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(key).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600U);
    Tool({QStringLiteral("--new-key"), key}, &code);
    EXPECT_NE(code, 0) << "an existing key is never overwritten";

    // A link where the key should go is not followed: no file appears at its
    // target, readable by whoever made the link.
    const QString target = Folder(folder) + QStringLiteral("elsewhere.key");
    const QString link = Folder(folder) + QStringLiteral("linked.key");
    ASSERT_TRUE(QFile::link(target, link));
    Tool({QStringLiteral("--new-key"), link}, &code, 0);
    EXPECT_NE(code, 0);
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST(SignTool, PageLinesCarryASignedManifest) {
    TTempFolder folder;
    const QString key = Folder(folder) + QStringLiteral("maker.key");
    const QByteArray bytes = "package bytes";
    const QString package = WriteFile(folder, QStringLiteral("slabwise.run"), bytes);
    int code = -1;
    const QByteArray publicKey =
        QByteArray::fromBase64(Tool({QStringLiteral("--new-key"), key}, &code).toLatin1());
    ASSERT_EQ(code, 0);

    const QString lines = Tool({key, package, QStringLiteral("1.0.1"), QStringLiteral("installer"),
                                QStringLiteral("--quiet"), QStringLiteral("a b;\"c\"")},
                               &code);
    ASSERT_EQ(code, 0);
    const auto values = ParseInfoPage(lines.split(QLatin1Char('\n')));
    ASSERT_EQ(values.size(), 2U) << lines.toStdString();
    const QString text = values.at(QStringLiteral("upManifest"));
    const QString signature = values.at(QStringLiteral("upManifestSignature"));
    const std::optional<TManifest> manifest = ParseManifest(text);
    ASSERT_TRUE(manifest.has_value()) << text.toStdString();
    EXPECT_EQ(*manifest, ManifestOf("slabwise.run", bytes, "1.0.1", TPackageRole::Installer,
                                    {QStringLiteral("--quiet"), QStringLiteral("a b;\"c\"")}));

    EXPECT_EQ(VerifyManifest(text, signature, publicKey), TSignatureCheck::Valid);
    EXPECT_EQ(VerifyManifest(text, signature, TestKeys().PublicKey), TSignatureCheck::Mismatch);
    EXPECT_EQ(VerifyManifest(QString(text).replace(QLatin1String("1.0.1"), QLatin1String("1.0.9")), signature,
                             publicKey),
              TSignatureCheck::Mismatch);
    EXPECT_EQ(VerifyManifest(text, QString(), publicKey), TSignatureCheck::Missing);
    EXPECT_EQ(VerifyManifest(text, QStringLiteral("not base64!"), publicKey), TSignatureCheck::Malformed);
    EXPECT_EQ(VerifyManifest(text, signature, QByteArray()), TSignatureCheck::NoKey);

    // The other roles go under their own names.
    Tool({key, package, QStringLiteral("1.0.1"), QStringLiteral("inplace-utility")}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(ParseInfoPage(Tool({key, package, QStringLiteral("1.0.1"), QStringLiteral("inplace-archive")})
                                  .split(QLatin1Char('\n')))
                    .contains(QStringLiteral("upInplaceManifestSignature")));

    const struct {
        const char* Name;
        QStringList Arguments;
        int Code;
    } refused[] = {
        {"missing package", {key, Folder(folder) + QStringLiteral("missing.run"), "1.0.1", "installer"}, 1},
        {"unknown role", {key, package, "1.0.1", "setup"}, 1},
        {"a version the page cannot carry", {key, package, "1.0 beta", "installer"}, 1},
        {"arguments for a utility", {key, package, "1.0.1", "inplace-utility", "--x"}, 1},
        {"a manifest longer than the page reader looks",
         {key, package, "1.0.1", "installer", QString(200, QLatin1Char('a'))},
         1},
        {"no version and role", {key, package}, 2},
        {"no key", {Folder(folder) + QStringLiteral("none.key"), package, "1.0.1", "installer"}, 1},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.Name);
        EXPECT_TRUE(Tool(c.Arguments, &code).isEmpty());
        EXPECT_EQ(code, c.Code);
    }
}

// What the tool writes, put on a page, is what a check with the tool's key
// installs; the same page with a changed package is refused.
TEST(SignTool, ItsLinesMakeAnUpdateTheClientStarts) {
    TTempFolder folder;
    const QString key = Folder(folder) + QStringLiteral("maker.key");
    int code = -1;
    const QByteArray publicKey =
        QByteArray::fromBase64(Tool({QStringLiteral("--new-key"), key}, &code).toLatin1());
    const QByteArray bytes = "#!/bin/sh\necho new\n";
    const QString package = WriteFile(folder, QStringLiteral("Slabwise.run"), bytes);
    const QByteArray lines =
        Tool({key, package, QStringLiteral("2.1.0"), QStringLiteral("installer"), QStringLiteral("--quiet")})
            .toUtf8();

    for (const bool tampered : {false, true}) {
        SCOPED_TRACE(tampered ? "tampered" : "as signed");
        TTempFolder downloads;
        TTestServer server;
        server.Routes["/Slabwise.run"] = Serve(tampered ? QByteArray(bytes).replace("new", "old") : bytes);
        server.Routes["/page"] = Serve(MetaPage({{"upProduct", "Slabwise"},
                                                 {"upVersion", "2.1.0"},
                                                 {"upDownload", server.Url("/Slabwise.run")}}) +
                                       lines + "\n");
        TWebUpdate client;
        TRecordingShell shell;
        QStringList events;
        RecordEvents(client, events, Folder(downloads));
        client.OnUpdateAvailable = [](const QString&, const QString&, bool& canUpdate) { canUpdate = true; };
        client.Launcher = &shell;
        client.PublicKey = publicKey;
        client.Options |= uoOverwrite;
        client.ProductInfo.Version = QStringLiteral("2.0.3");
        client.ProductInfo.SetURL(QString::fromLatin1(server.Url("/page")));
        client.CheckNow();
        if (tampered) {
            EXPECT_EQ(client.Failure().Kind, TFailureKind::PackageMismatch);
            EXPECT_TRUE(shell.Started.isEmpty());
        } else {
            EXPECT_EQ(client.Failure().Kind, TFailureKind::None) << client.Failure().Text.toStdString();
            EXPECT_EQ(shell.Started, QStringList{QStringLiteral("Run ") + Folder(downloads) +
                                                 QStringLiteral("Slabwise.run|--quiet")});
        }
    }
}

} // namespace
} // namespace slabwise::test
