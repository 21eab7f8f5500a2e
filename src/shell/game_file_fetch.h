#pragma once

#include "library/game_fingerprints.h"
#include "platform/http_client.h"
#include "shell/game/game_info.h"

#include <optional>

// A game file fetched from its address into GamePath, hashed as it arrives. The file takes its
// name only when the transfer succeeded and brought something, replacing one of that name (a
// damaged copy stays untouched until then); a failed or empty transfer leaves no file behind.
struct TFetchedGameFile {
    enum class TOutcome { Stored, CannotCreate, TransferFailed, Empty, CannotPublish };
    TOutcome Outcome = TOutcome::Stored;
    TGameFingerprint Fingerprint;        // Stored
    std::optional<EHttpFailure> Failure; // TransferFailed
    QString Error;                       // CannotCreate, CannotPublish: the system's words
};

TFetchedGameFile FetchGameFile(const QString& url, const QString& gamePath,
                               const THttpProgress& progress);

// Fetches the game's thumbnail into PictureFolder. A picture that cannot be fetched whole leaves
// the one already there, or else the placeholder of its kind: a stored game without a picture
// file would drop out of the local library. True when the fetched picture is in place.
bool FetchGamePicture(const TGameInfo& game, const QString& pictureFolder,
                      const THttpProgress& progress);
