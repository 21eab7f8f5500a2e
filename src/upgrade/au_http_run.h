#pragma once

#include "platform/internet_request.h"
#include "upgrade/au_http.h"

#include <QCryptographicHash>
#include <QFile>
#include <atomic>
#include <memory>
#include <mutex>

// Everything that one transfer's worker touches. The component hands its settings over when
// the transfer starts and reads the results from here, so a worker that outlives its turn (an
// abandoned one running out) never reaches the component or a later transfer.
struct TTransferRun {
    // Reached only inside calls handed to the UI thread: those are skipped once the run has been
    // abandoned, which the component's destruction does first.
    TauCustomHTTP* Component = nullptr;

    QString Url;
    QString OutputFileName;
    TauOutputFileAttributes Attributes;
    TauCacheOptions CacheOptions;
    TauInternetOptions InternetOptions;
    TauHTTPProxy Proxy;
    int BlockSize = 0;
    QString AcceptTypes;
    QString UserAgent;
    QString HTTPUsername;
    QString HTTPPassword;
    bool HasHeaderInfo = false;
    bool HasProgress = false;
    bool HasPasswordRequired = false;
    bool HasProxyAuthentication = false;
    std::shared_ptr<TInternetSession> Session;

    std::atomic<int> StatusCode = -1;
    std::atomic<int> ContentLength = 0;
    std::atomic<quint32> BytesRead = 0;
    quint32 StartTick = 0;
    bool Success = false;
    bool TryAgain = false;
    bool Continue = true;
    bool WriteFailed = false;
    // The body ended in a failed read (a chunked body cut short, a reset): it is not whole.
    bool ReadFailed = false;
    QString OutputError;
    // Of the body as it was stored, so that a downloaded file is checked without a second read.
    QCryptographicHash BodyHash{QCryptographicHash::Sha256};
    std::atomic<bool> Reading = true;

    std::unique_ptr<TInternetRequest> Request;
    std::unique_ptr<QFile> LocalFile;

    QString CurrentContentType() const {
        const std::lock_guard lock(Lock);
        return ContentType;
    }
    void SetContentType(const QString& type) {
        const std::lock_guard lock(Lock);
        ContentType = type;
    }

    // Guards what Release may take away while the worker still writes.
    mutable std::mutex Lock;
    QString ContentType;
    std::unique_ptr<QIODevice> Output;
    bool OutputIsFile = false;
    // Set once, under the lock; the worker looks at it at its check points.
    std::atomic<bool> Released = false;
};

// The worker's side of a transfer.
void RunTransfer(TTransferRun& run, TauEventThread& thread);
// Closes the output (a partial file gets the Incomplete attributes) and clears Reading; once.
void ReleaseRun(TTransferRun& run);
// The system's tick count in milliseconds.
quint32 TickCount();
