// A folder of games, one of them a real game of another author, as a person runs the catalogue
// over it: the client browses to it, downloads it with the picture taken from the movie, plays
// it, and plays it again from its library with the catalogue gone.
#include "catalogue_server.h"
#include "collection_catalogue.h"
#include "collection_client.h"
#include "platform/flash_player.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CollectionPlay, ARealGameIsBrowsedDownloadedPlayedAndPlayedAgainOffline) {
    QTemporaryDir games;
    const QString real = QStringLiteral(PEBBLO_SOURCE_DIR "/tests/data/games/flbox.swf");
    ASSERT_TRUE(QDir(games.path()).mkpath(QStringLiteral("物理")));
    ASSERT_TRUE(QFile::copy(real, games.filePath(QStringLiteral("物理/flbox.swf"))));

    auto server = std::make_unique<CatalogueServer>(
        openCollection(games.path().toStdString(), {}, false), std::filesystem::path());
    const int port = server->bind(0);
    server->start();
    TCollectionClient client(QStringLiteral("127.0.0.1:%1").arg(port));
    ASSERT_TRUE(client.Installed());
    TfrmMain& window = client.Window();
    // Browse: the category's list holds the link the user follows.
    const auto list = httplib::Client("127.0.0.1", port).Get("/gamesoft/GameList.asp?classid=1");
    ASSERT_TRUE(list);
    ASSERT_TRUE(client.FollowGame(list->body, QStringLiteral("flbox"), QStringLiteral("flbox")));
    QFile original(real);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(client.Stored(QStringLiteral("flash/flbox.swf")), original.readAll());
    EXPECT_TRUE(client.Stored(QStringLiteral("pic/flbox.jpg")).startsWith("\xff\xd8"))
        << "the picture from the movie, not the placeholder";
    EXPECT_TRUE(client.MovieLoaded());

    const QString id = window.CurrentGame.id;
    server.reset();
    window.swfPlay->SetMovie(QString());
    window.PlayLocalGame(id);
    EXPECT_TRUE(window.swfPlay->Movie().endsWith(QStringLiteral("flbox.swf")));
    EXPECT_EQ(window.RunningDownloads(), 0);
    EXPECT_TRUE(client.MovieLoaded());
    EXPECT_TRUE(client.Messages().Errors.isEmpty() && client.Messages().Plain.isEmpty());
}

} // namespace
