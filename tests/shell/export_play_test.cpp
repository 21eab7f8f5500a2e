// A folder of real and generated games exported as static files and served by Debian's nginx:
// every page the panes open, and every page and picture those link to, comes from nginx with the
// bytes the catalogue program sends, searches are handed on to the program, and with the program
// gone the client downloads a real game from nginx and plays it.
#include "catalogue_server.h"
#include "collection_catalogue.h"
#include "collection_client.h"
#include "nginx_server.h"
#include "swf_games.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <set>

namespace {

// Twenty-one games of our own fill more than one page of their category.
constexpr int kGeneratedGames = 21;

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Folders become categories in the order of their names: the real games' is the first.
int MakeCollection(const QString& root) {
    const QDir real(QStringLiteral(PEBBLO_SOURCE_DIR "/tests/data/games"));
    const QDir folder(root);
    int games = 0;
    if (!folder.mkpath(QStringLiteral("动作")) || !folder.mkpath(QStringLiteral("演示")))
        return 0;
    for (const QString& name : real.entryList({QStringLiteral("*.swf")}, QDir::Files))
        games += QFile::copy(real.filePath(name), folder.filePath(QStringLiteral("动作/") + name));
    for (int i = 0; i < kGeneratedGames; ++i) {
        const swf::GameKind kind = swf::kAllGameKinds[size_t(i) % 8]; // the small ones
        const swf::Bytes movie = swf::makeGame(kind);
        games += WriteFile(
            folder.filePath(QStringLiteral("演示/演示%1.swf").arg(i)),
            QByteArray(reinterpret_cast<const char*>(movie.data()), qsizetype(movie.size())));
    }
    return games;
}

// The addresses on this site that a page links to, as a browser reads them.
std::vector<std::string> LinksOn(const std::string& page, const QString& host) {
    std::vector<std::string> links;
    const QRegularExpression link(QStringLiteral("(?:href|src)=\"http://") +
                                  QRegularExpression::escape(host) + QStringLiteral("(/[^\"]*)\""));
    auto matches = link.globalMatch(QString::fromLatin1(page));
    while (matches.hasNext())
        links.push_back(
            matches.next().captured(1).replace(QStringLiteral("&amp;"), "&").toStdString());
    return links;
}

TEST(ExportPlay, NginxServesTheProgramsBytesAndARealGamePlaysThroughIt) {
    ASSERT_TRUE(QFileInfo(QString::fromLatin1(TNginxServer::kProgram)).isExecutable())
        << "nginx is missing: scripts/setup-deps installs it";
    QTemporaryDir games;
    QTemporaryDir exported;
    const int gameCount = MakeCollection(games.path());
    ASSERT_GT(gameCount, kGeneratedGames);

    // The program over the same folder and index: what nginx must match, and the searches.
    auto program = std::make_unique<CatalogueServer>(
        openCollection(games.path().toStdString(), {}, false), std::filesystem::path());
    const int programPort = program->bind(0);
    program->start();
    const int port = FreeLoopbackPort();
    const QString host = QStringLiteral("127.0.0.1:%1").arg(port);
    QProcess exporter;
    exporter.start(QStringLiteral(CATALOGUE_EXECUTABLE),
                   {QStringLiteral("--games"), games.path(), QStringLiteral("--export"),
                    exported.path(), QStringLiteral("--host"), host, QStringLiteral("--search-via"),
                    QStringLiteral("127.0.0.1:%1").arg(programPort)});
    ASSERT_TRUE(exporter.waitForFinished(120000));
    ASSERT_EQ(exporter.exitCode(), 0) << exporter.readAllStandardError().toStdString();
    TNginxServer nginx;
    ASSERT_TRUE(nginx.Start(exported.filePath(QStringLiteral("nginx/pebblo-site.conf")), port))
        << nginx.ErrorLog().toStdString();

    httplib::Client fromNginx("127.0.0.1", port);
    httplib::Client fromProgram("127.0.0.1", programPort);
    const httplib::Headers asNginxHost = {{"Host", host.toStdString()}};
    std::deque<std::string> pending = {"/gamesoft/left.asp",
                                       "/gamesoft/AD_main.htm",
                                       "/gamesoft/AD_right.htm",
                                       "/gamesoft/GameTjList.asp",
                                       "/gamesoft/GamePhList.asp",
                                       "/gamesoft/soft_search.asp",
                                       "/gamesoft/soft_search.asp?keyword=flbox"};
    std::set<std::string> seen(pending.begin(), pending.end());
    std::set<std::string> records;
    size_t listPages = 0;
    while (!pending.empty()) {
        const std::string address = pending.front();
        pending.pop_front();
        const auto served = fromNginx.Get(address);
        const auto original = fromProgram.Get(address, asNginxHost);
        ASSERT_TRUE(served && original) << address;
        EXPECT_EQ(served->status, 200) << address;
        EXPECT_EQ(served->get_header_value("Content-Type"),
                  original->get_header_value("Content-Type"))
            << address;
        EXPECT_TRUE(served->body == original->body) << address << " differs";
        const QString lower = QString::fromStdString(address).toLower();
        if (lower.contains(QStringLiteral("gameinfo.asp?id=")))
            records.insert(lower.section(QLatin1Char('='), 1).toStdString());
        listPages += lower.contains(QStringLiteral("gamelist.asp"));
        for (const std::string& link : LinksOn(served->body, host))
            if (seen.insert(link).second)
                pending.push_back(link);
    }
    EXPECT_EQ(records.size(), size_t(gameCount)) << "every game's record, reached by links";
    EXPECT_GE(listPages, 3u) << "both categories and the second page of one";

    // nginx alone now: the client follows the link of a real game of timeline and ActionScript 2,
    // downloads it and plays it.
    program.reset();
    TCollectionClient client(host);
    ASSERT_TRUE(client.Installed());
    const auto list = fromNginx.Get("/gamesoft/GameList.asp?classid=1");
    ASSERT_TRUE(list);
    ASSERT_TRUE(client.FollowGame(list->body, QStringLiteral("balloonatroid"),
                                  QStringLiteral("balloonatroid")));
    EXPECT_EQ(client.Stored(QStringLiteral("flash/balloonatroid.swf")),
              ReadFile(QStringLiteral(PEBBLO_SOURCE_DIR "/tests/data/games/balloonatroid.swf")));
    EXPECT_TRUE(client.MovieLoaded());
    EXPECT_TRUE(client.Messages().Errors.isEmpty() && client.Messages().Plain.isEmpty());
}

} // namespace
