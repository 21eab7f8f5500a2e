// The catalogue's reply to a game link, as the link interception turns it into the game to
// play: the record, its decoded SWF address, the picture's name by the extension rule, and the
// checks the player makes before a name becomes a file.
#include "common/failure.h"
#include "common/file_names.h"
#include "shell/game/file_ext.h"
#include "shell/game/game_record.h"
#include "shell/game/picture_kinds.h"
#include "support/require.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TGameInfo game;
    try {
        game = ParseGameRecord(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const EFailure& failure) {
        Require(!failure.Message().isEmpty(), "a refused record says why");
        return 0;
    }
    const QString extension = ExtractFileExt(game.picUrl);
    Require(extension.isEmpty() ||
                (extension.startsWith(QLatin1Char('.')) && game.picUrl.endsWith(extension)),
            "an extension is empty or the address's tail from a dot");
    Require(!extension.mid(1).contains(QLatin1Char('\\')) &&
                !extension.mid(1).contains(QLatin1Char(':')) &&
                !extension.mid(1).contains(QLatin1Char('.')),
            "no separator follows the extension's dot");
    Require(game.picName == game.flashname + extension, "the picture is named after the game");
    Require(game.nclass.isEmpty() && game.classid.isEmpty() && game.isGood.isEmpty(),
            "fields the record does not carry stay empty");

    const bool safeGame = IsSafeFileName(game.flashname + QStringLiteral(".swf"));
    const QString stored = StoredPicName(game);
    Require(!safeGame || IsSafeFileName(stored),
            "a game that may be saved has a safe picture name");
    return 0;
}
