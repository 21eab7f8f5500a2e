// The vendor's public key, from the build's configuration (the demo key unless one was given).
#include "upgrade/au_signature.h"
#include "upgrade/update_public_key.h"

QByteArray BuiltInUpdatePublicKey() {
    return QByteArray::fromHex(QByteArrayLiteral(PEBBLO_UPDATE_PUBLIC_KEY_HEX));
}
