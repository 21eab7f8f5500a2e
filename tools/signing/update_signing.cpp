#include "update_signing.h"

#include <fcntl.h>
#include <fstream>
#include <sodium.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace update_signing {
namespace {

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

void initialise() {
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot be initialised");
}

std::string toHex(std::string_view bytes) {
    std::string hex(bytes.size() * 2 + 1, '\0');
    sodium_bin2hex(hex.data(), hex.size(), bytesOf(bytes), bytes.size());
    hex.pop_back();
    return hex;
}

std::optional<std::string> fromHex(std::string_view hex, size_t size) {
    std::string bytes(size, '\0');
    size_t length = 0;
    const char* end = nullptr;
    if (sodium_hex2bin(reinterpret_cast<unsigned char*>(bytes.data()), size, hex.data(), hex.size(),
                       nullptr, &length, &end) != 0 ||
        length != size || end != hex.data() + hex.size())
        return std::nullopt;
    return bytes;
}

// A new file with Mode, never one that exists.
void writeNewFile(const std::filesystem::path& file, const std::string& text, mode_t mode) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        throw std::runtime_error("cannot create " + file.string() + " (it must not exist yet)");
    const bool written =
        ::write(fd, text.data(), text.size()) == ssize_t(text.size()) && ::fsync(fd) == 0;
    ::close(fd);
    if (!written)
        throw std::runtime_error("cannot write " + file.string());
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

SecretKey newSecretKey() {
    initialise();
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    SecretKey key{std::string(crypto_sign_SECRETKEYBYTES, '\0')};
    crypto_sign_keypair(publicKey, reinterpret_cast<unsigned char*>(key.bytes.data()));
    return key;
}

std::string generateKeyPair(const std::filesystem::path& secretKeyFile) {
    const SecretKey key = newSecretKey();
    const std::string publicHex = publicKeyHex(key);
    std::filesystem::path publicKeyFile = secretKeyFile;
    publicKeyFile += ".pub";
    writeNewFile(secretKeyFile, toHex(key.bytes) + "\n", 0600);
    writeNewFile(publicKeyFile, publicHex + "\n", 0644);
    return publicHex;
}

std::optional<SecretKey> loadSecretKey(const std::filesystem::path& secretKeyFile) {
    std::ifstream in(secretKeyFile);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    std::optional<std::string> bytes = fromHex(trimmed(text.str()), crypto_sign_SECRETKEYBYTES);
    if (!bytes)
        return std::nullopt;
    return SecretKey{std::move(*bytes)};
}

std::string publicKeyHex(const SecretKey& key) {
    initialise();
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    crypto_sign_ed25519_sk_to_pk(publicKey, bytesOf(key.bytes));
    return toHex({reinterpret_cast<const char*>(publicKey), sizeof publicKey});
}

std::string signatureHex(std::string_view message, const SecretKey& key) {
    initialise();
    unsigned char signature[crypto_sign_BYTES];
    crypto_sign_detached(signature, nullptr, bytesOf(message), message.size(), bytesOf(key.bytes));
    return toHex({reinterpret_cast<const char*>(signature), sizeof signature});
}

std::string sha256Hex(std::string_view bytes) {
    initialise();
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, bytesOf(bytes), bytes.size());
    return toHex({reinterpret_cast<const char*>(digest), sizeof digest});
}

} // namespace update_signing
