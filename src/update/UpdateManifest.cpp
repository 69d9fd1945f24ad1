#include "UpdateManifest.h"

#include <QRegularExpression>
#include <QUrl>

#include <sodium.h>

#include <array>
#include <stdexcept>

namespace slabwise {

namespace {

struct TRoleNames {
    TPackageRole Role;
    const char* Name;
    const char* Tag;
};
constexpr std::array<TRoleNames, 3> Roles{{
    {TPackageRole::Installer, "installer", "upManifest"},
    {TPackageRole::InplaceArchive, "inplace-archive", "upInplaceManifest"},
    {TPackageRole::InplaceUtility, "inplace-utility", "upInplaceUtilManifest"},
}};

const TRoleNames& Names(TPackageRole role) {
    for (const TRoleNames& names : Roles)
        if (names.Role == role) return names;
    throw std::logic_error("unknown package role");
}

// Words that never need quoting on a page nor in a file name.
bool PlainWord(const QString& text, bool spaces) {
    static const QRegularExpression word(QStringLiteral("^[A-Za-z0-9._+-]+$"));
    static const QRegularExpression phrase(QStringLiteral("^[A-Za-z0-9._+ -]+$"));
    return (spaces ? phrase : word).match(text).hasMatch();
}

bool PlainFileName(const QString& name) {
    return PlainWord(name, false) && !name.startsWith(QLatin1Char('.'));
}

} // namespace

QString RoleName(TPackageRole role) {
    return QLatin1String(Names(role).Name);
}

QString ManifestTag(TPackageRole role) {
    return QLatin1String(Names(role).Tag);
}

QString ManifestSignatureTag(TPackageRole role) {
    return ManifestTag(role) + QStringLiteral("Signature");
}

QString ManifestText(const TManifest& manifest) {
    QString text = QStringLiteral("product=%1;version=%2;role=%3;file=%4;length=%5;sha256=%6")
                       .arg(manifest.Product, manifest.Version, RoleName(manifest.Role), manifest.File)
                       .arg(manifest.Length)
                       .arg(QString::fromLatin1(manifest.Sha256.toHex()));
    if (!manifest.Arguments.isEmpty()) {
        QStringList encoded;
        for (const QString& argument : manifest.Arguments)
            encoded << QString::fromLatin1(QUrl::toPercentEncoding(argument));
        text += QStringLiteral(";args=") + encoded.join(QLatin1Char(' '));
    }
    return text;
}

std::optional<TManifest> ParseManifest(const QString& text) {
    const QStringList fields = text.split(QLatin1Char(';'));
    static const char* const keys[] = {"product", "version", "role", "file", "length", "sha256", "args"};
    if (fields.size() < 6 || fields.size() > 7) return std::nullopt;
    QStringList values;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString key = QLatin1String(keys[i]) + QLatin1Char('=');
        if (!fields[i].startsWith(key)) return std::nullopt;
        values << fields[i].mid(key.size());
    }
    TManifest manifest;
    manifest.Product = values[0];
    manifest.Version = values[1];
    manifest.File = values[3];
    if (!PlainWord(manifest.Product, true) || !PlainWord(manifest.Version, false) ||
        !PlainFileName(manifest.File))
        return std::nullopt;
    bool known = false;
    for (const TRoleNames& names : Roles)
        if (values[2] == QLatin1String(names.Name)) {
            manifest.Role = names.Role;
            known = true;
        }
    if (!known) return std::nullopt;
    static const QRegularExpression digits(QStringLiteral("^[1-9][0-9]{0,17}$"));
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    if (!digits.match(values[4]).hasMatch() || !hex.match(values[5]).hasMatch()) return std::nullopt;
    manifest.Length = values[4].toLongLong();
    manifest.Sha256 = QByteArray::fromHex(values[5].toLatin1());
    if (fields.size() == 7) {
        if (values[6].isEmpty()) return std::nullopt;
        for (const QString& encoded : values[6].split(QLatin1Char(' '))) {
            if (encoded.isEmpty()) return std::nullopt;
            manifest.Arguments << QUrl::fromPercentEncoding(encoded.toLatin1());
        }
    }
    // Only the one way of writing it is accepted, so the signed text is the
    // text that was read.
    if (ManifestText(manifest) != text) return std::nullopt;
    return manifest;
}

QString SignManifest(const QString& text, const QByteArray& secretKey) {
    if (sodium_init() < 0) throw std::runtime_error("The signature library cannot start.");
    const QByteArray seed = secretKey.left(crypto_sign_SEEDBYTES);
    if (secretKey.size() != static_cast<qsizetype>(crypto_sign_SEEDBYTES) &&
        secretKey.size() != static_cast<qsizetype>(crypto_sign_SECRETKEYBYTES))
        return {};
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, Qt::Uninitialized);
    QByteArray secret(crypto_sign_SECRETKEYBYTES, Qt::Uninitialized);
    crypto_sign_seed_keypair(reinterpret_cast<unsigned char*>(publicKey.data()),
                             reinterpret_cast<unsigned char*>(secret.data()),
                             reinterpret_cast<const unsigned char*>(seed.constData()));
    const QByteArray message = text.toUtf8();
    QByteArray signature(crypto_sign_BYTES, Qt::Uninitialized);
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char*>(message.constData()),
                         static_cast<unsigned long long>(message.size()),
                         reinterpret_cast<const unsigned char*>(secret.constData()));
    return QString::fromLatin1(signature.toBase64());
}

TSignatureCheck VerifyManifest(const QString& text, const QString& signatureBase64,
                               const QByteArray& publicKey) {
    if (sodium_init() < 0) throw std::runtime_error("The signature library cannot start.");
    if (publicKey.size() != static_cast<qsizetype>(crypto_sign_PUBLICKEYBYTES)) return TSignatureCheck::NoKey;
    if (signatureBase64.trimmed().isEmpty()) return TSignatureCheck::Missing;
    const auto decoded = QByteArray::fromBase64Encoding(signatureBase64.trimmed().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != static_cast<qsizetype>(crypto_sign_BYTES))
        return TSignatureCheck::Malformed;
    const QByteArray message = text.toUtf8();
    const int result =
        crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(decoded.decoded.constData()),
                                    reinterpret_cast<const unsigned char*>(message.constData()),
                                    static_cast<unsigned long long>(message.size()),
                                    reinterpret_cast<const unsigned char*>(publicKey.constData()));
    return result == 0 ? TSignatureCheck::Valid : TSignatureCheck::Mismatch;
}

QString ManifestPageLines(const TManifest& manifest, const QByteArray& secretKey) {
    const QString text = ManifestText(manifest);
    const QString signature = SignManifest(text, secretKey);
    if (signature.isEmpty() || text.size() > MaxManifestChars) return {};
    return QStringLiteral("<META NAME=\"%1\" CONTENT=\"%2\">\n<META NAME=\"%3\" CONTENT=\"%4\">\n")
        .arg(ManifestTag(manifest.Role), text, ManifestSignatureTag(manifest.Role), signature);
}

} // namespace slabwise
