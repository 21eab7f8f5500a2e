#pragma once

#include "platform/http_client.h"

#include <QFile>

// The part of a game file downloaded so far, kept beside the game under a name the library never
// loads ("<game>.swf.part"), with the address and validator it came with ("<game>.swf.part.info")
// so that a transfer that broke, or a client closed mid-download, continues where it stopped.
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
    // that failed.
    bool Publish();
    // Drops the part and its information: the download was cancelled or brought nothing.
    void Discard();

private:
    void Restart();
    void RememberOrigin(const QByteArray& validator);

    QString FGamePath;
    QString FUrl;
    QByteArray FValidator;
    QString FRenameError;
    QFile FFile;
};
