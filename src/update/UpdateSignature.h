#pragma once

#include <QByteArray>
#include <QString>

namespace slabwise {

// Update packages are signed by the maker with Ed25519 over the SHA-512 of
// the file (the prehashed form, so a large package is read in pieces).
enum class TSignatureCheck { Valid, NoKey, Missing, Malformed, Mismatch, Unreadable };

// Checks a file against a base64 signature with a 32-byte public key.
TSignatureCheck VerifyFileSignature(const QString& file, const QString& signatureBase64,
                                    const QByteArray& publicKey);
// The 64-byte signature of a file with a 32-byte seed or a 64-byte secret
// key; empty when the file cannot be read or the key is malformed.
QByteArray SignFile(const QString& file, const QByteArray& secretKey);
// A new key pair: the 32-byte seed and the 32-byte public key.
struct TSigningKeys {
    QByteArray Seed;
    QByteArray PublicKey;
};
TSigningKeys NewSigningKeys();
// The public key belonging to a seed or secret key; empty when malformed.
QByteArray PublicKeyOf(const QByteArray& secretKey);
// The maker's public key this build carries; empty when the build has none.
QByteArray BuildPublicKey();

} // namespace slabwise
