#pragma once

#include <QByteArray>
#include <QIODevice>
#include <memory>

struct evp_md_ctx_st;

// SHA-256 fed piece by piece, through OpenSSL, whose code uses the processor's SHA instructions:
// a download is hashed as it arrives, at the speed of the wire.
class TSha256Digest {
public:
    TSha256Digest();
    ~TSha256Digest();
    TSha256Digest(const TSha256Digest&) = delete;
    TSha256Digest& operator=(const TSha256Digest&) = delete;

    void Add(const char* data, qint64 size);
    // Feeds what is left in Device; false when it could not be read.
    bool AddAll(QIODevice& device);
    // The digest of everything fed, in small hexadecimal letters; feeding ends.
    QByteArray FinishHex();

private:
    std::unique_ptr<evp_md_ctx_st, void (*)(evp_md_ctx_st*)> FContext;
};
