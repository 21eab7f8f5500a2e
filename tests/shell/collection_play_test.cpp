// A folder of games, one of them a real game of another author, as a person runs the catalogue
// over it: the client browses to it, downloads it with the picture taken from the movie, plays
// it, and plays it again from its library with the catalogue gone.
#include "catalogue_server.h"
#include "collection_catalogue.h"
#include "common/program_folder.h"
#include "platform/flash_player.h"
#include "platform/ui_dispatcher.h"
#include "shell/main_window.h"
#include "support/program_files.h"
#include "support/pump_events.h"
#include "support/recorded_messages.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool MovieLoaded(TFlashPlayer& player) {
    TFlashPlayerState state;
    return PumpEventsUntil(
        [&] {
            player.QueryState([&state](const TFlashPlayerState& now) { state = now; });
            PumpEventsUntil([] { return false; }, 50);
            return state.loaded;
        },
        20000);
}

TEST(CollectionPlay, ARealGameIsBrowsedDownloadedPlayedAndPlayedAgainOffline) {
    TUiDispatcher dispatcher;
    TRecordedMessages messages;
    QTemporaryDir programFolder;
    QTemporaryDir games;
    ASSERT_TRUE(CopyInstalledProgramFiles(programFolder.path()));
    SetProgramFolderForTesting(programFolder.path());
    const QString real = QStringLiteral(PEBBLO_SOURCE_DIR "/tests/data/games/flbox.swf");
    ASSERT_TRUE(QDir(games.path()).mkpath(QStringLiteral("物理")));
    ASSERT_TRUE(QFile::copy(real, games.filePath(QStringLiteral("物理/flbox.swf"))));

    auto server = std::make_unique<CatalogueServer>(
        openCollection(games.path().toStdString(), {}, false), std::filesystem::path());
    const int port = server->bind(0);
    const QString host = QStringLiteral("127.0.0.1:%1").arg(port);
    server->start();
    qputenv("PEBBLO_CATALOGUE_HOST", host.toUtf8());
    {
        TfrmMain window;
        // Browse: the category's list holds the link the user follows.
        httplib::Client client("127.0.0.1", port);
        const auto list = client.Get("/gamesoft/GameList.asp?classid=1");
        ASSERT_TRUE(list);
        const QRegularExpressionMatch link =
            QRegularExpression(QStringLiteral("href=\"([^\"]*GAMEINFO\\.ASP\\?ID=\\d+)\""))
                .match(QString::fromStdString(list->body));
        ASSERT_TRUE(link.hasMatch());
        bool cancel = false;
        window.WB_GameListBeforeNavigate2(window.WB_GameList, link.captured(1), cancel);
        ASSERT_TRUE(cancel);
        ASSERT_TRUE(PumpEventsUntil(
            [&] { return window.CurrentGame.flashname == QStringLiteral("flbox"); }));
        ASSERT_TRUE(PumpEventsUntil([&] { return window.RunningDownloads() == 0; }, 30000));
        EXPECT_EQ(ReadAll(programFolder.filePath(QStringLiteral("flash/flbox.swf"))),
                  ReadAll(real));
        EXPECT_TRUE(
            ReadAll(programFolder.filePath(QStringLiteral("pic/flbox.jpg"))).startsWith("\xff\xd8"))
            << "the picture from the movie, not the placeholder";
        EXPECT_TRUE(MovieLoaded(*window.swfPlay));

        const QString id = window.CurrentGame.id;
        server.reset();
        window.swfPlay->SetMovie(QString());
        window.PlayLocalGame(id);
        EXPECT_TRUE(window.swfPlay->Movie().endsWith(QStringLiteral("flbox.swf")));
        EXPECT_EQ(window.RunningDownloads(), 0);
        EXPECT_TRUE(MovieLoaded(*window.swfPlay));
        EXPECT_TRUE(messages.Errors.isEmpty() && messages.Plain.isEmpty());
    }
    qunsetenv("PEBBLO_CATALOGUE_HOST");
    SetProgramFolderForTesting(QString());
}

} // namespace
