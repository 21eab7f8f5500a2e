#include "platform/internet_request.h"

#include "platform/curl_library.h"

#include <QList>
#include <algorithm>
#include <cstring>
#include <curl/curl.h>
#include <mutex>
#include <string>

namespace {

constexpr long kReceiveBufferBytes = 256L * 1024L;
constexpr long kConnectSeconds = 30;
// A body that stalls for this long has been lost.
constexpr long kStallSeconds = 60;
constexpr int kPollMilliseconds = 100;

} // namespace

struct TInternetSession::TShare {
    CURLSH* Handle = nullptr;
    std::mutex Lock;
};

TInternetSession::TInternetSession() : FShare(std::make_unique<TShare>()) {
    InitialiseCurl();
    FShare->Handle = curl_share_init();
    curl_share_setopt(FShare->Handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(FShare->Handle, CURLSHOPT_USERDATA, FShare.get());
    curl_share_setopt(
        FShare->Handle, CURLSHOPT_LOCKFUNC,
        +[](CURL*, curl_lock_data, curl_lock_access, void* share) {
            static_cast<TShare*>(share)->Lock.lock();
        });
    curl_share_setopt(
        FShare->Handle, CURLSHOPT_UNLOCKFUNC,
        +[](CURL*, curl_lock_data, void* share) { static_cast<TShare*>(share)->Lock.unlock(); });
}

TInternetSession::~TInternetSession() {
    curl_share_cleanup(FShare->Handle);
}

struct TInternetRequest::TTransfer {
    std::shared_ptr<TInternetSession> Session;
    std::function<bool()> StopRequested;
    CURLM* Multi = nullptr;
    CURL* Easy = nullptr;
    curl_slist* Headers = nullptr;
    bool Added = false;
    bool Done = false;
    CURLcode Result = CURLE_OK;
    bool BodyStarted = false;
    QByteArray HeaderLines;
    std::string Body;
    size_t BodyRead = 0;

    ~TTransfer() {
        if (Added)
            curl_multi_remove_handle(Multi, Easy);
        curl_easy_cleanup(Easy);
        curl_multi_cleanup(Multi);
        curl_slist_free_all(Headers);
    }

    void Restart() {
        if (Added)
            curl_multi_remove_handle(Multi, Easy);
        Done = false;
        Result = CURLE_OK;
        BodyStarted = false;
        HeaderLines.clear();
        Body.clear();
        BodyRead = 0;
        Added = curl_multi_add_handle(Multi, Easy) == CURLM_OK;
        Done = !Added;
        Result = Added ? CURLE_OK : CURLE_FAILED_INIT;
    }

    // Lets libcurl move data; waits a little when it has nothing to do.
    void Advance() {
        int running = 0;
        curl_multi_perform(Multi, &running);
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(Multi, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                Done = true;
                Result = message->data.result;
            }
        }
        if (!Done && Body.size() == BodyRead)
            curl_multi_poll(Multi, nullptr, 0, kPollMilliseconds, nullptr);
    }

    long ResponseCode() const {
        long code = 0;
        curl_easy_getinfo(Easy, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }

    static size_t OnHeaderLine(char* data, size_t size, size_t count, void* context) {
        auto& transfer = *static_cast<TTransfer*>(context);
        const QByteArray line(data, static_cast<qsizetype>(size * count));
        // Every answer (a redirection, a login round, the final one) starts with its status line.
        if (line.startsWith("HTTP/"))
            transfer.HeaderLines.clear();
        transfer.HeaderLines += line;
        return size * count;
    }

    // Only the body of the final answer comes here: libcurl skips those it follows up.
    static size_t OnBody(char* data, size_t size, size_t count, void* context) {
        auto& transfer = *static_cast<TTransfer*>(context);
        transfer.BodyStarted = true;
        transfer.Body.append(data, size * count);
        return size * count;
    }
};

TInternetRequest::TInternetRequest(std::shared_ptr<TInternetSession> session,
                                   const TInternetRequestSettings& settings,
                                   std::function<bool()> stopRequested)
    : FTransfer(std::make_unique<TTransfer>()) {
    TTransfer& transfer = *FTransfer;
    transfer.Session = std::move(session);
    transfer.StopRequested = std::move(stopRequested);
    transfer.Multi = curl_multi_init();
    transfer.Easy = curl_easy_init();
    CURL* curl = transfer.Easy;
    curl_easy_setopt(curl, CURLOPT_URL, settings.Url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, settings.UserAgent.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    transfer.Headers =
        curl_slist_append(transfer.Headers, ("Accept: " + settings.Accept).constData());
    if (settings.NoCache) {
        transfer.Headers = curl_slist_append(transfer.Headers, "Pragma: no-cache");
        transfer.Headers = curl_slist_append(transfer.Headers, "Cache-Control: no-cache");
    }
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, transfer.Headers);
    switch (settings.ProxyMode) {
    case TInternetRequestSettings::TProxyMode::System:
        break; // libcurl takes the proxy the environment names
    case TInternetRequestSettings::TProxyMode::Direct:
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
        break;
    case TInternetRequestSettings::TProxyMode::Named:
        curl_easy_setopt(curl, CURLOPT_PROXY, settings.ProxyServer.constData());
        curl_easy_setopt(curl, CURLOPT_NOPROXY, settings.ProxyBypass.constData());
        break;
    }
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, settings.FollowRedirects ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, settings.RedirectSchemes.constData());
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, settings.VerifyPeer ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, settings.VerifyHost ? 2L : 0L);
    if (settings.Cookies) {
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
        curl_easy_setopt(curl, CURLOPT_SHARE, transfer.Session->FShare->Handle);
    }
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, settings.KeepAlive ? 0L : 1L);
    const long schemes = settings.Authenticate ? CURLAUTH_ANY : CURLAUTH_NONE;
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, schemes);
    curl_easy_setopt(curl, CURLOPT_PROXYAUTH, schemes);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &TTransfer::OnHeaderLine);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TTransfer::OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
}

TInternetRequest::~TInternetRequest() = default;

void TInternetRequest::SetLogin(const QByteArray& user, const QByteArray& password) {
    if (user.isEmpty())
        return;
    curl_easy_setopt(FTransfer->Easy, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(FTransfer->Easy, CURLOPT_PASSWORD, password.constData());
}

void TInternetRequest::SetProxyLogin(const QByteArray& user, const QByteArray& password) {
    if (user.isEmpty())
        return;
    curl_easy_setopt(FTransfer->Easy, CURLOPT_PROXYUSERNAME, user.constData());
    curl_easy_setopt(FTransfer->Easy, CURLOPT_PROXYPASSWORD, password.constData());
}

bool TInternetRequest::Send() {
    TTransfer& transfer = *FTransfer;
    transfer.Restart();
    // The headers of the final answer are in when its body starts or the transfer has ended.
    while (!transfer.BodyStarted && !transfer.Done) {
        if (transfer.StopRequested())
            return false;
        transfer.Advance();
    }
    return transfer.ResponseCode() != 0;
}

std::optional<int> TInternetRequest::StatusCode() const {
    const long code = FTransfer->ResponseCode();
    return code == 0 ? std::nullopt : std::optional<int>(static_cast<int>(code));
}

std::optional<QByteArray> TInternetRequest::Header(QByteArrayView name) const {
    for (const QByteArray& line : FTransfer->HeaderLines.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 &&
            QByteArrayView(line).first(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return std::nullopt;
}

QByteArray TInternetRequest::RawHeaders() const {
    return FTransfer->HeaderLines;
}

qint64 TInternetRequest::Read(char* buffer, qint64 size) {
    TTransfer& transfer = *FTransfer;
    while (transfer.Body.size() == transfer.BodyRead) {
        transfer.Body.clear();
        transfer.BodyRead = 0;
        if (transfer.Done)
            return transfer.Result == CURLE_OK ? 0 : -1;
        if (transfer.StopRequested())
            return -1;
        transfer.Advance();
    }
    const auto count = static_cast<size_t>(
        std::min<qint64>(size, static_cast<qint64>(transfer.Body.size() - transfer.BodyRead)));
    std::memcpy(buffer, transfer.Body.data() + transfer.BodyRead, count);
    transfer.BodyRead += count;
    return static_cast<qint64>(count);
}
