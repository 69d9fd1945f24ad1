#pragma once

#include <QByteArray>
#include <QString>

namespace slabwise {

// The maker signs each release's manifests with Ed25519 (UpdateManifest.h);
// a manifest's signature checks out as one of these.
enum class TSignatureCheck { Valid, NoKey, Missing, Malformed, Mismatch };

// A new key pair: the 32-byte seed and the 32-byte public key.
struct TSigningKeys {
    QByteArray Seed;
    QByteArray PublicKey;
};
TSigningKeys NewSigningKeys();
// The public key belonging to a seed or secret key; empty when malformed.
QByteArray PublicKeyOf(const QByteArray& secretKey);
// A manifest's detached Ed25519 signature over its text's UTF-8 bytes, in
// base64; empty when the key is neither a seed nor a secret key.
QString SignManifest(const QString& text, const QByteArray& secretKey);
TSignatureCheck VerifyManifest(const QString& text, const QString& signatureBase64,
                               const QByteArray& publicKey);
// The maker's public key this build carries; empty when the build has none.
QByteArray BuildPublicKey();

} // namespace slabwise
