// A game once played is on the local library page and plays from disk with the catalogue gone.
#include "catalogue_server.h"
#include "common/program_folder.h"
#include "library/local_games_view.h"
#include "library/picture_thumbnail.h"
#include "platform/flash_player.h"
#include "platform/ui_dispatcher.h"
#include "shell/main_window.h"
#include "support/program_files.h"
#include "support/pump_events.h"
#include "support/recorded_messages.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Click(QWidget* widget) {
    const QPointF centre = QRectF(widget->rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

TEST(OfflinePlay, AThumbnailClickPlaysTheStoredGameWithTheServerStopped) {
    TUiDispatcher dispatcher;
    TRecordedMessages messages;
    QTemporaryDir folder;
    ASSERT_TRUE(CopyInstalledProgramFiles(folder.path()));
    SetProgramFolderForTesting(folder.path());
    auto server = std::make_unique<CatalogueServer>();
    const QString host = QStringLiteral("127.0.0.1:%1").arg(server->bind(0));
    server->start();
    qputenv("PEBBLO_CATALOGUE_HOST", host.toUtf8());
    {
        TfrmMain window;
        bool cancel = false;
        for (const char* id : {"1003", "1001"}) {
            window.WB_GameListBeforeNavigate2(
                window.WB_GameList,
                QStringLiteral("http://%1/GAMESOFT/GAMEINFO.ASP?ID=%2")
                    .arg(host, QLatin1String(id)),
                cancel);
            ASSERT_TRUE(
                PumpEventsUntil([&] { return window.CurrentGame.id == QLatin1String(id); }));
            ASSERT_TRUE(PumpEventsUntil([&] { return window.RunningDownloads() == 0; }, 30000));
        }
        server.reset();
        window.swfPlay->SetMovie(QString());

        // The user comes to the page: the grid lists both games, oldest first.
        window.pcMain->setCurrentIndex(7);
        const TLocalGamesView* view = window.findChild<TLocalGamesView*>();
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(
            PumpEventsUntil([&] { return !view->IsBuilding() && view->Thumbnails().size() == 2; }));
        EXPECT_EQ(view->Thumbnails()[0]->Hint(), QStringLiteral("1003"));

        Click(view->Thumbnails()[0]);
        EXPECT_EQ(window.CurrentGame.id, QStringLiteral("1003"));
        EXPECT_TRUE(window.swfPlay->Movie().endsWith(window.CurrentGame.flashname + ".swf"));
        EXPECT_EQ(window.RunningDownloads(), 0);
        EXPECT_EQ(window.pcMain->currentIndex(), 1);
        TFlashPlayerState state;
        EXPECT_TRUE(PumpEventsUntil(
            [&] {
                window.swfPlay->QueryState([&state](const TFlashPlayerState& now) { state = now; });
                PumpEventsUntil([] { return false; }, 50);
                return state.loaded;
            },
            20000));
        EXPECT_TRUE(messages.Errors.isEmpty() && messages.Plain.isEmpty());
    }
    qunsetenv("PEBBLO_CATALOGUE_HOST");
    SetProgramFolderForTesting(QString());
}

} // namespace
