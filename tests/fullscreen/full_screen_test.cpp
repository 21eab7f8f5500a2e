// Full-screen play and the Esc and F1 keys, with a game playing from the demo catalogue, on
// the test's X display with a window manager (openbox) and keys typed through xdotool.
#include "fullscreen/full_screen_hint.h"
#include "fullscreen/full_screen_window.h"
#include "platform/flash_player.h"
#include "support/catalogue_window_test.h"
#include "support/picture_checks.h"
#include "support/player_answers.h"
#include "support/window_manager.h"
#include "support/x11_client.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTabWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Counts the presses of one key that reach a widget.
class TKeyCounter : public QObject {
public:
    explicit TKeyCounter(int key) : FKey(key) {}
    int Presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == FKey)
            ++Presses;
        return false;
    }

private:
    int FKey;
};

constexpr int kStillRunning = 1;

// The demo catalogue's game 1001: the arrow keys move its square over the stage.
const swf::GamePalette kArrowGame = swf::paletteOf(swf::GameKind::ArrowRunner);

QImage GrabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

// The colours at the screen's corners and sides, away from the hint at the top: one when a
// picture covers the screen, several when it lies in a corner.
QSet<QRgb> EdgeColours(const QImage& screen) {
    QSet<QRgb> colours;
    for (int x : {4, screen.width() - 5})
        for (int y : {4, screen.height() / 2, screen.height() - 5})
            colours.insert(screen.pixel(x, y));
    return colours;
}

bool HoldKey(const char* action, const char* key) {
    return QProcess::execute(QStringLiteral("xdotool"), {action, key}) == 0;
}

// Types Keys inside the application's own event loop; 0 when the application then ended by
// itself, kStillRunning when it was still running after the time given.
int RunApplicationTyping(const QString& keys, int milliseconds) {
    QTimer::singleShot(0, [keys] { TypeKeys(keys); });
    QTimer timeUp;
    timeUp.setSingleShot(true);
    QObject::connect(&timeUp, &QTimer::timeout, [] { QCoreApplication::exit(kStillRunning); });
    timeUp.start(milliseconds);
    return QApplication::exec();
}

class FullScreen : public TCatalogueWindowTest {
protected:
    static void SetUpTestSuite() {
        TCatalogueWindowTest::SetUpTestSuite();
        FWindowManager = std::make_unique<TWindowManager>();
    }
    static void TearDownTestSuite() {
        FWindowManager.reset();
        TCatalogueWindowTest::TearDownTestSuite();
    }

    void SetUp() override {
        TCatalogueWindowTest::SetUp();
        FWindow->show();
        ASSERT_TRUE(PumpEventsUntil([this] { return FWindow->isActiveWindow(); }));
    }

    void PlayAGame() {
        StartAGame();
        // Marks on the page and on the movie's element tell a reload apart from a move.
        Script("window.pebbloMark = 1; document.querySelector('ruffle-player').pebbloMark = 2;");
    }
    void StartAGame() {
        ASSERT_TRUE(Offer(GameLink(QStringLiteral("1001"))));
        ASSERT_TRUE(WaitForGame(QStringLiteral("1001")));
        ASSERT_TRUE(WaitForDownloads());
        ASSERT_TRUE(PumpEventsUntil([this] { return Movie().loaded && Movie().playing; }, 20000));
    }

    TFlashPlayerState Movie() { return AskPlayerState(*FWindow->swfPlay); }

    QVariant Script(const QString& script) {
        QVariant result;
        bool answered = false;
        FWindow->swfPlay->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            answered = true;
        });
        PumpEventsUntil([&] { return answered; });
        return result;
    }

    bool SameMovieRunning() {
        const bool marked = Script("window.pebbloMark === 1 && "
                                   "document.querySelector('ruffle-player').pebbloMark === 2")
                                .toBool();
        return marked && Movie().playing;
    }

    void Enter() {
        FWindow->btnFullScreen->click();
        ASSERT_TRUE(PumpEventsUntil([this] { return FWindow->frmFullScreen->isActiveWindow(); }));
    }

    // The player is home, in the visible main window, and has the keyboard.
    void ExpectPlayerBack() {
        EXPECT_TRUE(PumpEventsUntil([this] {
            return FWindow->isVisible() && !FWindow->frmFullScreen->isVisible() &&
                   FWindow->swfPlay->hasFocus();
        }));
        EXPECT_EQ(FWindow->swfPlay->parentWidget(), FWindow->Panel3);
        EXPECT_TRUE(PumpEventsUntil(
            [this] { return FWindow->swfPlay->geometry() == FWindow->Panel3->rect(); }));
        EXPECT_TRUE(SameMovieRunning());
    }

    static inline std::unique_ptr<TWindowManager> FWindowManager;
};

TEST_F(FullScreen, ThePlayerCoversTheScreenAfterASecondAndEscBringsItBackRunning) {
    PlayAGame();
    Enter();
    EXPECT_FALSE(FWindow->isVisible());
    EXPECT_EQ(FWindow->swfPlay->parentWidget(), FWindow->frmFullScreen.get());
    EXPECT_TRUE(FWindow->frmFullScreen->Timer2->isActive());

    const QRect screen = FWindow->frmFullScreen->screen()->geometry();
    EXPECT_TRUE(
        PumpEventsUntil([this] { return !FWindow->frmFullScreen->Timer2->isActive(); }, 3000));
    EXPECT_EQ(FWindow->frmFullScreen->geometry(), screen);
    EXPECT_EQ(QRect(FWindow->swfPlay->mapToGlobal(QPoint(0, 0)), FWindow->swfPlay->size()), screen);
    EXPECT_TRUE(FWindow->swfPlay->hasFocus());
    EXPECT_TRUE(SameMovieRunning());

    ASSERT_TRUE(TypeKeys(QStringLiteral("Escape")));
    ExpectPlayerBack();
    EXPECT_EQ(FWindow->pcMain->currentIndex(), 1);
}

// From entering on, every picture of the screen is one colour at its edges (dark, then the game
// over all of it), never the game small in a corner. The hint comes and goes meanwhile, and the
// game keeps the keyboard.
TEST_F(FullScreen, TheGameFillsTheScreenFromItsFirstFrameUnderAPassingHint) {
    PlayAGame();
    Enter();
    QElapsedTimer entered;
    entered.start();
    const QLabel* hint = FWindow->frmFullScreen->lblEscHint;
    EXPECT_EQ(hint->isVisible() ? hint->text() : QString(), QStringLiteral("按 Esc 退出全屏"));
    QImage uneven;
    EXPECT_TRUE(PumpEventsUntil([&] {
        const QImage screen = GrabScreen();
        const QSet<QRgb> edges = EdgeColours(screen);
        if (edges.size() > 1 && uneven.isNull())
            uneven = screen;
        return edges == QSet<QRgb>{Colour(kArrowGame.background)};
    }));
    const QString picture = QDir::temp().filePath(QStringLiteral("fullscreen-uneven.png"));
    if (!uneven.isNull())
        uneven.save(picture);
    EXPECT_TRUE(uneven.isNull()) << "a picture lay in a corner: " << picture.toStdString();
    EXPECT_TRUE(PumpEventsUntil([&] { return hint->isHidden(); }, 6000));
    EXPECT_GE(entered.elapsed(), 2500);
    EXPECT_TRUE(FWindow->swfPlay->hasFocus());
}

// A game that started while the window was hidden never had the keyboard: on the full screen it
// takes an arrow key pressed right away, without a click.
TEST_F(FullScreen, AKeyPressedRightAfterEnteringReachesTheGame) {
    FWindow->hide();
    StartAGame();
    FWindow->show();
    Enter();
    ASSERT_TRUE(HoldKey("keydown", "Right"));
    const double centre = FWindow->frmFullScreen->width() / 2.0;
    EXPECT_TRUE(PumpEventsUntil(
        [&] { return MeanColumnOf(GrabScreen(), Colour(kArrowGame.main)) > centre + 100; }));
    ASSERT_TRUE(HoldKey("keyup", "Right"));
}

TEST_F(FullScreen, AltF4ReturnsThePlayerTheSameWay) {
    PlayAGame();
    Enter();
    ASSERT_TRUE(TypeKeys(QStringLiteral("alt+F4")));
    ExpectPlayerBack();
    EXPECT_TRUE(FMessages.Plain.isEmpty());
}

TEST_F(FullScreen, EscWithoutFullScreenOrAMovieChangesNothing) {
    FWindow->btnFullScreen->click();
    EXPECT_FALSE(FWindow->frmFullScreen->isVisible());
    EXPECT_TRUE(FWindow->isVisible());

    const QRect before = FWindow->geometry();
    TKeyCounter counter(Qt::Key_Escape);
    QApplication::focusWidget()->installEventFilter(&counter);
    ASSERT_TRUE(TypeKeys(QStringLiteral("Escape")));
    EXPECT_TRUE(PumpEventsUntil([&] { return counter.Presses == 1; }, 3000));
    EXPECT_TRUE(FWindow->isVisible());
    EXPECT_EQ(FWindow->geometry(), before);
    EXPECT_EQ(FWindow->pcMain->currentIndex(), 0);
    EXPECT_FALSE(FWindow->frmFullScreen->isVisible());
    EXPECT_EQ(FWindow->swfPlay->parentWidget(), FWindow->Panel3);
    EXPECT_TRUE(FMessages.Plain.isEmpty() && FMessages.Errors.isEmpty());
}

TEST_F(FullScreen, F1EndsTheClientOnlyWhileTheBoxIsTicked) {
    FWindow->pcMain->setCurrentIndex(4);
    QWidget* focused = FWindow->ComboBox1;
    focused->setFocus();
    TKeyCounter counter(Qt::Key_F1);
    focused->installEventFilter(&counter);

    FWindow->chk_Closehotkey->setChecked(false);
    EXPECT_EQ(RunApplicationTyping(QStringLiteral("F1"), 1000), kStillRunning);
    EXPECT_EQ(counter.Presses, 1);
    EXPECT_TRUE(FWindow->isVisible());

    // Ticked and not saved, it counts at once; the key still reaches the focused window.
    FWindow->chk_Closehotkey->setChecked(true);
    EXPECT_EQ(RunApplicationTyping(QStringLiteral("F1"), 5000), 0);
    EXPECT_FALSE(FWindow->isVisible());
    EXPECT_EQ(counter.Presses, 2);
}

TEST_F(FullScreen, F1EndsTheClientFromTheFullScreen) {
    PlayAGame();
    Enter();
    EXPECT_EQ(RunApplicationTyping(QStringLiteral("F1"), 5000), 0);
    EXPECT_FALSE(FWindow->isVisible());
}

} // namespace
