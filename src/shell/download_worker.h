#pragma once

#include "library/game_fingerprints.h"
#include "shell/game/game_info.h"
#include "shell/progress_relay.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

class TfrmMain;

// Downloads a game that is not yet on disk, records it in the library, plays it in the main
// window and fetches its thumbnail, on a thread of its own. Every effect on the window is
// handed to the UI thread and waited for, in order.
class TThread1 {
public:
    // Takes a private copy of Game and starts; the worker frees itself when its run ends.
    static void Start(TfrmMain* window, const TGameInfo& game);
    // For a game already on disk whose thumbnail is missing: fetches the thumbnail only.
    static void StartPictureFetch(TfrmMain* window, const TGameInfo& game);
    // For a stored game whose file is damaged or missing: fetches it again from its address and
    // puts it in place of the damaged one only once it came whole; the game's row, favourite
    // mark and history stay as they are.
    static void StartRepair(TfrmMain* window, const TGameInfo& game);

    // At exit, once the UI dispatcher has shut down (which makes running transfers stop and
    // drops every effect on the window): waits at most Patience for the workers to end; true
    // when none is left running.
    static bool AbandonAll(std::chrono::milliseconds patience);

private:
    enum class TJob { Game, PictureOnly, Repair };

    TThread1(TfrmMain* window, const TGameInfo& game, TJob job);
    static void Run(TThread1* worker);

    void Execute();
    // False when the game's transfer failed; the picture is then not fetched.
    bool DownloadAndStore();
    bool TransferGame(const QString& gamePath);
    void StoreAndPlay(const QString& gamePath);
    void FetchPicture();
    // Runs Effect on the UI thread against the window; false when the window is gone.
    bool OnWindow(std::function<void(TfrmMain&)> effect) const;
    // Queues Effect for the window without waiting: the transfer goes on while the window
    // catches up, and effects still reach it in the order given.
    void TellWindow(std::function<void(TfrmMain&)> effect) const;
    void ShowMessage(const QString& text) const;
    // The game could not come: the window says why, with the way to try again.
    void ReportFailure(const QString& what, const QString& detail) const;

    TGameInfo FGame;
    TfrmMain* FWindow;
    TJob FJob;
    // The game's row in the list of downloads, and the flag its "取消" sets; none for a picture.
    std::optional<TProgressFeed> FRowProgress;
    std::shared_ptr<std::atomic<bool>> FCancelled;
    QString FFlashFolder;
    QString FPicFolder;
    QString FDatabasePath;
};
