// slabwise-sign-update KEYFILE PACKAGE: prints the base64 signature that the
// update page carries as "upSignature" for PACKAGE.
// slabwise-sign-update --new-key KEYFILE: writes a new secret key (readable by
// its owner only) and prints the public key to build the program with
// (-DSLABWISE_UPDATE_PUBLIC_KEY=...). The key file holds the base64 of the
// 32-byte seed; it stays with the maker.

#include "update/UpdateSignature.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

int Fail(const char* message) {
    std::fprintf(stderr, "slabwise-sign-update: %s\n", message);
    return 1;
}

int NewKey(const char* keyFile) {
    QFile out(QFile::decodeName(keyFile));
    if (out.exists()) return Fail("the key file exists already; not overwritten");
    if (!out.open(QIODevice::WriteOnly)) return Fail("cannot write the key file");
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const slabwise::TSigningKeys keys = slabwise::NewSigningKeys();
    out.write(keys.Seed.toBase64() + '\n');
    out.close();
    std::printf("%s\n", keys.PublicKey.toBase64().constData());
    return 0;
}

int Sign(const char* keyFile, const char* package) {
    QFile in(QFile::decodeName(keyFile));
    if (!in.open(QIODevice::ReadOnly)) return Fail("cannot read the key file");
    const auto key =
        QByteArray::fromBase64Encoding(in.readAll().trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!key) return Fail("the key file does not hold a base64 key");
    if (slabwise::PublicKeyOf(key.decoded).isEmpty()) return Fail("the key file holds no signing key");
    const QByteArray signature = slabwise::SignFile(QFile::decodeName(package), key.decoded);
    if (signature.isEmpty()) return Fail("cannot read the package");
    std::printf("%s\n", signature.toBase64().constData());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--new-key") == 0) return NewKey(argv[2]);
    if (argc == 3) return Sign(argv[1], argv[2]);
    std::fprintf(stderr, "usage: slabwise-sign-update KEYFILE PACKAGE\n"
                         "       slabwise-sign-update --new-key KEYFILE\n");
    return 2;
}
