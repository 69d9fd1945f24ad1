#include "UpdateManifest.h"

#include <QRegularExpression>
#include <QUrl>

#include <array>

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

std::optional<TPackageRole> RoleNamed(const QString& name) {
    for (const TRoleNames& names : Roles)
        if (name == QLatin1String(names.Name)) return names.Role;
    return std::nullopt;
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
    const std::optional<TPackageRole> role = RoleNamed(values[2]);
    if (!role) return std::nullopt;
    manifest.Role = *role;
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

QString ManifestPageLines(const TManifest& manifest, const QByteArray& secretKey) {
    const QString text = ManifestText(manifest);
    const QString signature = SignManifest(text, secretKey);
    if (signature.isEmpty() || text.size() > MaxManifestChars) return {};
    return QStringLiteral("<META NAME=\"%1\" CONTENT=\"%2\">\n<META NAME=\"%3\" CONTENT=\"%4\">\n")
        .arg(ManifestTag(manifest.Role), text, ManifestSignatureTag(manifest.Role), signature);
}

} // namespace slabwise
