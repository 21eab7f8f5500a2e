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

TPartialDownload::TPartialDownload(const QString& gamePath)
    : FGamePath(gamePath), FFile(gamePath + QStringLiteral(".part")) {}

bool TPartialDownload::Open(const QString& url) {
    FFile.close();
    FUrl = url;
    const QList<QByteArray> info = ReadInfo(FFile.fileName());
    const bool sameOrigin = info.size() >= 2 && info[0] == url.toUtf8();
    FValidator = sameOrigin ? info[1] : QByteArray();
    const QIODevice::OpenMode mode =
        sameOrigin ? QIODevice::ReadWrite : QIODevice::ReadWrite | QIODevice::Truncate;
    return FFile.open(mode) && FFile.seek(FFile.size());
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

bool TPartialDownload::Publish() {
    if (!FFile.flush())
        return false;
    FFile.close();
    if (std::rename(QFile::encodeName(FFile.fileName()).constData(),
                    QFile::encodeName(FGamePath).constData()) != 0) {
        FRenameError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QFile::remove(InfoPath(FFile.fileName()));
    return true;
}

void TPartialDownload::Discard() {
    FFile.close();
    QFile::remove(FFile.fileName());
    QFile::remove(InfoPath(FFile.fileName()));
}
