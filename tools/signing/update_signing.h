#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The vendor's side of trusted upgrades: Ed25519 keys and detached signatures (libsodium), and
// the SHA-256 digests the information file lists. Keys and signatures are kept as hexadecimal
// text, so that they can be read, mailed and served as they are.
namespace update_signing {

// An Ed25519 secret key as libsodium keeps it (its public key is its second half).
struct SecretKey {
    std::string bytes;
};

// A fresh secret key, kept nowhere.
SecretKey newSecretKey();

// Writes a new key pair: the secret key into SecretKeyFile (readable by its owner only), the
// public key into SecretKeyFile + ".pub". Returns the public key in hex. Never replaces an
// existing file: throws std::runtime_error then, and when a file cannot be written.
std::string generateKeyPair(const std::filesystem::path& secretKeyFile);

// Empty when the file is missing or holds no secret key.
std::optional<SecretKey> loadSecretKey(const std::filesystem::path& secretKeyFile);

// The public key of a secret key, in hex.
std::string publicKeyHex(const SecretKey& key);

// The detached signature of Message, in hex (128 digits).
std::string signatureHex(std::string_view message, const SecretKey& key);

// Lower-case hex of the SHA-256 of Bytes.
std::string sha256Hex(std::string_view bytes);

} // namespace update_signing
