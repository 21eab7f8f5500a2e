#pragma once

#include "library/game_file_check.h"
#include "shell/game/game_info.h"

#include <QList>
#include <QString>
#include <functional>

// What is wrong with one stored game: its file, its picture, or both.
struct TLibraryProblem {
    TGameInfo Game;
    // Where its file is, or where it belongs when it is gone.
    QString GamePath;
    TGameFileVerdict GameFile;
    enum class TPicture { Sound, Missing, Damaged };
    TPicture Picture = TPicture::Sound;

    bool GameFileSound() const { return GameFile.State == TGameFileState::Sound; }
    // The problem in the user's words, one line.
    QString Text() const;
};

// The folders and the library file a check works on; taken on the UI thread.
struct TLibraryPlace {
    QString DatabasePath;
    QString FlashFolder;
    QString PictureFolder;
};

struct TLibraryCheckHooks {
    // After each game: how many are done of how many.
    std::function<void(int done, int total)> Progress;
    // Asked between games and during transfers: true ends the work early.
    std::function<bool()> Stopped;
};

// Checks every stored game's file (against its fingerprint, or its header when it has none) and
// picture, on the calling thread with a connection of its own; fails with the engine's message
// when the library cannot be read.
QList<TLibraryProblem> CheckLibrary(const TLibraryPlace& place, const TLibraryCheckHooks& hooks);

// Fetches again what Problem lacks from the game's stored addresses. A damaged file is kept
// aside, renamed, until its repair succeeded, and put back when it did not: nothing of the
// user's is lost. Returns what could not be mended, in the user's words; empty when all was.
QString RepairLibraryProblem(const TLibraryPlace& place, const TLibraryProblem& problem,
                             const TLibraryCheckHooks& hooks);
