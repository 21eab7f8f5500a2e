#include "common/sha256_digest.h"

#include <openssl/evp.h>

namespace {

constexpr qint64 kReadSize = 256 * 1024;

} // namespace

TSha256Digest::TSha256Digest() : FContext(EVP_MD_CTX_new(), &EVP_MD_CTX_free) {
    if (!FContext || EVP_DigestInit_ex(FContext.get(), EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc();
}

TSha256Digest::~TSha256Digest() = default;

void TSha256Digest::Add(const char* data, qint64 size) {
    EVP_DigestUpdate(FContext.get(), data, static_cast<size_t>(size));
}

bool TSha256Digest::AddAll(QIODevice& device) {
    QByteArray buffer(kReadSize, Qt::Uninitialized);
    for (;;) {
        const qint64 count = device.read(buffer.data(), buffer.size());
        if (count < 0)
            return false;
        if (count == 0)
            return device.atEnd();
        Add(buffer.constData(), count);
    }
}

QByteArray TSha256Digest::FinishHex() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(FContext.get(), digest, &length);
    return QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex();
}
