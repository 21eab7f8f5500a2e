#pragma once

#include "common/date_time.h"
#include "upgrade/au_set.h"
#include "upgrade/au_thread.h"
#include "upgrade/au_utils.h"

#include <QIODevice>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// The HTTP transfer component: one download at a time, of the resource at URL, into memory or
// into OutputFileName, on a worker thread; headers, progress and the outcome are reported
// through notifications that run in the UI thread.

enum TauCacheOption {
    coAlwaysReload,
    coReloadIfNoExpireInformation,
    coReloadUpdatedObjects,
    coPragmaNoCache,
    coNoCacheWrite,
    coCreateTempFilesIfCantCache,
    coUseCacheIfNetFail
};
using TauCacheOptions = TauSet<TauCacheOption>;

enum TauInternetOption {
    ioIgnoreCertificateInvalid,
    ioIgnoreCertificateDateInvalid,
    ioIgnoreUnknownCertificateAuthority,
    ioIgnoreRedirectToHTTP,
    ioIgnoreRedirectToHTTPS,
    ioKeepConnection,
    ioNoAuthentication,
    ioNoAutoRedirect,
    ioNoCookies
};
using TauInternetOptions = TauSet<TauInternetOption>;

enum TauHTTPAccessType { atPreconfig, atDirect, atUseProxy };

class TauHTTPProxy {
public:
    TauHTTPAccessType AccessType = atPreconfig;
    int ProxyPort = 8080;
    QString ProxyServer;
    // Hosts reached without the proxy, separated by ";".
    QString ProxyBypass = QStringLiteral("127.0.0.1;");
    QString ProxyUsername;
    QString ProxyPassword;
};

class TauOutputFileAttributes {
public:
    // What a finished output file carries.
    TauFileAttributes Complete{atrArchive};
    // What it carries while it is written, and after a failed or abandoned transfer.
    TauFileAttributes Incomplete{atrArchive, atrTemporary};
};

// The login that a transfer offers to the server.
class TauLoginComponent : public QObject {
    Q_OBJECT
public:
    explicit TauLoginComponent(QObject* owner = nullptr) : QObject(owner) {}

    QString HTTPUsername;
    QString HTTPPassword;
};

class TauCustomHTTP;
class TInternetSession;
struct TTransferRun;

using TauHeaderInfoEvent = std::function<void(
    TauCustomHTTP* sender, int statusCode, const QString& rawHeaders, const QString& contentType,
    const QString& contentLanguage, const QString& contentEncoding, int contentLength,
    const QString& location, TDateTime date, TDateTime lastModified, TDateTime expires,
    const QString& eTag, bool& continueTransfer)>;
using TauTransferProgressEvent =
    std::function<void(TauCustomHTTP* sender, const QString& contentType, int contentLength,
                       int bytesRead, int elapsedTime, int estimatedTimeLeft, quint8 percentDone,
                       float transferRate, QIODevice* data)>;
using TauHTTPPasswordRequestEvent =
    std::function<void(TauCustomHTTP* sender, const QString& realm, bool& tryAgain)>;
using TauHTTPProxyAuthenticationEvent = std::function<void(
    TauCustomHTTP* sender, QString& proxyUsername, QString& proxyPassword, bool& tryAgain)>;
using TauDoneEvent = std::function<void(TauCustomHTTP* sender, const QString& contentType,
                                        int bytesRead, QIODevice* data)>;
using TauConnectionLostEvent =
    std::function<void(TauCustomHTTP* sender, const QString& contentType, int contentLength,
                       int bytesRead, QIODevice* data)>;
using TauHTTPErrorEvent =
    std::function<void(TauCustomHTTP* sender, int statusCode, QIODevice* data)>;
using TauOutputFailedEvent = std::function<void(TauCustomHTTP* sender, const QString& message)>;
using TauNotifyEvent = std::function<void(TauCustomHTTP* sender)>;

class TauCustomHTTP : public TauLoginComponent {
    Q_OBJECT
public:
    explicit TauCustomHTTP(QObject* owner = nullptr);
    ~TauCustomHTTP() override;

    // Settings; change them only while no transfer runs.
    QString URL;
    QString OutputFileName;
    TauOutputFileAttributes OutputFileAttributes;
    TauCacheOptions RequestCacheOptions{coReloadIfNoExpireInformation, coReloadUpdatedObjects,
                                        coCreateTempFilesIfCantCache};
    TauInternetOptions InternetOptions{ioKeepConnection};
    TauHTTPProxy Proxy;
    QString AcceptTypes = QStringLiteral("text/html, */*");
    QString UserAgent;
    int TransferBufferSize() const { return FTransferBufferSize; }
    // Kept within 255 to 2147483647.
    void SetTransferBufferSize(int size);
    TThreadPriority ThreadPriority() const;
    void SetThreadPriority(TThreadPriority priority);

    // Notifications, all in the UI thread; the data streams belong to the component and live
    // until the completion step ends.
    TauHeaderInfoEvent OnHeaderInfo;
    TauTransferProgressEvent OnTransferProgress;
    TauHTTPPasswordRequestEvent OnPasswordRequired;
    TauHTTPProxyAuthenticationEvent OnProxyAuthenticationRequest;
    TauDoneEvent OnDone;
    TauConnectionLostEvent OnConnectionLost;
    TauNotifyEvent OnNoResponse;
    TauHTTPErrorEvent OnHTTPError;
    TauNotifyEvent OnSkipped;
    // The output file could not be created although the server told the length, or writing to
    // it failed; Message is the system's reason. Unbound, the first ends without notification
    // and the second is reported as OnConnectionLost.
    TauOutputFailedEvent OnOutputFailed;

    // Starts a transfer on a fresh worker; false, changing nothing, while one is being read.
    bool Read();
    // Asks the running transfer to stop at its next check point: it ends without notification.
    void Abort();
    bool Busy() const;
    // Frees what the last transfer left: its output stream (a partial file gets the Incomplete
    // attributes) and the reading mark. Call it before reading again from a notification.
    void Release();
    QString GetURLFileName() const;
    QString GetURLHostName() const;

    // Results of the last transfer, for the notification handlers.
    int StatusCode() const;
    QString ContentType() const;
    int ContentLength() const;
    quint32 BytesRead() const;
    // The SHA-256 of the body the last transfer stored; read it once the transfer has ended.
    QByteArray BodySha256() const;
    // The request flags of the system's HTTP layer that the options give for URL.
    quint32 RequestFlags() const;

protected:
    // Stops all notifications for good and lets a running transfer run out; a derived
    // component's destructor calls it first.
    void BeginDestruction();

private:
    // Aborted: the run was asked to stop.
    void Complete(TTransferRun& run, bool aborted);

    int FTransferBufferSize = 4096;
    TauCustomThread* FThread;
    std::shared_ptr<TInternetSession> FSession;
    std::shared_ptr<TTransferRun> FRun;
};
