#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <memory>
#include <optional>

// What the requests of one component share: the cookies that its servers set. Requests may run
// on several threads at once (an abandoned one running out beside its successor).
class TInternetSession {
public:
    TInternetSession();
    ~TInternetSession();
    TInternetSession(const TInternetSession&) = delete;
    TInternetSession& operator=(const TInternetSession&) = delete;

    struct TShare;

private:
    friend class TInternetRequest;
    std::unique_ptr<TShare> FShare;
};

struct TInternetRequestSettings {
    enum class TProxyMode { System, Direct, Named };

    QByteArray Url;
    QByteArray UserAgent;
    QByteArray Accept;
    TProxyMode ProxyMode = TProxyMode::System;
    // host:port of the named proxy, and the hosts reached without it, separated by commas.
    QByteArray ProxyServer;
    QByteArray ProxyBypass;
    bool NoCache = false;
    bool FollowRedirects = true;
    // Schemes a followed redirection may lead to ("http,https").
    QByteArray RedirectSchemes;
    bool VerifyPeer = true;
    bool VerifyHost = true;
    bool Cookies = true;
    bool KeepAlive = true;
    // Whether a login is offered when the server or the proxy asks for one.
    bool Authenticate = true;
};

// One GET over libcurl, driven step by step: send, look at the answer's status and headers,
// then read its body in blocks of the caller's size. Blocking calls give up early once
// StopRequested answers true. Use it on one thread at a time.
class TInternetRequest {
public:
    TInternetRequest(std::shared_ptr<TInternetSession> session,
                     const TInternetRequestSettings& settings, std::function<bool()> stopRequested);
    ~TInternetRequest();
    TInternetRequest(const TInternetRequest&) = delete;
    TInternetRequest& operator=(const TInternetRequest&) = delete;

    // Logins offered from the next Send on; an empty user name offers none.
    void SetLogin(const QByteArray& user, const QByteArray& password);
    void SetProxyLogin(const QByteArray& user, const QByteArray& password);

    // Sends the request (again) and waits until the final answer's headers are in, after any
    // followed redirection or login round; false when no answer came.
    bool Send();
    // The status of the answer; empty before one came.
    std::optional<int> StatusCode() const;
    // The first header of that name, whatever its letter case; empty when there is none.
    std::optional<QByteArray> Header(QByteArrayView name) const;
    // The status line and every header line of the answer, each ended by CR LF, then CR LF.
    QByteArray RawHeaders() const;
    // Up to Size bytes of the body: the count, 0 at its end, -1 when the transfer failed or
    // was stopped.
    qint64 Read(char* buffer, qint64 size);

    struct TTransfer;

private:
    std::unique_ptr<TTransfer> FTransfer;
};
