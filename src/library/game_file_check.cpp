#include "library/game_file_check.h"

#include "common/failure.h"
#include "common/sha256_digest.h"
#include "library/library_connection.h"
#include "library/swf_wholeness.h"

#include <QFile>
#include <QFileInfo>

namespace {

TGameFileVerdict Damaged(const QString& detail) {
    return {TGameFileState::Damaged, detail};
}

qint64 ModifiedAt(const QString& path) {
    return QFileInfo(path).lastModified().toMSecsSinceEpoch();
}

TGameFileVerdict JudgeByHeader(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Damaged(file.errorString());
    switch (CheckSwfWholeness(file)) {
    case TSwfWholeness::Whole:
        return {};
    case TSwfWholeness::NotSwf:
        return Damaged(QStringLiteral("文件不是 Flash 游戏"));
    case TSwfWholeness::CutShort:
        break;
    }
    return Damaged(QStringLiteral("文件在游戏结束之前就断了（%1 字节）").arg(file.size()));
}

TGameFileVerdict CompareWithFingerprint(const QSqlDatabase& database, const QString& flashName,
                                        const QString& path, const TGameFingerprint& known,
                                        const QDateTime& at) {
    const qint64 size = QFileInfo(path).size();
    if (size != known.Size)
        return Damaged(
            QStringLiteral("文件有 %1 字节，下载时是 %2 字节").arg(size).arg(known.Size));
    const qint64 modified = ModifiedAt(path);
    if (modified == known.Modified)
        return {};
    const std::optional<TGameFingerprint> now = FingerprintOfFile(path);
    if (!now || now->Sha256 != known.Sha256)
        return Damaged(QStringLiteral("文件内容与下载时不同"));
    RecordFingerprint(database, flashName, *now, at);
    return {};
}

// Fingerprints the file at Path as it is now for FlashName; nothing when it cannot be read.
void RecordFingerprintOfFile(const QSqlDatabase& database, const QString& flashName,
                             const QString& path, const QDateTime& at) {
    if (const auto now = FingerprintOfFile(path))
        RecordFingerprint(database, flashName, *now, at);
}

} // namespace

std::optional<TGameFingerprint> FingerprintOfFile(const QString& path) {
    QFile file(path);
    const qint64 modified = ModifiedAt(path);
    TSha256Digest digest;
    if (!file.open(QIODevice::ReadOnly) || !digest.AddAll(file))
        return std::nullopt;
    return TGameFingerprint{file.size(), digest.FinishHex(), modified};
}

void FingerprintGameFile(const QString& databasePath, const QString& flashName, const QString& path,
                         const QDateTime& at) {
    try {
        const TLibraryConnection library(databasePath);
        RecordFingerprintOfFile(library.Database(), flashName, path, at);
    } catch (const EFailure&) {
    }
}

TGameFileVerdict CheckGameFile(const QSqlDatabase& database, const QString& flashName,
                               const QString& path, const QDateTime& at) {
    if (!QFileInfo(path).isFile())
        return {TGameFileState::Missing, QString()};
    try {
        if (const auto known = ReadFingerprint(database, flashName))
            return CompareWithFingerprint(database, flashName, path, *known, at);
        TGameFileVerdict verdict = JudgeByHeader(path);
        if (verdict.State == TGameFileState::Sound)
            RecordFingerprintOfFile(database, flashName, path, at);
        return verdict;
    } catch (const EFailure&) {
        return JudgeByHeader(path);
    }
}
