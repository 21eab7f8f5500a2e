#include "platform/flash_player.h"
#include "shell/game_failure_text.h"
#include "shell/game_status_panel.h"
#include "support/catalogue_window_test.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <arpa/inet.h>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {

// A catalogue that takes connections and never answers. It gives up after Patience, so that a
// client that would wait for ever is held only that long.
class TSilentCatalogue {
public:
    explicit TSilentCatalogue(std::chrono::seconds patience) {
        FSocket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(FSocket, reinterpret_cast<sockaddr*>(&address), length);
        listen(FSocket, 4);
        getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length);
        FPort = ntohs(address.sin_port);
        FGiveUp = std::thread([this, patience] {
            std::unique_lock lock(FLock);
            FDone.wait_for(lock, patience, [this] { return FStop; });
            close(FSocket); // connections still waiting are reset
        });
    }
    ~TSilentCatalogue() {
        {
            const std::lock_guard lock(FLock);
            FStop = true;
        }
        FDone.notify_all();
        FGiveUp.join();
    }
    QString Host() const { return QStringLiteral("127.0.0.1:%1").arg(FPort); }

private:
    int FSocket = -1;
    int FPort = 0;
    std::mutex FLock;
    std::condition_variable FDone;
    bool FStop = false;
    std::thread FGiveUp;
};

class LinkInterception : public TCatalogueWindowTest {
protected:
    bool OfferToTree(const QString& url) {
        bool cancel = false;
        FWindow->WB_GameTreeListBeforeNavigate2(FWindow->WB_GameTreeList, url, cancel);
        return cancel;
    }

    bool WaitForMessage() {
        return PumpEventsUntil(
            [&] { return !FMessages.Errors.isEmpty() || !FMessages.Plain.isEmpty(); });
    }
};

TEST_F(LinkInterception, AGameLinkInAnyLetterCaseBecomesTheCurrentGame) {
    ASSERT_TRUE(Offer(Origin() + QStringLiteral("/GameSoft/GameInfo.asp?id=1001")));
    ASSERT_TRUE(WaitForGame(QStringLiteral("1001")));
    const TGameInfo& game = FWindow->CurrentGame;
    const Game* served = FServer->catalogue().find("1001");
    EXPECT_EQ(game.flashname, QString::fromStdString(served->name));
    EXPECT_EQ(game.body, QString::fromStdString(served->description));
    EXPECT_EQ(game.flashurl, Origin() + QString::fromStdString(served->swfPath));
    EXPECT_EQ(game.picUrl, Origin() + QString::fromStdString(served->picturePath));
    EXPECT_TRUE(game.picName.startsWith(game.flashname));
    EXPECT_TRUE(game.nclass.isEmpty() && game.classid.isEmpty() && game.isGood.isEmpty());
    EXPECT_EQ(FWindow->pcMain->currentIndex(), 1);
    EXPECT_TRUE(FMessages.Errors.isEmpty() && FMessages.Plain.isEmpty());
}

TEST_F(LinkInterception, OtherAddressesNavigateAsUsual) {
    EXPECT_FALSE(Offer(Origin() + QStringLiteral("/GAMESOFT/GAMEINFO.ASP")));
    EXPECT_FALSE(Offer(Origin() + QStringLiteral("/GAMESOFT/GAMEINF")));
    EXPECT_FALSE(Offer(Origin() + QStringLiteral("/gamesoft/GameList.asp?classid=1&page=2")));
    EXPECT_FALSE(Offer(QStringLiteral("http://other.example/GAMESOFT/GAMEINFO.ASP?ID=1001")));
    EXPECT_FALSE(Offer(QStringLiteral("about:blank")));
    PumpEventsUntil([] { return false; }, 200);
    EXPECT_TRUE(FWindow->CurrentGame.id.isEmpty());
    EXPECT_EQ(FWindow->pcMain->currentIndex(), 0);
}

// A record that cannot be had or read: the player area says why in the user's words, with the
// technical text small below, and offers "重试" and "返回"; the game playing before stays.
TEST_F(LinkInterception, FailuresSayWhyInChineseAndLeadBackToTheGameBefore) {
    ASSERT_TRUE(Offer(Origin() + QStringLiteral("/GAMESOFT/GAMEINFO.ASP?ID=1002")));
    ASSERT_TRUE(WaitForGame(QStringLiteral("1002")));
    ASSERT_TRUE(PumpEventsUntil([&] { return FWindow->RunningDownloads() == 0; }));
    FWindow->SelectPage(0);
    const TGameInfo before = FWindow->CurrentGame;
    TGameStatusPanel* status = FWindow->pnlGameStatus;

    const QString unreadable = UnreadableRecordText();
    const std::tuple<const char*, QString, const char*> failures[] = {
        {"904", QStringLiteral("游戏网站上找不到这个游戏信息，它可能已被移走。"),
         "HTTP/1.1 404 Not Found"},
        {"906", QStringLiteral("游戏网站暂时出错（302），请稍后再试。"), "HTTP/1.1 302 Found"},
        {"901", unreadable, "List index out of bounds (0)"},
        {"902", unreadable, "List index out of bounds (4)"},
        {"903", unreadable, "'104;' is not a valid integer value"},
    };
    for (const auto& [id, what, detail] : failures) {
        ASSERT_TRUE(Offer(GameLink(id)));
        ASSERT_TRUE(PumpEventsUntil([&] { return status->isVisibleTo(FWindow.get()); })) << id;
        EXPECT_EQ(FWindow->pcMain->currentIndex(), 1) << id;
        EXPECT_EQ(status->lblGameStatus->text(), what) << id;
        EXPECT_EQ(status->lblGameDetail->text(), QString::fromUtf8(detail)) << id;
        EXPECT_FALSE(FWindow->pnlPlaying->isVisibleTo(FWindow.get())) << id;
        EXPECT_TRUE(status->btnRetry->isVisibleTo(FWindow.get())) << id;
        EXPECT_EQ(FWindow->CurrentGame, before) << id;
        // Back where the user came from; the game before is still there.
        status->btnBack->click();
        EXPECT_EQ(FWindow->pcMain->currentIndex(), 0) << id;
        EXPECT_FALSE(status->isVisibleTo(FWindow.get())) << id;
        EXPECT_TRUE(FWindow->pnlPlaying->isVisibleTo(FWindow->tsCurrentGame)) << id;
        EXPECT_FALSE(FWindow->swfPlay->Movie().isEmpty()) << id;
    }
    // Never a message box, never a bare programmer's message.
    EXPECT_TRUE(FMessages.Errors.isEmpty() && FMessages.Plain.isEmpty());
}

// A game link in any catalogue pane plays; none of them ever shows a game's record.
TEST_F(LinkInterception, EveryPaneHandsItsGameLinksToThePlayer) {
    for (TBrowserPane* pane :
         {FWindow->WB_Right, FWindow->wbCurrent, FWindow->wb_advice, FWindow->WB_GameTreeList}) {
        FWindow->CurrentGame = {};
        EXPECT_FALSE(pane->AllowNavigation(QUrl(GameLink(QStringLiteral("1003")))))
            << pane->objectName().toStdString();
        EXPECT_TRUE(WaitForGame(QStringLiteral("1003"))) << pane->objectName().toStdString();
        EXPECT_TRUE(WaitForDownloads());
        // And it goes nowhere but the catalogue.
        EXPECT_FALSE(pane->AllowNavigation(QUrl(QStringLiteral("http://elsewhere.example/"))))
            << pane->objectName().toStdString();
    }
}

TEST_F(LinkInterception, TheInterceptionThatEndsLastLeavesItsGame) {
    // While the slow record is on its way the window goes on: a second link is followed and
    // its game arrives first; the slow one, ending last, stays.
    bool sawSecondGame = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        sawSecondGame = sawSecondGame || FWindow->CurrentGame.id == QStringLiteral("1003");
    });
    watch.start(10);
    QTimer::singleShot(300, [this] {
        EXPECT_TRUE(Offer(Origin() + QStringLiteral("/GAMESOFT/GAMEINFO.ASP?ID=1003")));
    });
    ASSERT_TRUE(Offer(Origin() + QStringLiteral("/GAMESOFT/GAMEINFO.ASP?ID=907")));
    ASSERT_TRUE(
        PumpEventsUntil([&] { return FWindow->CurrentGame.id == QStringLiteral("907"); }, 20000));
    EXPECT_TRUE(sawSecondGame);
    EXPECT_TRUE(FMessages.Errors.isEmpty() && FMessages.Plain.isEmpty());
}

TEST_F(LinkInterception, TheCategoryTreeKeepsItsPageAndOpensCategoriesInTheGameList) {
    EXPECT_FALSE(OfferToTree(Origin() + QStringLiteral("/gamesoft/left.asp")));
    EXPECT_FALSE(
        OfferToTree(QStringLiteral(" ") + Origin() + QStringLiteral("/gamesoft/left.asp\r\n")));
    EXPECT_TRUE(OfferToTree(Origin() + QStringLiteral("/gamesoft/help.htm")));
    EXPECT_TRUE(OfferToTree(Origin() + QStringLiteral("/GAMESOFT/LEFT.ASP")));

    FWindow->SelectPage(5);
    const QString category = Origin() + QStringLiteral("/gamesoft/GameList.asp?classid=2");
    EXPECT_TRUE(OfferToTree(category));
    ASSERT_TRUE(
        PumpEventsUntil([&] { return FWindow->WB_GameList->url().toString() == category; }));
    EXPECT_EQ(FWindow->pcMain->currentIndex(), 0);

    // "classid" counts only as written.
    FWindow->SelectPage(5);
    EXPECT_TRUE(OfferToTree(Origin() + QStringLiteral("/gamesoft/GameList.asp?CLASSID=3")));
    PumpEventsUntil([] { return false; }, 200);
    EXPECT_EQ(FWindow->pcMain->currentIndex(), 5);
}

TEST_F(LinkInterception, ClosingTheWindowAbandonsARecordRequestThatIsNeverAnswered) {
    const TSilentCatalogue silent(std::chrono::seconds(6));
    qputenv("PEBBLO_CATALOGUE_HOST", silent.Host().toUtf8());
    FWindow->show();
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(
            Offer(QStringLiteral("http://%1/GAMESOFT/GAMEINFO.ASP?ID=1001").arg(silent.Host())));
    });
    QElapsedTimer sinceClose;
    QTimer::singleShot(500, [&] {
        sinceClose.start();
        FWindow->close();
    });
    QTimer::singleShot(20000, &QCoreApplication::quit); // should the window not end the loop
    QApplication::exec();
    // Qt also queues a quit for the last window closed; left queued, it would end the waits of
    // the tests that follow.
    QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
    EXPECT_LT(sinceClose.elapsed(), 2000);
    EXPECT_TRUE(FMessages.Errors.isEmpty() && FMessages.Plain.isEmpty());
}

// A click on a game link inside the catalogue's own page, as a user's click.
TEST_F(LinkInterception, AClickOnAGameLinkInThePaneFetchesItsRecord) {
    QWebEnginePage* page = FWindow->WB_GameList->page();
    bool loaded = false;
    QObject::connect(page, &QWebEnginePage::loadFinished, [&loaded](bool ok) { loaded = ok; });
    ASSERT_TRUE(PumpEventsUntil([&] { return loaded; }, 30000));
    QString clickedId;
    page->runJavaScript(QStringLiteral("(() => { const a = [...document.links].find("
                                       "l => /gameinfo\\.asp\\?id=/i.test(l.href)); a.click();"
                                       " return a.href.replace(/.*=/, ''); })()"),
                        [&clickedId](const QVariant& id) { clickedId = id.toString(); });
    ASSERT_TRUE(PumpEventsUntil([&] { return !clickedId.isEmpty(); }));
    ASSERT_TRUE(WaitForGame(clickedId));
    EXPECT_EQ(FWindow->pcMain->currentIndex(), 1);
    EXPECT_EQ(page->url().path(), QStringLiteral("/gamesoft/AD_main.htm"));
}

} // namespace
