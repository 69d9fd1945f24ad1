#pragma once

#include "UpdateSignature.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace slabwise {

// What a downloaded file is for.
enum class TPackageRole { Installer, InplaceArchive, InplaceUtility };

// The maker's signed statement about one file of a release: the update page
// only says where to fetch it; what it is, how long it is, what its bytes
// hash to and how it is started is what the maker signed.
struct TManifest {
    QString Product;
    QString Version;
    TPackageRole Role = TPackageRole::Installer;
    QString File;
    qint64 Length = 0;
    QByteArray Sha256; // 32 bytes
    QStringList Arguments;

    bool operator==(const TManifest&) const = default;
};

// The page reader looks at most this many characters of a value.
inline constexpr qsizetype MaxManifestChars = 254;

// The product every manifest of this program's releases names.
inline const QString ReleaseProduct = QStringLiteral("Slabwise");

QString RoleName(TPackageRole role);
// The role a manifest or the signing tool names; none for an unknown name.
std::optional<TPackageRole> RoleNamed(const QString& name);
// The META names that carry a role's manifest and its signature.
QString ManifestTag(TPackageRole role);
QString ManifestSignatureTag(TPackageRole role);

// The one text of a manifest that is signed and put on the page:
// "product=P;version=V;role=R;file=F;length=N;sha256=HEX[;args=A B]", each
// argument percent-encoded.
QString ManifestText(const TManifest& manifest);
// Reads a manifest text; anything but the exact form gives none.
std::optional<TManifest> ParseManifest(const QString& text);

// The page lines a release's file needs: its manifest and the signature.
QString ManifestPageLines(const TManifest& manifest, const QByteArray& secretKey);

} // namespace slabwise
