#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QTimer>
#include <QUrl>

class QNetworkReply;

// Asks an address now and then, with growing pauses, until its server answers at all (any
// status counts). Each question is one HEAD request handled by the event loop: the UI thread
// never waits for it.
class TServerProbe : public QObject {
    Q_OBJECT
public:
    explicit TServerProbe(QObject* parent = nullptr);
    ~TServerProbe() override { Stop(); }

    // Asks Address after the pause; a probe already asking goes on as it is. The pause doubles
    // with every question, answered or not, up to half a minute: a server that answers the
    // probe and still fails its pages is not asked faster and faster.
    void Start(const QUrl& address);
    // Asks nothing more (an answer on its way is dropped); the pause is the shortest again.
    void Stop();
    bool Running() const { return FPause.isActive() || FReply != nullptr; }

signals:
    // The server answered; the probe asks nothing more until started again.
    void Answered();

private:
    void Ask();
    void OnReplyFinished();

    QNetworkAccessManager FNetwork;
    QTimer FPause;
    QUrl FAddress;
    QNetworkReply* FReply = nullptr;
};
