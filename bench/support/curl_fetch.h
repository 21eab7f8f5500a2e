#pragma once

#include "support/bench_setup.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>

// Has curl fetch the catalogue's blob of Megabytes into Target, the baseline of the transfers
// measured here, and removes it again. True only when curl succeeded in time and got the whole
// file; otherwise says what it got.
inline bool CurlFetchesBlob(const QString& host, int megabytes, const QString& target) {
    const int status = QProcess::execute(
        QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-f"), QStringLiteral("-m"),
                                 QString::number(TransferDeadlineMs(megabytes) / 1000),
                                 QStringLiteral("-o"), target, BlobUrl(host, megabytes)});
    const qint64 size = QFileInfo(target).size();
    QFile::remove(target);
    if (status == 0 && size == BlobBytes(megabytes))
        return true;
    std::fprintf(stderr, "curl ended with status %d after %lld bytes\n", status,
                 static_cast<long long>(size));
    return false;
}
