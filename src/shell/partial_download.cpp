#include "shell/partial_download.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

QString InfoPath(const QString& partPath) {
    return partPath + QStringLiteral(".info");
}

// The address and validator the part came with: two lines.
QList<QByteArray> ReadInfo(const QString& partPath) {
    QFile info(InfoPath(partPath));
    if (!info.open(QIODevice::ReadOnly))
        return {};
    return info.read(64 * 1024).split('\n');
}

} // namespace

qint64 TPartialDownload::THashedFile::writeData(const char* data, qint64 size) {
    const qint64 written = QFile::writeData(data, size);
    if (written > 0)
        Digest->Add(data, written);
    return written;
}

TPartialDownload::TPartialDownload(const QString& gamePath)
    : FGamePath(gamePath), FFile(gamePath + QStringLiteral(".part")) {}

bool TPartialDownload::Open(const QString& url) {
    FFile.close();
    FUrl = url;
    const QList<QByteArray> info = ReadInfo(FFile.fileName());
    const bool sameOrigin = info.size() >= 2 && info[0] == url.toUtf8();
    FValidator = sameOrigin ? info[1] : QByteArray();
    FFile.Digest = std::make_unique<TSha256Digest>();
    const QIODevice::OpenMode mode =
        sameOrigin ? QIODevice::ReadWrite : QIODevice::ReadWrite | QIODevice::Truncate;
    if (!FFile.open(mode))
        return false;
    // The part held is hashed once, so that the finished file's digest needs no second read.
    if (!FFile.Digest->AddAll(FFile)) {
        Restart();
        return true;
    }
    return FFile.seek(FFile.size());
}

THttpResume TPartialDownload::Resume() const {
    return {FFile.size(), FValidator};
}

void TPartialDownload::Continue(const THttpReply& reply) {
    if (!reply.Resumed)
        Restart();
    if (reply.Validator != FValidator || !QFileInfo::exists(InfoPath(FFile.fileName())))
        RememberOrigin(reply.Validator);
}

void TPartialDownload::Restart() {
    FFile.Digest = std::make_unique<TSha256Digest>();
    FFile.resize(0);
    FFile.seek(0);
}

void TPartialDownload::RememberOrigin(const QByteArray& validator) {
    FValidator = validator;
    QSaveFile info(InfoPath(FFile.fileName()));
    if (info.open(QIODevice::WriteOnly)) {
        info.write(FUrl.toUtf8() + '\n' + validator + '\n');
        info.commit();
    }
}

bool TPartialDownload::Publish(TGameFingerprint& fingerprint) {
    if (!FFile.flush())
        return false;
    const qint64 size = FFile.size();
    FFile.close();
    if (std::rename(QFile::encodeName(FFile.fileName()).constData(),
                    QFile::encodeName(FGamePath).constData()) != 0) {
        FRenameError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QFile::remove(InfoPath(FFile.fileName()));
    fingerprint = {size, FFile.Digest->FinishHex(),
                   QFileInfo(FGamePath).lastModified().toMSecsSinceEpoch()};
    return true;
}

void TPartialDownload::Discard() {
    FFile.close();
    QFile::remove(FFile.fileName());
    QFile::remove(InfoPath(FFile.fileName()));
}
