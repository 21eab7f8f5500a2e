#include "platform/server_probe.h"

#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>
#include <utility>

namespace {

constexpr int kFirstPauseMs = 2000;
constexpr int kLongestPauseMs = 30000;
constexpr int kQuestionTimeoutMs = 5000;

// The proxies the system names, as the browser panes use them: a probe going another way
// could see the server where the panes cannot, or miss it where they can.
class TSystemProxies : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return systemProxyForQuery(query);
    }
};

} // namespace

TServerProbe::TServerProbe(QObject* parent) : QObject(parent) {
    FNetwork.setProxyFactory(new TSystemProxies);
    FPause.setSingleShot(true);
    FPause.setInterval(kFirstPauseMs);
    connect(&FPause, &QTimer::timeout, this, &TServerProbe::Ask);
}

void TServerProbe::Start(const QUrl& address) {
    if (Running())
        return;
    FAddress = address;
    FPause.start();
}

void TServerProbe::Stop() {
    FPause.stop();
    FPause.setInterval(kFirstPauseMs);
    if (FReply == nullptr)
        return;
    QNetworkReply* reply = std::exchange(FReply, nullptr);
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void TServerProbe::Ask() {
    QNetworkRequest request(FAddress);
    request.setTransferTimeout(kQuestionTimeoutMs);
    // A redirection is an answer too; following it could lead to a server that gives none.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    FReply = FNetwork.head(request);
    connect(FReply, &QNetworkReply::finished, this, &TServerProbe::OnReplyFinished);
}

void TServerProbe::OnReplyFinished() {
    QNetworkReply* reply = std::exchange(FReply, nullptr);
    reply->deleteLater();
    FPause.setInterval(std::min(FPause.interval() * 2, kLongestPauseMs));
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        emit Answered();
    else
        FPause.start();
}
