#pragma once

#include "common/failure.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

// What a reply's headers said, known before the first byte of its body reaches the stream.
struct THttpReply {
    // The reply's ETag, else its Last-Modified; empty when it gave neither.
    QByteArray Validator;
    // The body continues the part already held (206 from the offset asked, same validator);
    // otherwise it is the whole body, and whatever the stream held must be dropped first.
    bool Resumed = false;
};

// A request for the rest of a body of which the first From bytes are held already.
struct THttpResume {
    qint64 From = 0;
    // The validator of the reply those bytes came from, sent as If-Range.
    QByteArray Validator;
};

// Progress of a transfer into a stream, reported on the thread that called Get.
struct THttpProgress {
    // The expected size from the reply's headers; -1 when the server gave none.
    std::function<void(qint64 expectedSize)> OnWorkBegin;
    // The number of body bytes received so far.
    std::function<void(qint64 bytesSoFar)> OnWork;
    // Asked now and then on the transferring thread; true ends the transfer as a failure.
    std::function<bool()> IsAbandoned;
    // Called on the transferring thread itself, once the headers of the reply whose body will
    // be kept are in and before its first byte is written.
    std::function<void(const THttpReply&)> OnReply;
};

// What a request's failure was, for words the user understands; its message stays the
// technical text.
enum class THttpFailureKind {
    Status,      // the server answered with a status outside 2xx
    Unreachable, // no connection could be made, or the server did not answer in time
    CutOff,      // the connection broke before the body was whole
    Local,       // what arrived could not be kept (a full disk), or anything else on our side
};

class EHttpFailure : public EFailure {
public:
    EHttpFailure(THttpFailureKind kind, const QString& message, int status = 0)
        : EFailure(message), FKind(kind), FStatus(status) {}

    THttpFailureKind Kind() const { return FKind; }
    // The status code for a Status failure, else 0.
    int Status() const { return FStatus; }

private:
    THttpFailureKind FKind;
    int FStatus;
};

// A plain HTTP/1.1 GET over http or https; no connection, cookie or setting is kept between
// requests, so each request behaves as a client of its own. Redirections are not followed;
// any status outside 2xx fails with the server's status line ("HTTP/1.1 404 Not Found"), a
// transfer failure with the transfer library's text (a refused connection, a body shorter than
// its Content-Length). Failures are EHttpFailure. On the UI thread the event loop keeps running
// while the request waits; on a worker thread the call simply blocks.
class THttpClient {
public:
    // The reply body, bytes as the server sent them.
    QByteArray Get(const QString& url);
    // The reply body written into Stream; nothing is written for a failure status.
    void Get(const QString& url, QIODevice& stream, const THttpProgress& progress = {});
    // The same, asking only for what follows Resume.From. A server that answers with the whole
    // body (200), cannot serve the range, or serves a body whose validator changed gets the
    // request again without a range; Progress.OnReply says which came. Counts reported by
    // Progress are of the whole body, the part held included.
    void Get(const QString& url, QIODevice& stream, const THttpProgress& progress,
             const THttpResume& resume);
};
