// A game once played is on the local library page and plays from disk with the catalogue gone;
// the plays of both kinds make the page of the games played.
#include "catalogue_server.h"
#include "common/program_folder.h"
#include "library/game_grid.h"
#include "library/local_games_view.h"
#include "platform/flash_player.h"
#include "platform/ui_dispatcher.h"
#include "shell/main_window.h"
#include "support/player_answers.h"
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

void Click(QWidget* widget, const QPoint& at) {
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

// The page's ids once its list is shown with its pictures.
QStringList ShownIds(TfrmMain& window, int page) {
    window.PageControl1->setCurrentIndex(page);
    TGameGrid* grid =
        qobject_cast<TGameGrid*>(window.PageControl1->currentWidget()->findChild<TGameGrid*>());
    const bool shown = PumpEventsUntil(
        [&] { return !window.LocalGames()->IsLoading() && grid->ScreenComplete(); });
    QStringList ids;
    for (int row = 0; shown && row < grid->model()->rowCount(); ++row)
        ids.append(grid->model()->index(row, 0).data(TLibraryModel::IdRole).toString());
    return ids;
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

        // The user comes to the page: the grid lists both games, oldest first; the games played
        // come the last played first.
        window.show();
        window.pcMain->setCurrentIndex(7);
        EXPECT_EQ(ShownIds(window, 3), QStringList({"1001", "1003"}));
        ASSERT_EQ(ShownIds(window, 0), QStringList({"1003", "1001"}));

        Click(window.sbAll->viewport(),
              window.sbAll->PictureRect(window.sbAll->model()->index(0, 0)).center());
        EXPECT_EQ(window.CurrentGame.id, QStringLiteral("1003"));
        EXPECT_TRUE(window.swfPlay->Movie().endsWith(window.CurrentGame.flashname + ".swf"));
        EXPECT_EQ(window.RunningDownloads(), 0);
        EXPECT_EQ(window.pcMain->currentIndex(), 1);
        EXPECT_TRUE(PlayerStateBecomes(
            *window.swfPlay, [](const TFlashPlayerState& state) { return state.loaded; }));
        EXPECT_TRUE(messages.Errors.isEmpty() && messages.Plain.isEmpty());

        window.pcMain->setCurrentIndex(7);
        EXPECT_EQ(ShownIds(window, 3), QStringList({"1003", "1001"}));
        EXPECT_TRUE(window.sbRecent->model()
                        ->index(0, 0)
                        .data(Qt::ToolTipRole)
                        .toString()
                        .contains(QStringLiteral("玩过 2 次")));
    }
    qunsetenv("PEBBLO_CATALOGUE_HOST");
    SetProgramFolderForTesting(QString());
}

} // namespace
