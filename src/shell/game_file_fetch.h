#pragma once

#include "platform/http_client.h"
#include "shell/game/game_info.h"

#include <functional>
#include <optional>

// A game file fetched from its address into GamePath. The file takes its name only when the
// transfer succeeded and brought something, replacing one of that name (a damaged copy stays
// untouched until then). A connection lost on the way is taken up again where it stopped, a few
// times with growing waits; what came of a transfer that failed all the same stays as a part
// beside the game (never loaded) for the next attempt to continue. Cancelling, or an empty body,
// leaves nothing.
struct TFetchedGameFile {
    enum class TOutcome { Stored, CannotCreate, TransferFailed, Empty, CannotPublish, Cancelled };
    TOutcome Outcome = TOutcome::Stored;
    std::optional<EHttpFailure> Failure; // TransferFailed
    QString Error;                       // CannotCreate, CannotPublish: the system's words
};

TFetchedGameFile FetchGameFile(const QString& url, const QString& gamePath,
                               const THttpProgress& progress,
                               const std::function<bool()>& cancelled = {});

// Fetches the game's thumbnail into PictureFolder. A picture that cannot be fetched whole leaves
// the one already there, or else the placeholder of its kind: a stored game without a picture
// file would drop out of the local library. True when the fetched picture is in place.
bool FetchGamePicture(const TGameInfo& game, const QString& pictureFolder,
                      const THttpProgress& progress);
