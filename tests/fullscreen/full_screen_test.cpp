// Full-screen play and the Esc and F1 keys, with a game playing from the demo catalogue, on
// the test's X display with a window manager (openbox) and keys typed through xdotool.
#include "fullscreen/full_screen_window.h"
#include "platform/flash_player.h"
#include "support/catalogue_window_test.h"
#include "support/window_manager.h"
#include "support/x11_client.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
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
        ASSERT_TRUE(Offer(GameLink(QStringLiteral("1001"))));
        ASSERT_TRUE(WaitForGame(QStringLiteral("1001")));
        ASSERT_TRUE(WaitForDownloads());
        ASSERT_TRUE(PumpEventsUntil([this] { return Movie().loaded && Movie().playing; }, 20000));
        // Marks on the page and on the movie's element tell a reload apart from a move.
        Script("window.pebbloMark = 1; document.querySelector('ruffle-player').pebbloMark = 2;");
    }

    TFlashPlayerState Movie() {
        TFlashPlayerState state;
        bool answered = false;
        FWindow->swfPlay->QueryState([&](const TFlashPlayerState& now) {
            state = now;
            answered = true;
        });
        PumpEventsUntil([&] { return answered; });
        return state;
    }

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
