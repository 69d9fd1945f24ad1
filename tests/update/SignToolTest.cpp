// The signing tool: a key made by the tool signs a package that the client's
// check accepts; a tampered package or another key is refused.

#include "UpdateFixture.h"

#include <QProcess>

namespace slabwise::test {
namespace {

QString Tool(const QStringList& arguments, int* exitCode = nullptr) {
    QProcess tool;
    tool.start(QStringLiteral(SLABWISE_SIGN_TOOL), arguments);
    EXPECT_TRUE(tool.waitForFinished(20000));
    if (exitCode) *exitCode = tool.exitCode();
    return QString::fromLatin1(tool.readAllStandardOutput()).trimmed();
}

TEST(SignTool, SignaturesVerifyWithTheKeysPublicHalf) {
    TTempFolder folder;
    const QString key = Folder(folder) + QStringLiteral("maker.key");
    const QString package = Folder(folder) + QStringLiteral("slabwise.deb");
    QFile out(package);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("package bytes");
    out.close();

    int code = -1;
    const QByteArray publicKey =
        QByteArray::fromBase64(Tool({QStringLiteral("--new-key"), key}, &code).toLatin1());
    ASSERT_EQ(code, 0);
    ASSERT_EQ(publicKey.size(), 32);
    EXPECT_EQ(QFile::permissions(key) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
              QFileDevice::Permissions());
    Tool({QStringLiteral("--new-key"), key}, &code);
    EXPECT_NE(code, 0) << "an existing key is never overwritten";

    const QString signature = Tool({key, package}, &code);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(VerifyFileSignature(package, signature, publicKey), TSignatureCheck::Valid);
    EXPECT_EQ(VerifyFileSignature(package, signature, TestKeys().PublicKey), TSignatureCheck::Mismatch);
    EXPECT_EQ(VerifyFileSignature(package, QString(), publicKey), TSignatureCheck::Missing);
    EXPECT_EQ(VerifyFileSignature(package, QStringLiteral("not base64!"), publicKey),
              TSignatureCheck::Malformed);
    EXPECT_EQ(VerifyFileSignature(package, signature, QByteArray()), TSignatureCheck::NoKey);
    ASSERT_TRUE(out.open(QIODevice::Append));
    out.write("!");
    out.close();
    EXPECT_EQ(VerifyFileSignature(package, signature, publicKey), TSignatureCheck::Mismatch);

    Tool({key, Folder(folder) + QStringLiteral("missing.deb")}, &code);
    EXPECT_NE(code, 0);
    Tool({package}, &code);
    EXPECT_EQ(code, 2);
}

} // namespace
} // namespace slabwise::test
