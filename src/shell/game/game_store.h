#pragma once

#include "shell/game/game_info.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlRecord>

// Records a downloaded game in the library (insert statement 3): classname repeats classid,
// picName is StoredPicName's, fDate is StoredAt. Fails with the engine's message, for example
// when the id is already stored or a value is longer than its column. The name's pinyin is kept
// for the library's search (game_names).
void StoreGame(const QSqlDatabase& database, const TGameInfo& game, const QDateTime& storedAt);

// The game a library row records, its texts trimmed of blanks as the row keeps them padded.
TGameInfo StoredGameOf(const QSqlRecord& row);
