#include "shell/game/game_record.h"

#include "common/common_method.h"
#include "common/failure.h"
#include "common/gbk_text.h"
#include "shell/game/file_ext.h"
#include "shell/game/flash_url.h"

namespace {

const QByteArray& FieldAt(const QList<QByteArray>& fields, qsizetype index) {
    if (index >= fields.size())
        throw EFailure(QStringLiteral("List index out of bounds (%1)").arg(index));
    return fields.at(index);
}

} // namespace

TGameInfo ParseGameRecord(const QByteArray& reply) {
    const QList<QByteArray> fields = TCommonMethod::SplitString(reply, QByteArrayLiteral("|"));
    TGameInfo game;
    game.id = FromGbk(FieldAt(fields, 0));
    game.flashname = FromGbk(FieldAt(fields, 1));
    game.body = FromGbk(FieldAt(fields, 2));
    game.flashurl = DecodeFlashUrl(FieldAt(fields, 3));
    game.picUrl = FromGbk(FieldAt(fields, 4));
    game.picName = game.flashname + ExtractFileExt(game.picUrl);
    return game;
}
