#pragma once

#include "platform/flash_player.h"
#include "support/event_wait.h"

#include <QUrl>
#include <memory>

// True once the player itself says that the movie at Path is in and showing, within
// Milliseconds: a game whose load failed would make what is measured with it look good.
inline bool PlayerHasLoaded(TFlashPlayer& player, const QString& path, int milliseconds) {
    struct TQuestion {
        bool Asked = false;
        bool Loaded = false;
    };
    // Shared with the answer, which may come after the time is up.
    const auto question = std::make_shared<TQuestion>();
    const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    return PumpUntil(
        [&] {
            if (!question->Asked) {
                question->Asked = true;
                player.QueryState([question, url](const TFlashPlayerState& state) {
                    question->Loaded = state.loaded && state.url == url;
                    question->Asked = false;
                });
            }
            return question->Loaded;
        },
        milliseconds);
}
