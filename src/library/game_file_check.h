#pragma once

#include "library/game_fingerprints.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <optional>

enum class TGameFileState { Sound, Missing, Damaged };

struct TGameFileVerdict {
    TGameFileState State = TGameFileState::Sound;
    // Why a file is not sound, for the detail line under the message.
    QString Detail;
};

// Size and SHA-256 of the file at Path as it is now, read once; nothing when it cannot be read.
std::optional<TGameFingerprint> FingerprintOfFile(const QString& path);

// Records the fingerprint of the game file FlashName at Path as it is now, made at At. A file
// that cannot be read, or a library that cannot be written, leaves the game to be judged by its
// header when it next plays.
void FingerprintGameFile(const QString& databasePath, const QString& flashName, const QString& path,
                         const QDateTime& at);

// Whether the stored game FlashName at Path may be played. Its size is always compared with the
// fingerprint; its digest only when its size or modification time moved since the last check,
// so a replay costs no reading. A game without a fingerprint (stored by an older client) is
// judged by its own header and, when whole, fingerprinted at At. A library that cannot be read
// leaves the header's judgement.
TGameFileVerdict CheckGameFile(const QSqlDatabase& database, const QString& flashName,
                               const QString& path, const QDateTime& at);
