#pragma once

#include "support/catalogue_process.h"

#include <QProcess>
#include <QString>
#include <QtGlobal>

// Command-line argument Index read as a count; Fallback when it is not given.
inline int CountArgument(int argc, char* argv[], int index, int fallback) {
    return argc > index ? QString::fromLocal8Bit(argv[index]).toInt() : fallback;
}

// The demo catalogue in a process of its own, with the client pointed at it; it ends with this
// object, also when a benchmark gives up early.
class TBenchCatalogue {
public:
    TBenchCatalogue() : FHost(StartCatalogueProcess(FProcess)) {
        if (!FHost.isEmpty())
            qputenv("PEBBLO_CATALOGUE_HOST", FHost.toUtf8());
    }
    ~TBenchCatalogue() {
        FProcess.terminate();
        FProcess.waitForFinished();
    }
    TBenchCatalogue(const TBenchCatalogue&) = delete;
    TBenchCatalogue& operator=(const TBenchCatalogue&) = delete;

    // "127.0.0.1:port", empty when the catalogue did not start.
    QString Host() const { return FHost; }
    // Not the client's: left out of the client's memory.
    qint64 ProcessId() const { return FProcess.processId(); }

private:
    QProcess FProcess;
    QString FHost;
};

// How long a loopback download of Megabytes may take before it is taken for one that hangs: it
// would have fallen below 2 MiB/s, far under any rate measured here.
inline int TransferDeadlineMs(int megabytes) {
    return 10000 + megabytes * 500;
}

// The catalogue's file of Megabytes mebibytes made for timing transfers, and its size.
inline QString BlobUrl(const QString& host, int megabytes) {
    return QStringLiteral("http://%1/bench/blob?mb=%2").arg(host).arg(megabytes);
}
inline qint64 BlobBytes(int megabytes) {
    return qint64(megabytes) * 1024 * 1024;
}
