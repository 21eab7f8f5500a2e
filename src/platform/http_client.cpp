#include "platform/http_client.h"

#include "common/failure.h"
#include "common/gbk_text.h"
#include "platform/curl_library.h"
#include "platform/event_loop_wait.h"

#include <QFileDevice>
#include <cstring>
#include <curl/curl.h>
#include <memory>
#include <optional>

namespace {

// The catalogue server has always been sent exactly these request headers; keep them as they are.
constexpr char kAcceptHeader[] = "Accept: text/html, */*";
constexpr char kUserAgent[] = "Mozilla/3.0 (compatible; Indy Library)";

// Takes a piece of the body; returns the failure text when it could not keep it, else empty.
using TBodySink = std::function<QString(const char* data, size_t size)>;

// What one transfer's callbacks share; lives on the stack of the thread running the transfer.
struct TTransfer {
    CURL* Handle = nullptr;
    const TBodySink* Sink = nullptr;
    const THttpProgress* Progress = nullptr;
    const TPostToCaller* PostToCaller = nullptr;
    // Set when only the rest of a body is asked for.
    const THttpResume* Resume = nullptr;
    QByteArray StatusLine;
    QByteArray ETag;
    QByteArray LastModified;
    QByteArray ContentRange;
    qint64 Received = 0;
    QString SinkFailure;
    // The reply cannot continue the part held: the request is made again for the whole body.
    bool ResumeRefused = false;

    long StatusCode() const {
        long code = 0;
        curl_easy_getinfo(Handle, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }
    bool IsSuccessStatus() const { return StatusCode() / 100 == 2; }

    void Report(const std::function<void(qint64)>& notify, qint64 value) const {
        if (notify)
            (*PostToCaller)([&notify, value] { notify(value); });
    }
};

// GBK bytes as the pages carry them; blanks, control and non-ASCII bytes percent-encoded so that
// a game name with blanks or Chinese still makes a valid request line.
QByteArray RequestUrl(const QString& url) {
    QByteArray encoded;
    for (const char byte : ToGbk(url)) {
        const auto code = static_cast<unsigned char>(byte);
        if (code <= 0x20 || code >= 0x7F)
            encoded.append('%').append(
                QByteArray::number(code, 16).toUpper().rightJustified(2, '0'));
        else
            encoded.append(byte);
    }
    return encoded;
}

// The value of Line when it is the header Name (given in small letters with its colon).
std::optional<QByteArray> HeaderValue(const QByteArray& line, const char* name) {
    if (!line.toLower().startsWith(name))
        return std::nullopt;
    return line.mid(qsizetype(std::strlen(name))).trimmed();
}

// Whether a 206 reply continues exactly the part held, of the same file.
bool ContinuesHeldPart(const TTransfer& transfer, const QByteArray& validator) {
    const THttpResume& resume = *transfer.Resume;
    const QByteArray from = "bytes " + QByteArray::number(resume.From) + '-';
    return transfer.ContentRange.startsWith(from) &&
           (resume.Validator.isEmpty() || validator.isEmpty() || validator == resume.Validator);
}

// The headers are in: decides whether the body continues the part held, and announces it.
// False refuses the body, which ends the transfer.
bool HeadersEnded(TTransfer& transfer) {
    const long status = transfer.StatusCode();
    const QByteArray validator = !transfer.ETag.isEmpty() ? transfer.ETag : transfer.LastModified;
    const bool resuming = transfer.Resume != nullptr && transfer.Resume->From > 0;
    // Some servers send a range under 200: its Content-Range tells it from a whole body.
    const bool ranged = status == 206 || !transfer.ContentRange.isEmpty();
    THttpReply reply{validator, resuming && ranged};
    if (resuming && (status == 416 || (ranged && !ContinuesHeldPart(transfer, validator)))) {
        transfer.ResumeRefused = true;
        return false;
    }
    if (!transfer.IsSuccessStatus())
        return true;
    if (transfer.Progress->OnReply)
        transfer.Progress->OnReply(reply);
    transfer.Received = reply.Resumed ? transfer.Resume->From : 0;
    curl_off_t expected = -1;
    curl_easy_getinfo(transfer.Handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
    transfer.Report(transfer.Progress->OnWorkBegin,
                    expected >= 0 ? expected + transfer.Received : expected);
    return true;
}

size_t OnHeaderLine(char* data, size_t size, size_t count, void* context) {
    auto& transfer = *static_cast<TTransfer*>(context);
    const QByteArray line(data, static_cast<qsizetype>(size * count));
    // Interim replies (100 Continue) bring their own status line and headers; the last one is
    // the answer.
    if (line.startsWith("HTTP/")) {
        transfer.StatusLine = line.trimmed();
        transfer.ETag.clear();
        transfer.LastModified.clear();
        transfer.ContentRange.clear();
    } else if (const auto etag = HeaderValue(line, "etag:")) {
        transfer.ETag = *etag;
    } else if (const auto modified = HeaderValue(line, "last-modified:")) {
        transfer.LastModified = *modified;
    } else if (const auto range = HeaderValue(line, "content-range:")) {
        transfer.ContentRange = *range;
    } else if (line.trimmed().isEmpty() && !HeadersEnded(transfer)) {
        return 0;
    }
    return size * count;
}

size_t OnBodyData(char* data, size_t size, size_t count, void* context) {
    auto& transfer = *static_cast<TTransfer*>(context);
    const size_t length = size * count;
    // The body of a failure status is not wanted; stopping here ends the transfer at once.
    if (!transfer.IsSuccessStatus())
        return 0;
    transfer.SinkFailure = (*transfer.Sink)(data, length);
    if (!transfer.SinkFailure.isEmpty())
        return 0;
    transfer.Received += static_cast<qint64>(length);
    transfer.Report(transfer.Progress->OnWork, transfer.Received);
    return length;
}

int OnTransferInfo(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto& transfer = *static_cast<TTransfer*>(context);
    const auto& abandoned = transfer.Progress->IsAbandoned;
    // Called at least once a second, even while the server sends nothing.
    return CallerStoppedWaiting() || (abandoned && abandoned()) ? 1 : 0;
}

THttpFailureKind KindOf(CURLcode result) {
    switch (result) {
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SSL_CONNECT_ERROR:
        return THttpFailureKind::Unreachable;
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return THttpFailureKind::CutOff;
    default:
        return THttpFailureKind::Local;
    }
}

// Runs the request on the calling thread; false when a resumed request got a reply that cannot
// continue the part held, and nothing was written.
bool Transfer(const QString& url, const TBodySink& sink, const THttpProgress& progress,
              const TPostToCaller& postToCaller, const THttpResume* resume = nullptr) {
    InitialiseCurl();
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(),
                                                                     &curl_easy_cleanup);
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        curl_slist_append(nullptr, kAcceptHeader), &curl_slist_free_all);
    if (headers && resume != nullptr && resume->From > 0) {
        for (const QByteArray& line :
             {"Range: bytes=" + QByteArray::number(resume->From) + '-',
              resume->Validator.isEmpty() ? QByteArray() : "If-Range: " + resume->Validator}) {
            // A validator is the server's text: one holding a line break is not sent.
            if (!line.isEmpty() && !line.contains('\r') && !line.contains('\n'))
                curl_slist_append(headers.get(), line.constData());
        }
    }
    if (!handle || !headers)
        throw EHttpFailure(THttpFailureKind::Local, QStringLiteral("Out of memory"));
    TTransfer transfer;
    transfer.Handle = handle.get();
    transfer.Sink = &sink;
    transfer.Progress = &progress;
    transfer.PostToCaller = &postToCaller;
    transfer.Resume = resume;
    char errorText[CURL_ERROR_SIZE] = {};
    const QByteArray requestUrl = RequestUrl(url);
    CURL* curl = handle.get();
    curl_easy_setopt(curl, CURLOPT_URL, requestUrl.constData());
    // Addresses come from the network: never let one read a local file or another protocol.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
    // A proxy from the environment is not the client's default.
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // Large pieces keep the per-piece work (writing, progress) small against the transfer.
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 512L * 1024L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &OnHeaderLine);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnBodyData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &OnTransferInfo);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    const CURLcode result = curl_easy_perform(curl);
    if (transfer.ResumeRefused)
        return false;
    if (!transfer.StatusLine.isEmpty() && !transfer.IsSuccessStatus())
        throw EHttpFailure(THttpFailureKind::Status, QString::fromLatin1(transfer.StatusLine),
                           static_cast<int>(transfer.StatusCode()));
    if (!transfer.SinkFailure.isEmpty())
        throw EHttpFailure(THttpFailureKind::Local, transfer.SinkFailure);
    if (result != CURLE_OK)
        throw EHttpFailure(
            KindOf(result),
            QString::fromUtf8(errorText[0] != '\0' ? errorText : curl_easy_strerror(result)));
    return true;
}

} // namespace

QByteArray THttpClient::Get(const QString& url) {
    QByteArray body;
    const TBodySink sink = [&body](const char* data, size_t size) {
        body.append(data, static_cast<qsizetype>(size));
        return QString();
    };
    RunKeepingEventsFlowing(
        [&](const TPostToCaller& postToCaller) { Transfer(url, sink, {}, postToCaller); });
    return body;
}

void THttpClient::Get(const QString& url, QIODevice& stream, const THttpProgress& progress) {
    Get(url, stream, progress, THttpResume{});
}

void THttpClient::Get(const QString& url, QIODevice& stream, const THttpProgress& progress,
                      const THttpResume& resume) {
    const TBodySink sink = [&stream](const char* data, size_t size) {
        if (stream.write(data, static_cast<qint64>(size)) == static_cast<qint64>(size))
            return QString();
        const QString reason = stream.errorString();
        return reason.isEmpty() ? QStringLiteral("The received data could not be written") : reason;
    };
    RunKeepingEventsFlowing([&](const TPostToCaller& postToCaller) {
        if (!Transfer(url, sink, progress, postToCaller, &resume))
            Transfer(url, sink, progress, postToCaller);
    });
    // A file keeps the last pieces in its buffer; a full disk must fail the transfer here
    // instead of leaving a silently truncated game behind.
    auto* file = qobject_cast<QFileDevice*>(&stream);
    if (file != nullptr && !file->flush())
        throw EHttpFailure(THttpFailureKind::Local, file->errorString());
}
