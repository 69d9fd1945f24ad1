#include "UpdateSignature.h"

#include <sodium.h>

#include <stdexcept>

#ifndef SLABWISE_UPDATE_PUBLIC_KEY
#define SLABWISE_UPDATE_PUBLIC_KEY ""
#endif

namespace slabwise {

namespace {

void InitSodium() {
    if (sodium_init() < 0) throw std::runtime_error("The signature library cannot start.");
}

QByteArray SecretKeyFrom(const QByteArray& key) {
    if (key.size() == static_cast<qsizetype>(crypto_sign_SECRETKEYBYTES)) return key;
    if (key.size() != static_cast<qsizetype>(crypto_sign_SEEDBYTES)) return {};
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, Qt::Uninitialized);
    QByteArray secret(crypto_sign_SECRETKEYBYTES, Qt::Uninitialized);
    crypto_sign_seed_keypair(reinterpret_cast<unsigned char*>(publicKey.data()),
                             reinterpret_cast<unsigned char*>(secret.data()),
                             reinterpret_cast<const unsigned char*>(key.constData()));
    return secret;
}

} // namespace

TSigningKeys NewSigningKeys() {
    InitSodium();
    TSigningKeys keys{QByteArray(crypto_sign_SEEDBYTES, Qt::Uninitialized), {}};
    randombytes_buf(keys.Seed.data(), static_cast<size_t>(keys.Seed.size()));
    keys.PublicKey = PublicKeyOf(keys.Seed);
    return keys;
}

QByteArray PublicKeyOf(const QByteArray& secretKey) {
    InitSodium();
    const QByteArray secret = SecretKeyFrom(secretKey);
    if (secret.isEmpty()) return {};
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, Qt::Uninitialized);
    crypto_sign_ed25519_sk_to_pk(reinterpret_cast<unsigned char*>(publicKey.data()),
                                 reinterpret_cast<const unsigned char*>(secret.constData()));
    return publicKey;
}

QString SignManifest(const QString& text, const QByteArray& secretKey) {
    InitSodium();
    const QByteArray secret = SecretKeyFrom(secretKey);
    if (secret.isEmpty()) return {};
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
    InitSodium();
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

QByteArray BuildPublicKey() {
    const auto decoded = QByteArray::fromBase64Encoding(QByteArrayLiteral(SLABWISE_UPDATE_PUBLIC_KEY),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != static_cast<qsizetype>(crypto_sign_PUBLICKEYBYTES)) return {};
    return decoded.decoded;
}

} // namespace slabwise
