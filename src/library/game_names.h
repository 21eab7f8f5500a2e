#pragma once

#include "library/pinyin.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <functional>

// The pinyin of each stored game's name (table game_names), spelled once when the game is
// stored, so that a search never spells a name.

// Fails with the engine's message.
void StoreGameName(const QSqlDatabase& database, const QString& id, const QString& name);

// Spells and stores the names of the games stored without one (by a client before this table),
// a few hundred to a transaction so that writers elsewhere wait no longer than that. Stop is
// asked between transactions. Returns how many were stored.
int StoreMissingGameNames(const QSqlDatabase& database, const std::function<bool()>& stop);

// Every stored spelling by game id.
QHash<QString, TPinyin> ReadGameNames(const QSqlDatabase& database);
