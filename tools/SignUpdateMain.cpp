// slabwise-sign-update KEYFILE PACKAGE VERSION ROLE [ARGUMENT...]: prints the
// two META lines the update page carries for PACKAGE: its signed manifest
// (product, version, role, file name, length, SHA-256 and the arguments an
// installer is started with) and the manifest's signature. ROLE is
// "installer", "inplace-archive" or "inplace-utility".
// slabwise-sign-update --new-key KEYFILE: writes a new secret key (readable by
// its owner only from the first byte) and prints the public key to build the
// program with (-DSLABWISE_UPDATE_PUBLIC_KEY=...). The key file holds the
// base64 of the 32-byte seed; it stays with the maker.

#include "update/UpdateManifest.h"
#include "update/UpdateSignature.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Fail(const char* message) {
    std::fprintf(stderr, "slabwise-sign-update: %s\n", message);
    return 1;
}

int NewKey(const char* keyFile) {
    // Created owner-only and exclusively: never readable by others for a
    // moment, never written through a link or over an existing file.
    const int fd = ::open(keyFile, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return Fail(errno == EEXIST ? "the key file exists already; not overwritten"
                                    : "cannot create the key file");
    const slabwise::TSigningKeys keys = slabwise::NewSigningKeys();
    const QByteArray text = keys.Seed.toBase64() + '\n';
    const bool written = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 &&
                         ::write(fd, text.constData(), static_cast<size_t>(text.size())) == text.size();
    if (::close(fd) != 0 || !written) {
        ::unlink(keyFile);
        return Fail("cannot write the key file");
    }
    std::printf("%s\n", keys.PublicKey.toBase64().constData());
    return 0;
}

int Sign(const char* keyFile, const char* package, const char* version, const char* role, int argc,
         char** argv) {
    QFile in(QFile::decodeName(keyFile));
    if (!in.open(QIODevice::ReadOnly)) return Fail("cannot read the key file");
    const auto key =
        QByteArray::fromBase64Encoding(in.readAll().trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!key) return Fail("the key file does not hold a base64 key");
    if (slabwise::PublicKeyOf(key.decoded).isEmpty()) return Fail("the key file holds no signing key");

    slabwise::TManifest manifest;
    manifest.Product = slabwise::ReleaseProduct;
    manifest.Version = QString::fromLocal8Bit(version);
    const std::optional<slabwise::TPackageRole> named = slabwise::RoleNamed(QString::fromLocal8Bit(role));
    if (!named) return Fail("the role is one of installer, inplace-archive, inplace-utility");
    manifest.Role = *named;
    QFile file(QFile::decodeName(package));
    if (!file.open(QIODevice::ReadOnly)) return Fail("cannot read the package");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) return Fail("cannot read the package");
    manifest.File = QFileInfo(file).fileName();
    manifest.Length = file.size();
    manifest.Sha256 = hash.result();
    for (int i = 0; i < argc; ++i) manifest.Arguments << QString::fromLocal8Bit(argv[i]);
    if (manifest.Role != slabwise::TPackageRole::Installer && !manifest.Arguments.isEmpty())
        return Fail("only an installer is started with arguments");
    if (manifest.Length == 0) return Fail("the package is empty");
    // What the program would refuse to read is never written.
    if (slabwise::ParseManifest(slabwise::ManifestText(manifest)) != manifest)
        return Fail("the version, file name or arguments cannot be written into a manifest "
                    "(letters, digits and . _ + - only)");
    const QString lines = slabwise::ManifestPageLines(manifest, key.decoded);
    if (lines.isEmpty())
        return Fail("the manifest is longer than the update page may carry (254 characters)");
    std::fputs(lines.toUtf8().constData(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--new-key") == 0) return NewKey(argv[2]);
    if (argc >= 5 && argv[1][0] != '-') return Sign(argv[1], argv[2], argv[3], argv[4], argc - 5, argv + 5);
    std::fprintf(stderr, "usage: slabwise-sign-update KEYFILE PACKAGE VERSION ROLE [ARGUMENT...]\n"
                         "       slabwise-sign-update --new-key KEYFILE\n"
                         "ROLE: installer, inplace-archive or inplace-utility\n");
    return 2;
}
