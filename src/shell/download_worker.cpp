#include "shell/download_worker.h"

#include "common/common_method.h"
#include "common/date_time.h"
#include "common/failure.h"
#include "common/folder_lookup.h"
#include "common/message_boxes.h"
#include "library/flash_statements.h"
#include "library/game_file_check.h"
#include "library/library_connection.h"
#include "platform/ui_dispatcher.h"
#include "shell/download_list.h"
#include "shell/game/game_files.h"
#include "shell/game/game_store.h"
#include "shell/game_failure_text.h"
#include "shell/game_file_fetch.h"
#include "shell/game_status_panel.h"
#include "shell/main_window.h"
#include "shell/progress_relay.h"

#include <QFileInfo>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Running workers, so that the application can let them go at exit without crashing under them.
struct TRunningWorkers {
    std::mutex Lock;
    std::condition_variable Ended;
    int Count = 0;
};

TRunningWorkers& Running() {
    static TRunningWorkers running;
    return running;
}

QString FolderPath(const QString& programFolder, const QString& name) {
    return ResolveInFolder(programFolder, name) + QLatin1Char('/');
}

bool Abandoned() {
    return TUiDispatcher::ShuttingDown();
}

} // namespace

void TThread1::Start(TfrmMain* window, const TGameInfo& game) {
    Run(new TThread1(window, game, TJob::Game));
}

void TThread1::StartPictureFetch(TfrmMain* window, const TGameInfo& game) {
    Run(new TThread1(window, game, TJob::PictureOnly));
}

void TThread1::StartRepair(TfrmMain* window, const TGameInfo& game) {
    Run(new TThread1(window, game, TJob::Repair));
}

void TThread1::Run(TThread1* worker) {
    {
        const std::lock_guard lock(Running().Lock);
        ++Running().Count;
    }
    std::thread([worker] {
        worker->Execute();
        delete worker;
        const std::lock_guard lock(Running().Lock);
        --Running().Count;
        Running().Ended.notify_all();
    }).detach();
}

bool TThread1::AbandonAll(std::chrono::milliseconds patience) {
    std::unique_lock lock(Running().Lock);
    return Running().Ended.wait_for(lock, patience, [] { return Running().Count == 0; });
}

// Made on the UI thread: everything taken from the window is taken here, never by the worker.
TThread1::TThread1(TfrmMain* window, const TGameInfo& game, TJob job)
    : FGame(game), FWindow(window), FJob(job),
      FFlashFolder(FolderPath(window->ProgramFolder(), QStringLiteral("flash"))),
      FPicFolder(FolderPath(window->ProgramFolder(), QStringLiteral("pic"))),
      FDatabasePath(window->qry_flash->DatabasePath()) {
    if (job == TJob::PictureOnly)
        return;
    // The row's counts also move the page's own bar: one display refresh serves both.
    TDownloadRow* row = window->pnlGameStatus->lstDownloads->Add(
        (game.flashname + QStringLiteral(".swf")).toLower(), TrimBlanks(game.flashname),
        [window](qint64 count) { window->IdHTTPDownloadWork(count); });
    FRowProgress = row->Feed();
    FCancelled = row->Cancelled();
}

void TThread1::Execute() {
    const QString gameFile = FGame.flashname + QStringLiteral(".swf");
    if (FJob == TJob::PictureOnly) {
        FetchPicture();
    } else {
        TellWindow([game = FGame](TfrmMain& window) { window.ShowGameLoading(game); });
        if (DownloadAndStore())
            FetchPicture();
    }
    OnWindow([gameFile](TfrmMain& window) { window.DownloadEnded(gameFile); });
}

bool TThread1::DownloadAndStore() {
    const QString stored = FindGameFile(FFlashFolder, FGame.flashname);
    if (!stored.isEmpty() && FJob != TJob::Repair)
        return true;
    // A repaired file keeps the name the damaged one had.
    const QString gamePath =
        stored.isEmpty() ? FFlashFolder + FGame.flashname + QStringLiteral(".swf") : stored;
    if (!TransferGame(gamePath))
        return false;
    if (QFileInfo::exists(gamePath))
        StoreAndPlay(gamePath);
    return true;
}

bool TThread1::TransferGame(const QString& gamePath) {
    using TOutcome = TFetchedGameFile::TOutcome;
    THttpProgress progress;
    const QString key = QFileInfo(gamePath).fileName().toLower();
    progress.OnWorkBegin = [this, key](qint64 total) {
        TellWindow([total, key](TfrmMain& window) {
            window.IdHTTPDownloadWorkBegin(total);
            if (TDownloadRow* row = window.pnlGameStatus->lstDownloads->Row(key))
                row->Begin(total);
        });
    };
    progress.OnWork = [this](qint64 count) {
        FRowProgress->Post(count);
    };
    progress.IsAbandoned = &Abandoned;
    const TFetchedGameFile fetched =
        FetchGameFile(FGame.flashurl, gamePath, progress, [this] { return FCancelled->load(); });
    TellWindow([key](TfrmMain& window) {
        if (TDownloadRow* row = window.pnlGameStatus->lstDownloads->Row(key))
            row->Flush();
        window.pnlDownload->setVisible(false);
    });
    switch (fetched.Outcome) {
    case TOutcome::CannotCreate:
        ReportFailure(QStringLiteral("无法在程序文件夹中创建游戏文件，请检查它是否可以写入。"),
                      QStringLiteral("%1：%2").arg(gamePath, fetched.Error));
        return false;
    case TOutcome::TransferFailed:
        ReportFailure(GameFailureText(*fetched.Failure, false), fetched.Failure->Message());
        return false;
    case TOutcome::Empty:
        // Nothing to play, but the picture is still fetched.
        ReportFailure(EmptyGameFileText(), QString());
        return true;
    case TOutcome::CannotPublish:
        ShowMessage(QStringLiteral("无法保存游戏文件“%1”：%2").arg(gamePath, fetched.Error));
        return true;
    case TOutcome::Cancelled:
        ReportFailure(QStringLiteral("下载已取消。"), QString());
        return false;
    case TOutcome::Stored:
        break;
    }
    return true;
}

void TThread1::StoreAndPlay(const QString& gamePath) {
    try {
        const TLibraryConnection library(FDatabasePath);
        // A repaired game keeps its row, and with it its favourite mark and its date.
        if (FJob != TJob::Repair || SelectGameById(library.Database(), FGame.id).isEmpty())
            StoreGame(library.Database(), FGame, TClock::Now());
    } catch (const EFailure& failure) {
        ShowMessage(failure.Message());
    }
    OnWindow(
        [gamePath, game = FGame](TfrmMain& window) { window.PlayDownloadedGame(gamePath, game); });
    // Read back from the page cache once the game is on its way to the screen, rather than
    // hashed in the transfer's path, where it held the download below the wire's speed.
    FingerprintGameFile(FDatabasePath, QFileInfo(gamePath).completeBaseName(), gamePath,
                        TClock::Now());
}

void TThread1::FetchPicture() {
    THttpProgress progress;
    progress.IsAbandoned = &Abandoned;
    FetchGamePicture(FGame, FPicFolder, progress);
}

bool TThread1::OnWindow(std::function<void(TfrmMain&)> effect) const {
    TfrmMain* window = FWindow;
    return TUiDispatcher::RunAndWait(window,
                                     [window, effect = std::move(effect)] { effect(*window); });
}

void TThread1::TellWindow(std::function<void(TfrmMain&)> effect) const {
    TfrmMain* window = FWindow;
    TUiDispatcher::Post(window, [window, effect = std::move(effect)] { effect(*window); });
}

void TThread1::ReportFailure(const QString& what, const QString& detail) const {
    OnWindow([game = FGame, what, detail](TfrmMain& window) {
        window.GameDownloadFailed(game, what, detail);
    });
}

void TThread1::ShowMessage(const QString& text) const {
    OnWindow([text](TfrmMain&) { ShowPlainMessage(text); });
}
