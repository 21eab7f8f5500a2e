#pragma once

#include "common/sha256_digest.h"
#include "library/game_fingerprints.h"
#include "platform/http_client.h"

#include <QFile>
#include <memory>

// The part of a game file downloaded so far, kept beside the game under a name the library never
// loads ("<game>.swf.part"), with the address and validator it came with ("<game>.swf.part.info")
// so that a transfer that broke, or a client closed mid-download, continues where it stopped.
// What is written is hashed as it goes; a part taken up again is read once to hash its start.
class TPartialDownload {
public:
    explicit TPartialDownload(const QString& gamePath);

    // Opens the part for Url: the part held goes on only when it came from the same address.
    bool Open(const QString& url);
    QString ErrorString() const {
        return FRenameError.isEmpty() ? FFile.errorString() : FRenameError;
    }
    // What to ask the server for: the rest of the part held, if any.
    THttpResume Resume() const;
    // The reply decided whether the part held goes on or the whole body comes again.
    void Continue(const THttpReply& reply);
    QIODevice& Stream() { return FFile; }
    qint64 Size() const { return FFile.size(); }

    // The part becomes the game file (replacing one of its name); false with ErrorString() when
    // that failed. Fingerprint is the whole file's.
    bool Publish(TGameFingerprint& fingerprint);
    // Drops the part and its information: the download was cancelled or brought nothing.
    void Discard();

private:
    void Restart();
    void RememberOrigin(const QByteArray& validator);

    QString FGamePath;
    QString FUrl;
    QByteArray FValidator;
    QString FRenameError;
    // The file's bytes are hashed as they are written.
    class THashedFile : public QFile {
    public:
        using QFile::QFile;
        std::unique_ptr<TSha256Digest> Digest = std::make_unique<TSha256Digest>();

    protected:
        qint64 writeData(const char* data, qint64 size) override;
    };
    THashedFile FFile;
};
