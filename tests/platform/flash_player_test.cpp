// The Flash player view for real: Ruffle in Qt WebEngine playing the demo catalogue's games.
#include "catalogue_server.h"
#include "common/program_folder.h"
#include "platform/flash_player.h"
#include "support/picture_checks.h"
#include "support/player_answers.h"
#include "support/pump_events.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

struct TGameFile {
    std::string id;
    swf::GameKind kind;
    QString path;
};

// The games a client can download whole, fetched from the catalogue as a client would.
std::vector<TGameFile> FetchCatalogueGames(const QString& folder) {
    CatalogueServer server;
    const int port = server.bind(0);
    server.start();
    httplib::Client client("127.0.0.1", port);
    std::vector<TGameFile> games;
    for (const Game& game : server.catalogue().games) {
        if (!game.kind || game.swfPath.find('?') != std::string::npos)
            continue; // games that exist to make downloads fail
        const httplib::Result reply = client.Get(game.swfPath);
        if (!reply || reply->status != 200)
            throw std::runtime_error("catalogue did not serve " + game.swfPath);
        const QString path =
            folder + QLatin1Char('/') + QString::fromStdString(game.id) + QStringLiteral(".swf");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reply->body.data(), qint64(reply->body.size())) !=
                qint64(reply->body.size()))
            throw std::runtime_error("cannot write " + path.toStdString());
        games.push_back({game.id, *game.kind, path});
    }
    return games;
}

QString FileUrl(const QString& path) {
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

bool WaitUntilPlaying(TFlashPlayer& player, const QString& path, bool playing = true) {
    return PumpEventsUntil([&] {
        const TFlashPlayerState state = AskPlayerState(player);
        return state.loaded && state.playing == playing && state.url == FileUrl(path);
    });
}

QImage Grab(QWidget& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The colour covering most of the picture: a game's stage background.
QRgb DominantColour(const QImage& picture) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < picture.height(); y += 3)
        for (int x = 0; x < picture.width(); x += 3)
            ++counts[picture.pixel(x, y)];
    return std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                            [](auto a, auto b) { return a.second < b.second; })
        ->first;
}

QRgb BackgroundOf(swf::GameKind kind) {
    return Colour(swf::paletteOf(kind).background);
}

bool WaitForBackground(QWidget& view, QRgb colour, int milliseconds = 10000) {
    return PumpEventsUntil([&] { return DominantColour(Grab(view)) == colour; }, milliseconds);
}

// True once the picture differs from the one at the call, within the time given.
bool PictureChanges(QWidget& view, int milliseconds = 3000) {
    const QImage before = Grab(view);
    return PumpEventsUntil([&] { return Grab(view) != before; }, milliseconds);
}

// The frames the player's page has drawn since it was first asked: a clock of the page's own,
// which runs whether or not the movie moves.
int PageFrames(TFlashPlayer& player) {
    std::optional<int> frames;
    player.page()->runJavaScript(
        QStringLiteral("window.testFrames ?? (window.testFrames = 0, (function count() {"
                       "  ++window.testFrames; requestAnimationFrame(count); })(), 0)"),
        [&frames](const QVariant& answer) { frames = answer.toInt(); });
    PumpEventsUntil([&] { return frames.has_value(); });
    return frames.value_or(-1);
}

// True once the picture has stayed the same while the page drew Frames frames, within the time
// given: the movie is halted. The compositor may still bring a frame drawn before the halt, so
// the count starts again at every change.
bool HoldsStill(TFlashPlayer& player, int frames = 30, int milliseconds = 5000) {
    QImage still = Grab(player);
    int since = PageFrames(player);
    return PumpEventsUntil(
        [&] {
            const int now = PageFrames(player);
            const QImage picture = Grab(player);
            if (picture == still)
                return now - since >= frames;
            still = picture;
            since = now;
            return false;
        },
        milliseconds);
}

// The traffic light's lamps as its movie draws them: red, yellow, green.
constexpr std::array<QRgb, 3> kLamps{qRgb(230, 30, 30), qRgb(240, 200, 20), qRgb(30, 200, 60)};

// The lamp lit in the picture, -1 when none shows.
int LitLamp(const QImage& picture) {
    for (size_t lamp = 0; lamp < kLamps.size(); ++lamp)
        if (MeanColumnOf(picture, kLamps[lamp]) >= 0)
            return int(lamp);
    return -1;
}

// A window holding a player the way the main window's panel does.
struct TPlayerWindow {
    TPlayerWindow() {
        new QVBoxLayout(&Window);
        Window.layout()->setContentsMargins(0, 0, 0, 0);
        Window.layout()->addWidget(Player);
        Window.resize(400, 300);
        Window.show();
        Window.activateWindow();
    }
    QWidget Window;
    TFlashPlayer* Player = new TFlashPlayer(&Window);
};

class FlashPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Qt WebEngine draws nothing a grab can see on the offscreen platform.
        ASSERT_FALSE(qgetenv("DISPLAY").isEmpty()) << "runs under an X server (scripts/test)";
        SetProgramFolderForTesting(QStringLiteral(PEBBLO_PROGRAM_DIR));
        Folder = std::make_unique<QTemporaryDir>();
        Games = FetchCatalogueGames(Folder->path());
        Shared = std::make_unique<TPlayerWindow>();
    }
    static void TearDownTestSuite() {
        Shared.reset();
        Folder.reset();
        SetProgramFolderForTesting({});
    }

    static const TGameFile& GameOfKind(swf::GameKind kind) {
        return *std::find_if(Games.begin(), Games.end(),
                             [kind](const TGameFile& game) { return game.kind == kind; });
    }
    // A game file of its own, which a test may overwrite.
    static QString CopyOf(swf::GameKind kind, const QString& name) {
        const QString path = Folder->filePath(name);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(GameOfKind(kind).path, path));
        return path;
    }
    void Load(const QString& path) {
        Player().StopPlay();
        Player().SetMovie(path);
        Player().Play();
        ASSERT_TRUE(WaitUntilPlaying(Player(), path));
    }
    static TFlashPlayer& Player() { return *Shared->Player; }

    // A generated game that is not in the catalogue.
    static QString WriteGame(swf::GameKind kind, const QString& name) {
        const swf::Bytes movie = swf::makeGame(kind);
        QFile file(Folder->filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(movie.data()), qint64(movie.size()));
        return file.fileName();
    }

    // Holds the right arrow down until the square in the colour has moved right.
    static bool RightArrowMoves(QRgb square) {
        const double start = MeanColumnOf(Grab(Player()), square);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(Player().focusProxy(), &press);
        const bool moved =
            start >= 0 &&
            PumpEventsUntil([&] { return MeanColumnOf(Grab(Player()), square) > start + 20; },
                            3000);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(Player().focusProxy(), &release);
        return moved;
    }

    static inline std::unique_ptr<QTemporaryDir> Folder;
    static inline std::vector<TGameFile> Games;
    static inline std::unique_ptr<TPlayerWindow> Shared;
};

// What the player page's scripts let escape (the engine logs it in the "js" category), kept
// while an object of this class lives.
class TUncaughtPageErrors {
public:
    TUncaughtPageErrors() { FPrevious = qInstallMessageHandler(&Record); }
    ~TUncaughtPageErrors() { qInstallMessageHandler(FPrevious); }
    TUncaughtPageErrors(const TUncaughtPageErrors&) = delete;
    TUncaughtPageErrors& operator=(const TUncaughtPageErrors&) = delete;

    static QStringList Seen() { return FSeen; }

private:
    static void Record(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (context.category != nullptr && QLatin1String(context.category) == "js" &&
            text.contains(QLatin1String("Uncaught")))
            FSeen.append(text);
        FPrevious(type, context, text);
    }
    static inline QtMessageHandler FPrevious = nullptr;
    static inline QStringList FSeen;
};

// Twice round the catalogue: more movies than Chromium keeps WebGL contexts alive (sixteen), so
// an unload that did not hand its context back would leave a later game without one. No switch
// leaves an error behind (an instance ended while the next was built once made the player's
// callbacks run after they were dropped).
TEST_F(FlashPlayerTest, EveryCatalogueGameLoadsAndShowsItsStageAgainAndAgain) {
    ASSERT_GE(Games.size(), 8u);
    const TUncaughtPageErrors errors;
    for (int round = 0; round < 2; ++round) {
        for (const TGameFile& game : Games) {
            SCOPED_TRACE(game.id);
            Load(game.path);
            EXPECT_EQ(Player().Movie(), game.path);
            EXPECT_TRUE(WaitForBackground(Player(), BackgroundOf(game.kind)));
        }
    }
    EXPECT_TRUE(TUncaughtPageErrors::Seen().isEmpty())
        << TUncaughtPageErrors::Seen().join(QLatin1Char('\n')).toStdString();
}

// Each of the two ways of halting freezes the bouncing ball, which moves at every frame it
// plays, and Play sets it moving again.
TEST_F(FlashPlayerTest, AnimationRunsStopHaltsItAndPlayResumesIt) {
    const QString path = GameOfKind(swf::GameKind::BouncingBall).path;
    Load(path);
    ASSERT_TRUE(PictureChanges(Player()));

    for (void (TFlashPlayer::*halt)() : {&TFlashPlayer::Stop, &TFlashPlayer::StopPlay}) {
        (Player().*halt)();
        EXPECT_TRUE(WaitUntilPlaying(Player(), path, false));
        EXPECT_TRUE(HoldsStill(Player())) << "the ball moves on";
        EXPECT_EQ(Player().Movie(), path) << "halting keeps the movie loaded";

        Player().Play();
        EXPECT_TRUE(WaitUntilPlaying(Player(), path));
        EXPECT_TRUE(PictureChanges(Player())) << "the ball stays where it halted";
    }
}

TEST_F(FlashPlayerTest, AGameThatStartsHasTheKeyboard) {
    Load(GameOfKind(swf::GameKind::ArrowRunner).path);
    EXPECT_TRUE(PumpEventsUntil([&] {
        return QApplication::focusWidget() == Player().focusProxy() &&
               AskPlayerState(Player()).focused;
    }));
}

// The arrow game's script moves its square by name; the rest of the stage holds still.
TEST_F(FlashPlayerTest, AnArrowKeyMovesTheArrowGamesSquare) {
    Load(GameOfKind(swf::GameKind::ArrowRunner).path);
    ASSERT_TRUE(WaitForBackground(Player(), BackgroundOf(swf::GameKind::ArrowRunner)));
    ASSERT_TRUE(PumpEventsUntil([&] { return AskPlayerState(Player()).focused; }));
    EXPECT_FALSE(PictureChanges(Player(), 600)) << "nothing moves by itself";
    EXPECT_TRUE(RightArrowMoves(Colour(swf::paletteOf(swf::GameKind::ArrowRunner).main)));
}

// The click counter's marker steps right at every mouse press: the keyboard is given at load
// and at replay without pressing anything in the game. At its start the game asks for full
// screen and sends fscommands, "quit" among them: the player stays in its window and plays on.
TEST_F(FlashPlayerTest, KeysReachAGameWithoutAnyClickAndItsRequestsToTheHostChangeNothing) {
    const swf::GamePalette palette = swf::paletteOf(swf::GameKind::ClickCounter);
    const QString path = WriteGame(swf::GameKind::ClickCounter, QStringLiteral("clicks.swf"));
    Load(path);
    ASSERT_TRUE(WaitForBackground(Player(), Colour(palette.background)));
    Player().StopPlay();
    Player().SetMovie(QString());
    Player().SetMovie(path);
    Player().Play();
    ASSERT_TRUE(WaitUntilPlaying(Player(), path));
    ASSERT_TRUE(PumpEventsUntil([&] { return AskPlayerState(Player()).focused; }));
    ASSERT_TRUE(WaitForBackground(Player(), Colour(palette.background)));
    PictureChanges(Player(), 300);
    EXPECT_NEAR(MeanColumnOf(Grab(Player()), Colour(palette.accent)), 20, 3) << "a click came in";
    EXPECT_TRUE(RightArrowMoves(Colour(palette.main)));
    EXPECT_FALSE(Shared->Window.isFullScreen());
    EXPECT_EQ(Player().Movie(), path);
}

// What a game or its page asks to go elsewhere, in the view or in a window of its own, is
// refused: the view keeps showing the player and its game.
TEST_F(FlashPlayerTest, TheViewGoesNowhereButItsPlayerPage) {
    const QString path = WriteGame(swf::GameKind::ClickCounter, QStringLiteral("away.swf"));
    Load(path);
    ASSERT_TRUE(WaitUntilPlaying(Player(), path));
    const QUrl hostPage = Player().page()->url();
    bool ran = false;
    Player().page()->runJavaScript(
        QStringLiteral("window.open('http://127.0.0.1:9/popup');"
                       "location.href = 'http://127.0.0.1:9/elsewhere';"),
        [&ran](const QVariant&) { ran = true; });
    ASSERT_TRUE(PumpEventsUntil([&] { return ran; }));
    EXPECT_TRUE(WaitUntilPlaying(Player(), path));
    EXPECT_EQ(Player().page()->url(), hostPage);
}

// Framework games draw everything through bitmaps: the player needs a renderer that can. The
// game's shape is copied in its own coordinates, around the bitmap's top left corner.
TEST_F(FlashPlayerTest, AGameDrawnThroughABitmapShowsItsPicture) {
    const swf::GamePalette palette = swf::paletteOf(swf::GameKind::BitmapCopy);
    Load(WriteGame(swf::GameKind::BitmapCopy, QStringLiteral("bitmap.swf")));
    EXPECT_TRUE(PumpEventsUntil(
        [&] {
            const QImage picture = Grab(Player());
            return picture.pixel(picture.width() / 8, picture.height() / 8) == Colour(palette.main);
        },
        5000));
}

// The traffic light's timeline shows its red lamp for a second and a half, then the yellow one,
// then the green one. Replayed while yellow, it shows red again, without going on to green.
TEST_F(FlashPlayerTest, ReplayStartsAgainFromTheFirstFrame) {
    const QString path = GameOfKind(swf::GameKind::TrafficLight).path;
    Load(path);
    ASSERT_TRUE(PumpEventsUntil([&] { return LitLamp(Grab(Player())) == 0; }));
    const QImage firstLamp = Grab(Player());
    ASSERT_TRUE(PumpEventsUntil([&] { return LitLamp(Grab(Player())) == 1; }, 5000));

    Player().StopPlay();
    Player().SetMovie(QString());
    Player().SetMovie(path);
    Player().Play();
    ASSERT_TRUE(WaitUntilPlaying(Player(), path));
    int next = -1;
    ASSERT_TRUE(PumpEventsUntil(
        [&] {
            next = LitLamp(Grab(Player()));
            return next == 0 || next == 2;
        },
        5000));
    EXPECT_EQ(next, 0) << "the movie went on instead of starting again";
    EXPECT_TRUE(PumpEventsUntil([&] { return Grab(Player()) == firstLamp; }, 1000));
}

TEST_F(FlashPlayerTest, ReplayReadsTheFileAgain) {
    const QString path = CopyOf(swf::GameKind::Windmill, QStringLiteral("replaced.swf"));
    Load(path);
    ASSERT_TRUE(WaitForBackground(Player(), BackgroundOf(swf::GameKind::Windmill)));

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::copy(GameOfKind(swf::GameKind::Pulse).path, path));
    Player().SetMovie(QString());
    Player().SetMovie(path);
    ASSERT_TRUE(WaitUntilPlaying(Player(), path));
    EXPECT_TRUE(WaitForBackground(Player(), BackgroundOf(swf::GameKind::Pulse)));
}

TEST_F(FlashPlayerTest, EmptyMovieUnloads) {
    Load(GameOfKind(swf::GameKind::Windmill).path);
    Player().SetMovie(QString());
    EXPECT_EQ(Player().Movie(), QString());
    EXPECT_TRUE(PumpEventsUntil([&] {
        const TFlashPlayerState state = AskPlayerState(Player());
        return !state.loaded && state.url.isEmpty();
    }));
    EXPECT_TRUE(WaitForBackground(Player(), qRgb(0, 0, 0))) << "the page's own background";
}

// A fresh player whose page is still loading keeps every command and applies them in order.
TEST_F(FlashPlayerTest, CommandsBeforeThePageIsReadyApplyInOrder) {
    TPlayerWindow fresh;
    const QString first = GameOfKind(swf::GameKind::Windmill).path;
    const QString second = GameOfKind(swf::GameKind::BouncingBall).path;
    QElapsedTimer clock;
    clock.start();
    fresh.Player->SetMovie(first);
    fresh.Player->SetMovie(second);
    fresh.Player->Stop();
    EXPECT_EQ(fresh.Player->Movie(), second) << "the path is there before Ruffle has it";

    ASSERT_TRUE(PumpEventsUntil(
        [&] {
            const TFlashPlayerState state = AskPlayerState(*fresh.Player);
            return state.loaded && !state.playing && state.url == FileUrl(second);
        },
        60000));
    // A new page starts Ruffle and its WebGL first, slowly on software GL.
    EXPECT_TRUE(WaitForBackground(*fresh.Player, BackgroundOf(swf::GameKind::BouncingBall), 60000));
    RecordProperty("first_movie_shown_ms", int(clock.elapsed()));
    EXPECT_TRUE(HoldsStill(*fresh.Player)) << "the stop given while loading holds";
}

TEST_F(FlashPlayerTest, KeepsPlayingWhenMovedIntoAnotherWindow) {
    TPlayerWindow from;
    const QString path = GameOfKind(swf::GameKind::Windmill).path;
    from.Player->SetMovie(path);
    ASSERT_TRUE(WaitUntilPlaying(*from.Player, path));
    int reloads = 0;
    QObject::connect(from.Player, &TFlashPlayer::loadStarted, [&] { ++reloads; });
    QObject::connect(from.Player, &TFlashPlayer::MovieLoaded, [&] { ++reloads; });

    QWidget to;
    to.resize(500, 400);
    from.Player->setParent(&to);
    from.Player->setGeometry(0, 0, 500, 400);
    to.show();
    from.Player->show();

    EXPECT_TRUE(PictureChanges(*from.Player));
    EXPECT_TRUE(WaitUntilPlaying(*from.Player, path));
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(from.Player->Movie(), path);
    from.Player->setParent(&from.Window); // back, so each window deletes only what it owns
}

// A file the player cannot read is told as often as it is given, and never covers a game
// after it: neither its error screen nor, at the first pointer over the movie, the player's own
// notice about hardware acceleration (which a software renderer would bring up).
TEST_F(FlashPlayerTest, AFileThePlayerCannotReadIsToldAndLeavesTheNextGameUncovered) {
    const QString page = Folder->filePath(QStringLiteral("page.swf"));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body><h3>404</h3></body></html>");
    file.close();
    std::vector<TMovieFailure> failures;
    const QMetaObject::Connection told = QObject::connect(
        &Player(), &TFlashPlayer::MovieFailed,
        [&](TMovieFailure failure, const QString&) { failures.push_back(failure); });

    const swf::GameKind kinds[] = {swf::GameKind::ArrowRunner, swf::GameKind::Windmill};
    for (const swf::GameKind kind : kinds) {
        const size_t before = failures.size();
        Player().SetMovie(page);
        Player().Play();
        ASSERT_TRUE(PumpEventsUntil([&] { return failures.size() == before + 1; }));
        EXPECT_EQ(failures.back(), TMovieFailure::Unreadable);
        EXPECT_FALSE(AskPlayerState(Player()).loaded);

        Load(GameOfKind(kind).path);
        EXPECT_TRUE(WaitForBackground(Player(), BackgroundOf(kind)));
    }
    // The arrow game holds still by itself: whatever changes now was laid over it.
    Load(GameOfKind(swf::GameKind::ArrowRunner).path);
    ASSERT_TRUE(WaitForBackground(Player(), BackgroundOf(swf::GameKind::ArrowRunner)));
    PictureChanges(Player(), 300);
    const QPointF middle(Player().width() / 2.0, Player().height() / 2.0);
    QMouseEvent over(QEvent::MouseMove, middle, Player().mapToGlobal(middle), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Player().focusProxy(), &over);
    EXPECT_FALSE(PictureChanges(Player(), 1000));
    EXPECT_EQ(failures.size(), 2u) << "good games are not told as failed";
    QObject::disconnect(told);
}

// A loader finds its parts beside its own file, wherever the player page lies.
TEST_F(FlashPlayerTest, AGameLoadsWhatLiesBesideItByARelativeAddress) {
    ASSERT_TRUE(QDir(Folder->path()).mkpath(QStringLiteral("loader/parts")));
    const swf::Bytes loader = swf::makeLoader("parts/piece.swf", {90, 90, 90});
    const swf::Bytes piece = swf::makeGame(swf::GameKind::TrafficLight);
    const std::pair<QString, const swf::Bytes*> files[] = {
        {QStringLiteral("loader/loader.swf"), &loader},
        {QStringLiteral("loader/parts/piece.swf"), &piece}};
    for (const auto& [name, movie] : files) {
        QFile file(Folder->filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(movie->data()), qint64(movie->size()));
    }
    Load(Folder->filePath(QStringLiteral("loader/loader.swf")));
    // The part takes the loader's place on the loader's stage: its lamps' housing shows.
    const QRgb housing = Colour(swf::paletteOf(swf::GameKind::TrafficLight).accent);
    EXPECT_TRUE(PumpEventsUntil([&] { return MeanColumnOf(Grab(Player()), housing) >= 0; }));
}

} // namespace
