// The whole road inside the client: a game link, the record, the download with its progress,
// the library row, the game playing and its thumbnail, against the demo catalogue on loopback.
#include "common/gbk_text.h"
#include "library/flash_statements.h"
#include "library/library_connection.h"
#include "platform/flash_player.h"
#include "platform/http_client.h"
#include "shell/client_shutdown.h"
#include "shell/download_worker.h"
#include "shell/game/game_record.h"
#include "shell/game_failure_text.h"
#include "shell/game_status_panel.h"
#include "side_by_side_server.h"
#include "support/catalogue_window_test.h"
#include "support/player_answers.h"
#include "swf_games.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <optional>

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Player : public TCatalogueWindowTest {
protected:
    QString Flash(const QString& name) const {
        return FFolder.filePath(QStringLiteral("flash/") + name);
    }
    QString Pic(const QString& name) const {
        return FFolder.filePath(QStringLiteral("pic/") + name);
    }

    // Follows the game link of Id in the game-list pane and waits until its download is over.
    void Follow(const QString& id) {
        FWindow->CurrentGame = {};
        ASSERT_TRUE(Offer(GameLink(id)));
        ASSERT_TRUE(WaitForGame(id));
        ASSERT_TRUE(WaitForDownloads());
    }

    static QByteArray Served(const QString& url) { return THttpClient().Get(url); }

    QList<QSqlRecord> StoredRows() const {
        TLibraryConnection library(LibraryDatabasePath());
        return ListAllGames(library.Database());
    }

    static const Game& CatalogueGame(const char* id) { return *FServer->catalogue().find(id); }

    TFlashPlayerState PlayerState() { return AskPlayerState(*FWindow->swfPlay); }
};

TEST_F(Player, AFollowedLinkIsDownloadedStoredPlayedAndGetsItsPicture) {
    Follow(QStringLiteral("1001"));
    const TGameInfo& game = FWindow->CurrentGame;
    const QString gamePath = Flash(game.flashname + QStringLiteral(".swf"));
    EXPECT_EQ(FileBytes(gamePath), Served(game.flashurl));
    EXPECT_EQ(FWindow->swfPlay->Movie(), gamePath);
    EXPECT_TRUE(FWindow->pnlPlaying->isVisibleTo(FWindow.get()));
    EXPECT_FALSE(FWindow->pnlDownload->isVisibleTo(FWindow.get()));
    EXPECT_EQ(FWindow->pcMain->currentIndex(), 1);
    EXPECT_EQ(FWindow->lbDownLoad->text(), QStringLiteral("正在下载,请稍候...已完成100%"));
    EXPECT_EQ(FWindow->btnAddFavorate->text(), QStringLiteral("添加到我的收藏"));
    EXPECT_TRUE(PumpEventsUntil(
        [this] {
            const TFlashPlayerState state = PlayerState();
            return state.loaded && state.playing;
        },
        20000));

    const QList<QSqlRecord> rows = StoredRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("id")), QStringLiteral("1001"));
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("flashName")), game.flashname);
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("flashUrl")), game.flashurl);
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("picName")), game.picName);
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("body")), game.body);
    EXPECT_TRUE(FieldText(rows[0], QStringLiteral("isGood")).isEmpty());

    ASSERT_TRUE(PumpEventsUntil([&] { return QFile::exists(Pic(game.picName)); }));
    EXPECT_EQ(FileBytes(Pic(game.picName)), Served(game.picUrl));
    EXPECT_TRUE(FMessages.Plain.isEmpty() && FMessages.Errors.isEmpty());
}

TEST_F(Player, FailedTransfersLeaveNoGameBehindAndSayWhyInChinese) {
    const std::pair<const char*, QString> failures[] = {
        {"909", QStringLiteral("游戏网站上找不到这个游戏文件，它可能已被移走。")},
        {"910", QStringLiteral("与游戏网站的连接中断了，游戏文件没有下载完整，请再试一次。")},
        {"908", EmptyGameFileText()},
    };
    for (const auto& [id, what] : failures) {
        Follow(QString::fromLatin1(id));
        const QString name = QString::fromStdString(CatalogueGame(id).name);
        EXPECT_FALSE(QFile::exists(Flash(name + QStringLiteral(".swf")))) << id;
        EXPECT_FALSE(FWindow->pnlDownload->isVisibleTo(FWindow.get())) << id;
        EXPECT_FALSE(FWindow->pnlPlaying->isVisibleTo(FWindow.get())) << id;
        // The card names the game and says what went wrong.
        EXPECT_TRUE(FWindow->pnlGameStatus->isVisibleTo(FWindow.get())) << id;
        EXPECT_EQ(FWindow->pnlGameStatus->lblGameName->text(), name.trimmed()) << id;
        EXPECT_EQ(FWindow->pnlGameStatus->lblGameStatus->text(), what) << id;
        EXPECT_EQ(FWindow->pcMain->currentIndex(), 1) << id;
    }
    EXPECT_TRUE(StoredRows().isEmpty());
    EXPECT_TRUE(FWindow->swfPlay->Movie().isEmpty());
    EXPECT_TRUE(FMessages.Plain.isEmpty() && FMessages.Errors.isEmpty());
    // The empty game's picture is still fetched; the failed ones' are not.
    EXPECT_TRUE(PumpEventsUntil([&] { return QFile::exists(Pic(FWindow->CurrentGame.picName)); }));
    // Only what came of the broken transfer is kept, as a part the library never loads, for the
    // next attempt to continue.
    const QString cut = QString::fromStdString(CatalogueGame("910").name) + QStringLiteral(".swf");
    EXPECT_EQ(QDir(FFolder.filePath("flash")).entryList(QDir::Files | QDir::Hidden),
              QStringList({cut + QStringLiteral(".part"), cut + QStringLiteral(".part.info")}));
}

// The catalogue goes away while the user picks a game and comes back: "重试" then plays it.
TEST_F(Player, RetryingAfterTheCatalogueIsBackPlaysTheGame) {
    const TGameInfo game = ParseGameRecord(Served(GameLink(QStringLiteral("1001"))));
    const int port = QUrl(Origin()).port();
    FServer.reset();
    FWindow->CurrentGame = game;
    FWindow->PlayGame(game);
    ASSERT_TRUE(WaitForDownloads());
    TGameStatusPanel* status = FWindow->pnlGameStatus;
    ASSERT_TRUE(status->isVisibleTo(FWindow.get()));
    EXPECT_EQ(status->lblGameStatus->text(),
              QStringLiteral("无法连接到游戏网站，请检查网络连接后再试。"));
    EXPECT_FALSE(status->lblGameDetail->text().isEmpty());

    FServer = std::make_unique<CatalogueServer>(std::filesystem::path(), FaultGames::Included);
    ASSERT_EQ(FServer->bind(port), port);
    FServer->start();
    status->btnRetry->click();
    ASSERT_TRUE(PumpEventsUntil([&] { return !FWindow->swfPlay->Movie().isEmpty(); }, 20000));
    EXPECT_TRUE(FWindow->pnlPlaying->isVisibleTo(FWindow.get()));
    EXPECT_FALSE(status->isVisibleTo(FWindow.get()));
    EXPECT_EQ(StoredRows().size(), 1);
}

// No game yet: the player's place says how to start one. A halted game offers to go on.
TEST_F(Player, TheIdlePlayerSaysHowToStartAndTheStopButtonOffersToGoOn) {
    EXPECT_TRUE(FWindow->lblNoGame->isVisibleTo(FWindow->tsCurrentGame));
    EXPECT_FALSE(FWindow->swfPlay->isVisibleTo(FWindow->tsCurrentGame));
    Follow(QStringLiteral("1006"));
    EXPECT_FALSE(FWindow->lblNoGame->isVisibleTo(FWindow.get()));
    EXPECT_TRUE(FWindow->swfPlay->isVisibleTo(FWindow.get()));
    const auto playing = [this] {
        const TFlashPlayerState state = PlayerState();
        return state.loaded && state.playing;
    };
    ASSERT_TRUE(PumpEventsUntil(playing, 20000));
    FWindow->btnStop->click();
    EXPECT_EQ(FWindow->btnStop->text(), QStringLiteral("继续播放"));
    EXPECT_FALSE(playing());
    FWindow->btnStop->click();
    EXPECT_EQ(FWindow->btnStop->text(), QStringLiteral("停止播放"));
    EXPECT_TRUE(PumpEventsUntil(playing, 5000));
}

TEST_F(Player, PicturesThatAreNotPicturesBecomeThePlaceholder) {
    Follow(QStringLiteral("1014"));
    const QString picture = Pic(FWindow->CurrentGame.picName);
    ASSERT_TRUE(PumpEventsUntil([&] { return QFile::exists(picture); }));
    EXPECT_TRUE(PumpEventsUntil([&] { return FileBytes(picture) == FileBytes(Pic("nopic.gif")); }));

    // An upper-case extension is stored as the placeholder's name; the file keeps the game's.
    Follow(QStringLiteral("1005"));
    const TGameInfo& bouncing = FWindow->CurrentGame;
    EXPECT_TRUE(bouncing.picName.endsWith(QStringLiteral(".JPG")));
    const QList<QSqlRecord> rows = StoredRows();
    EXPECT_EQ(FieldText(rows.last(), QStringLiteral("picName")), QStringLiteral("nopic.gif"));
    EXPECT_TRUE(PumpEventsUntil([&] { return QFile::exists(Pic(bouncing.picName)); }));
}

// A stored game stays reachable from the library: a picture that cannot be fetched becomes the
// placeholder, and a picture lost later comes back when the game is played from the catalogue.
TEST_F(Player, AStoredGameAlwaysHasAPicture) {
    const std::pair<const char*, QString> failingPictures[] = {
        {"1003", Origin() + QStringLiteral("/gamesoft/pic/missing.png")},
        {"1004", QStringLiteral("http://127.0.0.1:1/refused.bmp")},
    };
    for (const auto& [id, pictureUrl] : failingPictures) {
        TGameInfo game = ParseGameRecord(Served(GameLink(QLatin1String(id))));
        game.picUrl = pictureUrl;
        FWindow->CurrentGame = game;
        FWindow->PlayGame(game);
        ASSERT_TRUE(WaitForDownloads());
        const QString placeholder = QStringLiteral("nopic.") + QFileInfo(pictureUrl).suffix();
        EXPECT_EQ(FileBytes(Pic(game.picName)), FileBytes(Pic(placeholder))) << id;
    }

    Follow(QStringLiteral("1003"));
    const QString picture = Pic(FWindow->CurrentGame.picName);
    ASSERT_TRUE(QFile::remove(picture));
    Follow(QStringLiteral("1003"));
    EXPECT_EQ(FileBytes(picture), Served(FWindow->CurrentGame.picUrl));
    EXPECT_EQ(StoredRows().size(), 2);
}

// The catalogue's game "  泡泡龙  " is stored under its name as received; the library hands the
// name back trimmed. Either way the stored file plays, and nothing is downloaded again.
TEST_F(Player, AGameNamedWithBlanksIsFoundUnderEitherName) {
    Follow(QStringLiteral("1009"));
    const QString received = FWindow->swfPlay->Movie();
    ASSERT_TRUE(received.endsWith(QStringLiteral("/  泡泡龙  .swf")));
    FWindow->swfPlay->SetMovie(QString());
    FWindow->PlayLocalGame(QStringLiteral("1009"));
    EXPECT_EQ(FWindow->swfPlay->Movie(), received);
    EXPECT_EQ(FWindow->RunningDownloads(), 0);

    ASSERT_TRUE(QFile::rename(received, Flash(QStringLiteral("泡泡龙.swf"))));
    Follow(QStringLiteral("1009"));
    EXPECT_EQ(FWindow->swfPlay->Movie(), Flash(QStringLiteral("泡泡龙.swf")));
    EXPECT_TRUE(FMessages.Plain.isEmpty() && FMessages.Errors.isEmpty());
}

// Closing the client during a download: the download stops before the window goes, and leaves
// no game file, only its part to continue from. (Under AddressSanitizer a worker reaching for a
// freed window is caught.)
TEST_F(Player, ClosingDuringADownloadStopsItBeforeTheWindowGoes) {
    ASSERT_TRUE(Offer(GameLink(QStringLiteral("913"))));
    ASSERT_TRUE(PumpEventsUntil([&] { return FWindow->ProgressBar1->value() > 0; }, 20000));
    bool downloadsEndedFirst = false;
    QObject::connect(FWindow.get(), &QObject::destroyed, [&] {
        downloadsEndedFirst = TThread1::AbandonAll(std::chrono::milliseconds(0));
    });
    EXPECT_TRUE(CloseClient(FWindow, FDispatcher, std::chrono::seconds(2)));
    EXPECT_EQ(FWindow, nullptr);
    EXPECT_TRUE(downloadsEndedFirst);
    EXPECT_EQ(QDir(FFolder.filePath("flash")).entryList({QStringLiteral("*.swf")}, QDir::Files),
              QStringList());
}

TEST_F(Player, ARefusedInsertIsShownAndTheGameStillPlays) {
    Follow(QStringLiteral("1002"));
    const QString gamePath = FWindow->swfPlay->Movie();
    ASSERT_TRUE(QFile::remove(gamePath));
    FWindow->swfPlay->SetMovie(QString());
    Follow(QStringLiteral("1002"));
    ASSERT_EQ(FMessages.Plain.size(), 1);
    EXPECT_TRUE(FMessages.Plain[0].contains(QStringLiteral("UNIQUE")));
    EXPECT_EQ(FWindow->swfPlay->Movie(), gamePath);
    EXPECT_EQ(StoredRows().size(), 1);
}

TEST_F(Player, AnEmptyGameFileIsFetchedAgain) {
    Follow(QStringLiteral("1004"));
    const QString gamePath = FWindow->swfPlay->Movie();
    const QByteArray whole = FileBytes(gamePath);
    ASSERT_FALSE(whole.isEmpty());
    QFile(gamePath).resize(0);
    FWindow->swfPlay->SetMovie(QString());
    Follow(QStringLiteral("1004"));
    EXPECT_EQ(FileBytes(gamePath), whole);
    EXPECT_EQ(FWindow->swfPlay->Movie(), gamePath);
}

TEST_F(Player, TwoGamesOfOneNameShareTheFirstOnesFile) {
    Follow(QStringLiteral("1007"));
    const QString gamePath = FWindow->swfPlay->Movie();
    const QByteArray first = FileBytes(gamePath);
    Follow(QStringLiteral("1008"));
    EXPECT_EQ(FWindow->swfPlay->Movie(), gamePath);
    EXPECT_EQ(FileBytes(gamePath), first);
    EXPECT_EQ(StoredRows().size(), 1);
}

// The server holds each game's reply until both games have been asked for: downloads that ran
// one after the other would leave the first waiting in vain.
TEST_F(Player, TwoDownloadsRunSideBySide) {
    const swf::Bytes first = swf::makeGame(swf::GameKind::Windmill);
    const swf::Bytes second = swf::makeGame(swf::GameKind::Pulse);
    TSideBySideServer server({{first.begin(), first.end()}, {second.begin(), second.end()}});
    const QString names[] = {QStringLiteral("并排一"), QStringLiteral("并排二")};
    for (size_t i = 0; i < 2; ++i) {
        TGameInfo game;
        game.id = QStringLiteral("710%1").arg(i);
        game.flashname = names[i];
        game.flashurl = server.Url(i);
        game.picUrl = Origin() + QStringLiteral("/gamesoft/pic/g1001.gif");
        FWindow->CurrentGame = game;
        FWindow->PlayGame(game);
    }
    ASSERT_TRUE(WaitForDownloads());
    EXPECT_TRUE(server.AskedTogether());
    EXPECT_EQ(FileBytes(Flash(names[0] + QStringLiteral(".swf"))),
              QByteArray(reinterpret_cast<const char*>(first.data()), qsizetype(first.size())));
    EXPECT_EQ(FileBytes(Flash(names[1] + QStringLiteral(".swf"))),
              QByteArray(reinterpret_cast<const char*>(second.data()), qsizetype(second.size())));
    EXPECT_EQ(StoredRows().size(), 2);
}

TEST_F(Player, ButtonsActOnTheLoadedGameOnly) {
    // Nothing loaded: every button does nothing.
    for (QPushButton* button :
         {FWindow->btnAddFavorate, FWindow->btnStop, FWindow->btnReplay, FWindow->btnViewInfo})
        button->click();
    EXPECT_EQ(FWindow->btnAddFavorate->text(), QStringLiteral("添加到我的收藏"));
    EXPECT_TRUE(FMessages.Plain.isEmpty() && FMessages.Errors.isEmpty());

    Follow(QStringLiteral("1006"));
    FWindow->btnViewInfo->click();
    EXPECT_EQ(FMessages.Plain, QStringList{FWindow->CurrentGame.body});
    EXPECT_TRUE(FWindow->CurrentGame.body.contains(QLatin1Char('\n')));

    FWindow->btnAddFavorate->click();
    EXPECT_EQ(FWindow->btnAddFavorate->text(), QStringLiteral("从我的收藏中删除"));
    EXPECT_EQ(FieldText(StoredRows()[0], QStringLiteral("isGood")), QStringLiteral("Y"));
    FWindow->btnAddFavorate->click();
    EXPECT_EQ(FWindow->btnAddFavorate->text(), QStringLiteral("添加到我的收藏"));
    EXPECT_EQ(FieldText(StoredRows()[0], QStringLiteral("isGood")), QStringLiteral("N"));

    // Halted, the game stays loaded; "再玩一次" loads it again and plays it.
    const QString movie = FWindow->swfPlay->Movie();
    ASSERT_TRUE(PumpEventsUntil([this] { return PlayerState().playing; }, 20000));
    FWindow->btnStop->click();
    EXPECT_EQ(FWindow->swfPlay->Movie(), movie);
    EXPECT_FALSE(PlayerState().playing);
    bool loadedAgain = false;
    QObject::connect(FWindow->swfPlay, &TFlashPlayer::MovieLoaded,
                     [&loadedAgain] { loadedAgain = true; });
    FWindow->btnReplay->click();
    EXPECT_EQ(FWindow->swfPlay->Movie(), movie);
    EXPECT_TRUE(PumpEventsUntil([&] { return loadedAgain; }, 20000));
    EXPECT_TRUE(PumpEventsUntil(
        [this] {
            const TFlashPlayerState state = PlayerState();
            return state.loaded && state.playing;
        },
        5000));
    EXPECT_EQ(FWindow->btnStop->text(), QStringLiteral("停止播放"));
}

TEST_F(Player, AStoredGamePlaysFromDiskByIdWithItsFavouriteState) {
    Follow(QStringLiteral("1011'"));
    FWindow->btnAddFavorate->click();
    FWindow->swfPlay->SetMovie(QString());
    FWindow->CurrentGame = {};
    FWindow->PlayLocalGame(QStringLiteral("1011'"));
    EXPECT_EQ(FWindow->CurrentGame.id, QStringLiteral("1011'"));
    EXPECT_EQ(FWindow->CurrentGame.isGood, QStringLiteral("Y"));
    EXPECT_EQ(FWindow->btnAddFavorate->text(), QStringLiteral("从我的收藏中删除"));
    EXPECT_FALSE(FWindow->swfPlay->Movie().isEmpty());
    EXPECT_EQ(FWindow->RunningDownloads(), 0);
}

// A name climbing out of "flash" is refused with a message naming it, before anything is
// fetched: nothing lands in the program folder or its parent, where the names would lead.
TEST_F(Player, ANameThatWouldLeaveItsFolderIsRefused) {
    const QDir program(FFolder.path());
    const QString escapee = QStringLiteral("逃出-%1").arg(QCoreApplication::applicationPid());
    const auto landed = [&](const QDir& folder) {
        return folder.entryList({escapee + QLatin1Char('*')},
                                QDir::AllEntries | QDir::Hidden | QDir::System);
    };
    for (const QString& climb : {QStringLiteral("../"), QStringLiteral("../../")}) {
        SCOPED_TRACE(climb.toStdString());
        FMessages.Plain.clear();
        TGameInfo game;
        game.flashname = climb + escapee;
        game.flashurl = Origin() + QStringLiteral("/gamesoft/flash/g1001.swf");
        game.picUrl = Origin() + QStringLiteral("/gamesoft/pic/g1001.gif");
        FWindow->PlayGame(game);
        ASSERT_TRUE(WaitForDownloads());
        EXPECT_EQ(FMessages.Plain,
                  QStringList(QStringLiteral("游戏名称“%1”不能用作文件名，无法保存这个游戏。")
                                  .arg(game.flashname)));
    }
    EXPECT_TRUE(FMessages.Errors.isEmpty());
    EXPECT_EQ(landed(program), QStringList());
    EXPECT_EQ(landed(QDir(program.absoluteFilePath(QStringLiteral("..")))), QStringList());
}

// A description holding markup is shown exactly as the catalogue sent it.
TEST(MessageBoxes, ShowTheirTextAsSent) {
    const QString body = QStringLiteral("<b>粗体</b>&amp;<br>换行");
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            shown = label->text();
            format = label->textFormat();
            box->accept();
        }
    });
    closer.start(20);
    ShowPlainMessage(body);
    EXPECT_EQ(shown, body);
    EXPECT_EQ(format, Qt::PlainText);
}

TEST_F(Player, ProgressShowsRoundedPercentagesOrTheBytesWhenNoSizeIsKnown) {
    FWindow->SelectPage(0);
    FWindow->IdHTTPDownloadWorkBegin(8);
    EXPECT_EQ(FWindow->pcMain->currentIndex(), 1);
    const std::pair<qint64, const char*> steps[] = {{1, "13%"}, {4, "50%"}, {8, "100%"}};
    for (const auto& [count, percent] : steps) {
        FWindow->IdHTTPDownloadWork(count);
        EXPECT_EQ(FWindow->ProgressBar1->value(), count);
        EXPECT_EQ(FWindow->lbDownLoad->text(),
                  QStringLiteral("正在下载,请稍候...已完成") + QLatin1String(percent));
    }
    FWindow->IdHTTPDownloadWorkBegin(-1);
    FWindow->IdHTTPDownloadWork(2048 * 1024);
    EXPECT_EQ(FWindow->lbDownLoad->text(), QStringLiteral("正在下载,请稍候...已完成 2048 KB"));
    FWindow->IdHTTPDownloadWorkBegin(qint64(6) << 30);
    FWindow->IdHTTPDownloadWork(qint64(3) << 30);
    EXPECT_EQ(FWindow->lbDownLoad->text(), QStringLiteral("正在下载,请稍候...已完成50%"));
}

// A web page saved as a game: the card says the file is no game and offers to fetch it again;
// the game followed next plays in full view.
TEST_F(Player, AFileThePlayerCannotReadIsExplainedAndTheNextGamePlays) {
    Follow(QStringLiteral("915"));
    ASSERT_TRUE(
        PumpEventsUntil([&] { return FWindow->pnlGameStatus->isVisibleTo(FWindow.get()); }, 20000));
    EXPECT_EQ(
        FWindow->pnlGameStatus->lblGameStatus->text(),
        QStringLiteral("游戏文件已损坏或不是 Flash 游戏，不能播放。可以从原来的地址重新下载。"));
    EXPECT_EQ(FWindow->pnlGameStatus->btnRetry->text(), QStringLiteral("重新下载"));
    EXPECT_FALSE(FWindow->pnlGameStatus->lblGameDetail->text().isEmpty());
    EXPECT_FALSE(FWindow->pnlPlaying->isVisibleTo(FWindow.get()));

    Follow(QStringLiteral("1001"));
    EXPECT_TRUE(PlayerStateBecomes(*FWindow->swfPlay, [](const TFlashPlayerState& state) {
        return state.loaded && state.playing;
    }));
    EXPECT_FALSE(FWindow->pnlGameStatus->isVisibleTo(FWindow.get()));
    EXPECT_TRUE(FWindow->pnlPlaying->isVisibleTo(FWindow.get()));
}

} // namespace
