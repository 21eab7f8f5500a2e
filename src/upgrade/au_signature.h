#pragma once

#include <QByteArray>

// The information file is trusted only with a detached Ed25519 signature of its exact bytes,
// served beside it (its address + ".sig") as 128 hexadecimal digits.

// A signature file is a line of text: anything longer is not one.
inline constexpr qint64 kLargestSignatureFile = 4096;

inline constexpr qsizetype kUpdatePublicKeySize = 32;

// Whether SignatureFile holds a signature of Message by the key PublicKey (32 bytes). Blanks and
// line ends around the digits are allowed; nothing else is.
bool IsSignedBy(const QByteArray& message, const QByteArray& signatureFile,
                const QByteArray& publicKey);

// The vendor's key that the client was built with.
QByteArray BuiltInUpdatePublicKey();
