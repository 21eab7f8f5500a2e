#include "shell/game/game_store.h"

#include "common/common_method.h"
#include "common/failure.h"
#include "library/flash_statements.h"
#include "library/game_names.h"
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
    // A name not spelled here is spelled when the library next reads its list.
    try {
        StoreGameName(database, game.id, game.flashname);
    } catch (const EFailure&) {
    }
}

TGameInfo StoredGameOf(const QSqlRecord& row) {
    const auto text = [&row](const char* name) {
        return TrimBlanks(FieldText(row, QLatin1String(name)));
    };
    TGameInfo game;
    game.id = text("id");
    game.flashname = text("flashName");
    game.body = text("body");
    game.flashurl = text("flashUrl");
    game.picUrl = text("picUrl");
    game.picName = text("picName");
    game.isGood = text("isGood");
    return game;
}
