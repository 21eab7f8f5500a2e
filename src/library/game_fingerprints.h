#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// What a stored game file was when it was last known whole (table game_files, one row per file
// name without regard to letter case): checking a file against it tells a damaged game from a
// sound one before it is played. Every function fails with the engine's message.
struct TGameFingerprint {
    qint64 Size = 0;
    QByteArray Sha256; // hexadecimal, small letters
    // The file's modification time when it was last checked, in milliseconds since the epoch:
    // while it stays the same, a file of the recorded size is taken as the one hashed.
    qint64 Modified = 0;
};

void RecordFingerprint(const QSqlDatabase& database, const QString& flashName,
                       const TGameFingerprint& fingerprint, const QDateTime& checkedAt);
std::optional<TGameFingerprint> ReadFingerprint(const QSqlDatabase& database,
                                                const QString& flashName);
