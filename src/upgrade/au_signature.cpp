#include "upgrade/au_signature.h"

#include <sodium.h>

namespace {

bool IsHexDigits(const QByteArray& text) {
    for (const char c : text) {
        const bool digit =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit)
            return false;
    }
    return true;
}

} // namespace

bool IsSignedBy(const QByteArray& message, const QByteArray& signatureFile,
                const QByteArray& publicKey) {
    const QByteArray hex = signatureFile.trimmed();
    if (publicKey.size() != crypto_sign_PUBLICKEYBYTES || hex.size() != 2 * crypto_sign_BYTES ||
        !IsHexDigits(hex) || sodium_init() < 0)
        return false;
    const QByteArray signature = QByteArray::fromHex(hex);
    return crypto_sign_verify_detached(
               reinterpret_cast<const unsigned char*>(signature.constData()),
               reinterpret_cast<const unsigned char*>(message.constData()),
               static_cast<unsigned long long>(message.size()),
               reinterpret_cast<const unsigned char*>(publicKey.constData())) == 0;
}
