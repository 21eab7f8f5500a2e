#include "shell/game/game_store.h"

#include "library/flash_statements.h"
#include "shell/game/picture_kinds.h"

void StoreGame(const QSqlDatabase& database, const TGameInfo& game, const QDateTime& storedAt) {
    InsertGame(database, {{QStringLiteral("id"), game.id},
                          {QStringLiteral("flashname"), game.flashname},
                          {QStringLiteral("flashurl"), game.flashurl},
                          {QStringLiteral("nclass"), game.nclass},
                          {QStringLiteral("classid"), game.classid},
                          {QStringLiteral("classname"), game.classid},
                          {QStringLiteral("picUrl"), game.picUrl},
                          {QStringLiteral("picName"), StoredPicName(game)},
                          {QStringLiteral("body"), game.body},
                          {QStringLiteral("fDate"), storedAt}});
}
