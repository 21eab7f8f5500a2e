// The player on the "当前游戏" page: playing a game from its file, the five buttons under it and
// the download progress display.
#include "common/common_method.h"
#include "common/date_time.h"
#include "common/failure.h"
#include "common/file_names.h"
#include "common/folder_lookup.h"
#include "common/message_boxes.h"
#include "library/flash_statements.h"
#include "library/game_file_check.h"
#include "library/library_connection.h"
#include "library/play_recorder.h"
#include "platform/flash_player.h"
#include "shell/download_list.h"
#include "shell/download_worker.h"
#include "shell/game/file_ext.h"
#include "shell/game/game_files.h"
#include "shell/game/game_store.h"
#include "shell/game_status_panel.h"
#include "shell/main_window.h"
#include "shell/progress_relay.h"
#include "shell/single_frame_updates.h"

#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <limits>

namespace {

const QString kAddFavourite = QStringLiteral("添加到我的收藏");
const QString kRemoveFavourite = QStringLiteral("从我的收藏中删除");
const QString kStop = QStringLiteral("停止播放");
const QString kGoOn = QStringLiteral("继续播放");
constexpr int kCurrentGamePage = 1;
// A game that comes sooner than this is shown without the loading card: the card would only
// flash, and drawing it costs the game's own start a repaint of the whole window.
constexpr int kLoadingCardDelayMilliseconds = 200;

} // namespace

void TfrmMain::PlayGame(TGameInfo game) {
    const QString gameFile = game.flashname + QStringLiteral(".swf");
    if (!IsSafeFileName(gameFile)) {
        ShowPlainMessage(
            QStringLiteral("游戏名称“%1”不能用作文件名，无法保存这个游戏。").arg(game.flashname));
        return;
    }
    const QString path =
        FindGameFile(ResolveInFolder(FProgramFolder, QStringLiteral("flash")), game.flashname);
    if (path.isEmpty()) {
        // One transfer per game file: a second request waits for the running one to play it.
        if (FDownloading.contains(gameFile.toLower())) {
            SelectPage(1);
            return;
        }
        FDownloading.insert(gameFile.toLower());
        TThread1::Start(this, game);
        return;
    }
    if (!StoredGameFileSound(game, path))
        return;
    swfPlay->StopPlay();
    swfPlay->SetMovie(path);
    swfPlay->Play();
    FPlays->Started(TrimBlanks(game.id));
    ShowPlayer(game);
}

bool TfrmMain::StoredGameFileSound(const TGameInfo& game, const QString& path) {
    const TGameFileVerdict verdict = CheckGameFile(
        qry_flash->Database(), QFileInfo(path).completeBaseName(), path, TClock::Now());
    if (verdict.State == TGameFileState::Sound)
        return true;
    const QString what =
        verdict.State == TGameFileState::Missing
            ? QStringLiteral("游戏文件不见了，可能被移走或删除了。可以从原来的地址重新下载。")
            : QStringLiteral("游戏文件已损坏，不能播放。可以从原来的地址重新下载。");
    ShowGameFailure(
        TrimBlanks(game.flashname), what, verdict.Detail, [this, game] { RepairGame(game); },
        QStringLiteral("重新下载"));
    return false;
}

void TfrmMain::RepairGame(const TGameInfo& game) {
    const QString gameFile = (game.flashname + QStringLiteral(".swf")).toLower();
    if (!IsSafeFileName(gameFile) || FDownloading.contains(gameFile))
        return;
    FDownloading.insert(gameFile);
    CurrentGame = game;
    TThread1::StartRepair(this, game);
}

void TfrmMain::FetchMissingPicture(const TGameInfo& game) {
    const QString gameFile = game.flashname + QStringLiteral(".swf");
    const QString pictureName = PictureFileName(game);
    if (FDownloading.contains(gameFile.toLower()) || !IsSafeFileName(pictureName) ||
        game.picUrl.isEmpty())
        return;
    const QString flash = ResolveInFolder(FProgramFolder, QStringLiteral("flash"));
    const QString pic = ResolveInFolder(FProgramFolder, QStringLiteral("pic"));
    if (FindGameFile(flash, game.flashname).isEmpty() ||
        !FindStoredFile(pic, game.flashname, ExtractFileExt(game.picUrl)).isEmpty())
        return;
    FDownloading.insert(gameFile.toLower());
    TThread1::StartPictureFetch(this, game);
}

void TfrmMain::PlayDownloadedGame(const QString& path, const TGameInfo& game) {
    swfPlay->SetMovie(path);
    swfPlay->Play();
    FPlays->Started(TrimBlanks(game.id));
    ShowPlayer(game);
}

void TfrmMain::ShowPlayer(const TGameInfo& game) {
    DropLoadingCard();
    btnAddFavorate->setText(game.isGood == QLatin1String("Y") ? kRemoveFavourite : kAddFavourite);
    pnlPlaying->setVisible(true);
    SelectPage(kCurrentGamePage);
    pnlGameStatus->hide();
    ShowPlayerState(false);
    LayOutBeforeNextFrame();
}

void TfrmMain::ShowPlayerState(bool halted) {
    FGameHalted = halted;
    // A halted game's time stops counting.
    if (halted)
        FPlays->Halted();
    else
        FPlays->Resumed();
    swfPlay->setVisible(GameLoaded());
    lblNoGame->setVisible(!GameLoaded());
    btnStop->setText(halted ? kGoOn : kStop);
}

void TfrmMain::RememberPageBeforeGame() {
    if (pcMain->currentIndex() != kCurrentGamePage)
        FPageBeforeGame = pcMain->currentIndex();
}

void TfrmMain::ShowGameLoading(const TGameInfo& game) {
    RememberPageBeforeGame();
    FLoadingGame = game;
    if (FLoadingCard == nullptr) {
        FLoadingCard = new QTimer(this);
        FLoadingCard->setSingleShot(true);
        FLoadingCard->setInterval(kLoadingCardDelayMilliseconds);
        connect(FLoadingCard, &QTimer::timeout, this, [this] { ShowLoadingCard(FLoadingGame); });
    }
    FLoadingCard->start();
}

void TfrmMain::DropLoadingCard() {
    if (FLoadingCard != nullptr)
        FLoadingCard->stop();
}

void TfrmMain::ShowLoadingCard(const TGameInfo& game) {
    // The last game keeps its place underneath, halted, until this one comes.
    if (GameLoaded() && !FGameHalted) {
        swfPlay->Stop();
        ShowPlayerState(true);
    }
    pnlPlaying->setVisible(false);
    pnlDownload->setVisible(true);
    pnlGameStatus->ShowLoading(TrimBlanks(game.flashname),
                               QStringLiteral("正在下载游戏，请稍候……"));
    SelectPage(kCurrentGamePage);
    LayOutBeforeNextFrame();
}

void TfrmMain::ShowGameFailure(const QString& gameName, const QString& what, const QString& detail,
                               std::function<void()> retry, const QString& retryText) {
    RememberPageBeforeGame();
    DropLoadingCard();
    pnlPlaying->setVisible(false);
    pnlGameStatus->ShowFailure(gameName, what, detail, std::move(retry), retryText);
    SelectPage(kCurrentGamePage);
}

void TfrmMain::GameDownloadFailed(const TGameInfo& game, const QString& what,
                                  const QString& detail) {
    ShowGameFailure(TrimBlanks(game.flashname), what, detail, [this, game] {
        CurrentGame = game;
        PlayGame(game);
    });
}

void TfrmMain::GameFailedToPlay(TMovieFailure failure, const QString& detail) {
    const TGameInfo game = CurrentGame;
    const QString name = TrimBlanks(game.flashname);
    if (failure == TMovieFailure::Unreadable) {
        ShowGameFailure(
            name,
            QStringLiteral("游戏文件已损坏或不是 Flash 游戏，不能播放。可以从原来的地址重新下载。"),
            detail, [this, game] { RepairGame(game); }, QStringLiteral("重新下载"));
        return;
    }
    ShowGameFailure(
        name, QStringLiteral("游戏运行时出错，已经停止。可以从头再玩一次。"), detail,
        [this, game] {
            btnReplayClick();
            ShowPlayer(game);
        },
        QStringLiteral("重新开始"));
}

void TfrmMain::GoBackFromGame() {
    DropLoadingCard();
    pnlGameStatus->hide();
    pnlPlaying->setVisible(true);
    SelectPage(FPageBeforeGame);
}

void TfrmMain::DownloadEnded(const QString& gameFile) {
    FDownloading.remove(gameFile.toLower());
    pnlGameStatus->lstDownloads->Remove(gameFile.toLower());
}

void TfrmMain::PlayLocalGame(const QString& id) {
    const QList<QSqlRecord> rows = SelectGameById(qry_flash->Database(), id);
    if (rows.isEmpty())
        throw EFailure(QStringLiteral("本地游戏库中没有这个游戏"));
    CurrentGame = StoredGameOf(rows.first());
    const QString flashFolder = ResolveInFolder(FProgramFolder, QStringLiteral("flash"));
    // A stored game whose file is gone is offered for fetching again, not fetched unasked; a
    // name that cannot be a file is PlayGame's to refuse.
    if (IsSafeFileName(CurrentGame.flashname + QStringLiteral(".swf")) &&
        FindGameFile(flashFolder, CurrentGame.flashname).isEmpty()) {
        StoredGameFileSound(CurrentGame, flashFolder + QLatin1Char('/') + CurrentGame.flashname +
                                             QStringLiteral(".swf"));
        return;
    }
    PlayGame(CurrentGame);
}

bool TfrmMain::GameLoaded() const {
    return !swfPlay->Movie().isEmpty();
}

void TfrmMain::btnAddFavorateClick() {
    if (!GameLoaded())
        return;
    const QString id = TrimBlanks(CurrentGame.id);
    // A game that is not stored matches no row; the caption still follows the user's wish.
    if (btnAddFavorate->text() == kAddFavourite) {
        MarkFavourite(qry_flash->Database(), id);
        btnAddFavorate->setText(kRemoveFavourite);
    } else {
        UnmarkFavourite(qry_flash->Database(), id);
        btnAddFavorate->setText(kAddFavourite);
    }
}

void TfrmMain::btnStopClick() {
    if (!GameLoaded())
        return;
    // A halted game goes on where it stopped.
    if (FGameHalted) {
        swfPlay->Play();
    } else {
        swfPlay->Stop();
        swfPlay->StopPlay();
    }
    ShowPlayerState(!FGameHalted);
}

void TfrmMain::btnReplayClick() {
    if (!GameLoaded())
        return;
    const QString movie = swfPlay->Movie();
    swfPlay->StopPlay();
    swfPlay->SetMovie(QString());
    swfPlay->SetMovie(movie);
    swfPlay->Play();
    ShowPlayerState(false);
}

void TfrmMain::btnViewInfoClick() {
    if (GameLoaded())
        ShowPlainMessage(CurrentGame.body);
}

void TfrmMain::IdHTTPDownloadWorkBegin(qint64 total) {
    // The bar counts in 32-bit steps; larger transfers are shown in proportion.
    constexpr qint64 kLargest = std::numeric_limits<int>::max();
    FProgressScale = total > kLargest ? (total + kLargest - 1) / kLargest : 1;
    ProgressBar1->setMinimum(0);
    ProgressBar1->setMaximum(total > 0 ? int(total / FProgressScale) : 0);
    ProgressBar1->setValue(0);
    SelectPage(1);
}

QString TfrmMain::DownloadedText(std::optional<qint64> percent, qint64 count) {
    const QString prefix = QStringLiteral("正在下载,请稍候...已完成");
    // No size was announced: the label counts what has arrived.
    if (!percent)
        return prefix + QStringLiteral(" %1 KB").arg(count / 1024);
    return prefix + QString::number(*percent) + QLatin1Char('%');
}

void TfrmMain::IdHTTPDownloadWork(qint64 count) {
    const int maximum = ProgressBar1->maximum();
    if (maximum <= 0) {
        lbDownLoad->setText(DownloadedText(std::nullopt, count));
        return;
    }
    const int position = int(std::min<qint64>(count / FProgressScale, maximum));
    SetValueWithNextFrame(*ProgressBar1, position);
    const double percent = double(count) / (double(maximum) * double(FProgressScale)) * 100.0;
    lbDownLoad->setText(DownloadedText(std::llround(percent), count));
}
