#pragma once

#include "common/pending_file.h"
#include "common/sha256_digest.h"

// A pending file that hashes what is written to it as it goes, so that a download knows its
// digest without reading the file a second time.
class THashedPendingFile : public TPendingFile {
public:
    using TPendingFile::TPendingFile;

    // The digest of everything written, in small hexadecimal letters; call once, when done.
    QByteArray FinishHex() { return FDigest.FinishHex(); }

protected:
    qint64 writeData(const char* data, qint64 size) override {
        const qint64 written = TPendingFile::writeData(data, size);
        if (written > 0)
            FDigest.Add(data, written);
        return written;
    }

private:
    TSha256Digest FDigest;
};
