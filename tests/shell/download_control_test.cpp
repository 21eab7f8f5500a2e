// Downloads the user controls: a lost connection continues where it stopped, a file changed on
// the server meanwhile starts again, a failed download continues at the next try, and "取消"
// leaves nothing behind. And what a download shows costs the transfer little.
#include "library/flash_statements.h"
#include "library/game_fingerprints.h"
#include "library/library_connection.h"
#include "platform/flash_player.h"
#include "shell/download_list.h"
#include "shell/game_status_panel.h"
#include "support/catalogue_window_test.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <httplib.h>
#include <mutex>
#include <thread>

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string Pattern(int size, int seed) {
    std::string body(size_t(size), '\0');
    for (int i = 0; i < size; ++i)
        body[size_t(i)] = char((i * 31 + seed) % 251);
    return "FWS" + body.substr(3);
}

// One game file at /game.swf whose replies the test scripts: each request takes the next step
// (the last one repeats). Ranges are served by the HTTP library itself.
class TScriptedGameServer {
public:
    struct TStep {
        std::string Body;
        std::string ETag;
        // The connection closes once this share of the whole body has been sent, or never.
        double CutAt = 2;
        // Pieces of 1 KiB with a pause between: a download slow enough to cancel.
        bool Trickle = false;
    };

    explicit TScriptedGameServer(std::vector<TStep> steps) : FSteps(std::move(steps)) {
        FServer.Get("/game.swf", [this](const httplib::Request& request, httplib::Response& reply) {
            TStep step;
            {
                const std::lock_guard lock(FLock);
                Ranges.push_back(request.get_header_value("Range"));
                IfRanges.push_back(request.get_header_value("If-Range"));
                step = FSteps[std::min(FServed++, FSteps.size() - 1)];
            }
            reply.set_header("ETag", step.ETag);
            const auto cut = size_t(double(step.Body.size()) * step.CutAt);
            reply.set_content_provider(
                step.Body.size(), "application/x-shockwave-flash",
                [step, cut](size_t offset, size_t length, httplib::DataSink& sink) {
                    if (offset >= cut)
                        return false;
                    const size_t piece = std::min({length, cut - offset, size_t(1024)});
                    if (step.Trickle)
                        std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    return sink.write(step.Body.data() + offset, piece);
                });
        });
        FPort = FServer.bind_to_any_port("127.0.0.1");
        FThread = std::thread([this] { FServer.listen_after_bind(); });
        while (!FServer.is_running())
            std::this_thread::yield();
    }
    ~TScriptedGameServer() {
        FServer.stop();
        FThread.join();
    }

    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/game.swf").arg(FPort); }

    std::vector<std::string> Ranges;
    std::vector<std::string> IfRanges;

private:
    std::vector<TStep> FSteps;
    size_t FServed = 0;
    std::mutex FLock;
    httplib::Server FServer;
    int FPort = 0;
    std::thread FThread;
};

// Counts the frames a window draws: each is its answer to a request to bring its changes to the
// screen.
class TFrameCount : public QObject {
public:
    explicit TFrameCount(QWidget* window) { window->installEventFilter(this); }
    int Frames = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::UpdateRequest)
            ++Frames;
        return false;
    }
};

class DownloadControl : public TCatalogueWindowTest {
protected:
    TGameInfo Game(const TScriptedGameServer& server) const {
        TGameInfo game;
        game.id = QStringLiteral("7001");
        game.flashname = QStringLiteral("续传");
        game.flashurl = server.Url();
        game.picUrl = Origin() + QStringLiteral("/gamesoft/pic/g1001.gif");
        return game;
    }
    QString GamePath() const { return FFolder.filePath(QStringLiteral("flash/续传.swf")); }
    QStringList FlashFolder() const {
        return QDir(FFolder.filePath(QStringLiteral("flash")))
            .entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    int StoredRows() const {
        const TLibraryConnection library(LibraryDatabasePath());
        return int(ListAllGames(library.Database()).size());
    }
    bool Play(const TGameInfo& game) {
        FWindow->CurrentGame = game;
        FWindow->PlayGame(game);
        return WaitForDownloads();
    }
};

TEST_F(DownloadControl, ALostConnectionContinuesWhereItStoppedUnlessTheFileChanged) {
    const std::string first = Pattern(300000, 1);
    const std::string second = Pattern(310000, 2);
    {
        TScriptedGameServer server({{first, "\"v1\"", 0.4}, {first, "\"v1\""}});
        ASSERT_TRUE(Play(Game(server)));
        EXPECT_EQ(FileBytes(GamePath()), QByteArray::fromStdString(first));
        ASSERT_EQ(server.Ranges.size(), 2u);
        EXPECT_EQ(server.Ranges[1], "bytes=120000-");
        EXPECT_EQ(server.IfRanges[1], "\"v1\"");
        const TLibraryConnection library(LibraryDatabasePath());
        const auto known = ReadFingerprint(library.Database(), QStringLiteral("续传"));
        ASSERT_TRUE(known.has_value());
        EXPECT_EQ(known->Sha256, QCryptographicHash::hash(QByteArray::fromStdString(first),
                                                          QCryptographicHash::Sha256)
                                     .toHex());
    }
    ASSERT_TRUE(QFile::remove(GamePath()));
    FWindow->swfPlay->SetMovie(QString());
    {
        // The file changed on a server that splices ranges without looking at If-Range: the
        // client sees the new validator and fetches the new file whole.
        TScriptedGameServer server({{first, "\"v1\"", 0.5}, {second, "\"v2\""}});
        ASSERT_TRUE(Play(Game(server)));
        EXPECT_EQ(FileBytes(GamePath()), QByteArray::fromStdString(second));
        ASSERT_EQ(server.Ranges.size(), 3u);
        EXPECT_EQ(server.Ranges[1], "bytes=150000-");
        EXPECT_EQ(server.Ranges[2], "");
    }
    EXPECT_EQ(FlashFolder(), QStringList{QStringLiteral("续传.swf")});
}

TEST_F(DownloadControl, AFailedDownloadIsContinuedWhenTheGameIsTriedAgain) {
    const std::string body = Pattern(200000, 3);
    TScriptedGameServer server({{body, "\"v1\"", 0.25},
                                {body, "\"v1\"", 0.5},
                                {body, "\"v1\"", 0.6},
                                {body, "\"v1\"", 0.7},
                                {body, "\"v1\""}});
    ASSERT_TRUE(Play(Game(server)));
    // Every try broke off: the game is not there, its part is, and the card offers "重试".
    EXPECT_TRUE(FWindow->swfPlay->Movie().isEmpty());
    EXPECT_EQ(FlashFolder(),
              QStringList({QStringLiteral("续传.swf.part"), QStringLiteral("续传.swf.part.info")}));
    EXPECT_EQ(FileBytes(GamePath() + QStringLiteral(".part")),
              QByteArray::fromStdString(body.substr(0, 140000)));
    EXPECT_EQ(StoredRows(), 0);

    FWindow->pnlGameStatus->btnRetry->click();
    ASSERT_TRUE(WaitForDownloads());
    EXPECT_EQ(server.Ranges.back(), "bytes=140000-");
    EXPECT_EQ(FileBytes(GamePath()), QByteArray::fromStdString(body));
    EXPECT_EQ(FWindow->swfPlay->Movie(), GamePath());
    EXPECT_EQ(FlashFolder(), QStringList{QStringLiteral("续传.swf")});
    EXPECT_EQ(StoredRows(), 1);
}

TEST_F(DownloadControl, CancellingLeavesNoFileAndNoRow) {
    TScriptedGameServer server({{Pattern(2000000, 4), "\"v1\"", 2, true}});
    FWindow->CurrentGame = Game(server);
    FWindow->PlayGame(FWindow->CurrentGame);
    TDownloadList* list = FWindow->pnlGameStatus->lstDownloads;
    ASSERT_EQ(list->Count(), 1);
    TDownloadRow* row = list->Row(QStringLiteral("续传.swf"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->lblDownloadName->text(), QStringLiteral("续传"));
    ASSERT_TRUE(PumpEventsUntil([&] { return row->pbDownload->value() > 0; }, 20000));
    ASSERT_TRUE(
        PumpEventsUntil([&] { return row->lblDownloadSpeed->text().contains("还要"); }, 20000));

    row->btnCancelDownload->click();
    ASSERT_TRUE(WaitForDownloads());
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(FWindow->pnlGameStatus->lblGameStatus->text(), QStringLiteral("下载已取消。"));
    EXPECT_EQ(FlashFolder(), QStringList());
    EXPECT_EQ(StoredRows(), 0);
    EXPECT_TRUE(FWindow->swfPlay->Movie().isEmpty());
}

// Every frame of the window is a composition of all of it (its browser panes make it so), which
// a download shares the processor with: each step of the progress takes one frame, not one for
// the bar and more for every level of layouts its texts shake.
TEST_F(DownloadControl, EachStepOfTheProgressTakesOneFrame) {
    TScriptedGameServer server({{Pattern(100 * 1024, 5), "\"v1\"", 2, true}});
    FWindow->show();
    FWindow->SelectPage(1);
    TFrameCount frames(FWindow.get());
    // The panes' first pages draw frames of their own while they come; the window is at rest
    // before the download starts.
    ASSERT_TRUE(PumpEventsUntil(
        [&] {
            const int before = frames.Frames;
            PumpEventsUntil([] { return false; }, 300);
            return frames.Frames == before;
        },
        20000));
    int steps = 0;
    // Ends the counting with this test, whatever steps come later.
    QObject counting;
    QObject::connect(FWindow->ProgressBar1, &QProgressBar::valueChanged, &counting, [&] {
        // Counted from the first step the card shows.
        if (steps == 0)
            frames.Frames = 0;
        if (FWindow->pnlGameStatus->isVisible())
            ++steps;
    });
    FWindow->CurrentGame = Game(server);
    FWindow->PlayGame(FWindow->CurrentGame);
    ASSERT_TRUE(PumpEventsUntil([&] { return steps >= 8; }));
    const int framesOfEightSteps = frames.Frames;
    EXPECT_LE(framesOfEightSteps, 8 + 1);
    EXPECT_GE(framesOfEightSteps, 7);
    ASSERT_TRUE(WaitForDownloads());
    EXPECT_EQ(FileBytes(GamePath()), QByteArray::fromStdString(Pattern(100 * 1024, 5)));
}

} // namespace
