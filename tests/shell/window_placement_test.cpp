// The main window's place, size, maximised state and folded panes from one start to the next,
// on the real X display with a window manager (openbox) that frames, maximises and closes it.
#include "common/program_folder.h"
#include "shell/clickable_image.h"
#include "shell/main_window.h"
#include "support/pump_events.h"
#include "support/recorded_messages.h"
#include "support/window_manager.h"
#include "support/x11_client.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

class WindowPlacement : public ::testing::Test {
protected:
    static void SetUpTestSuite() { FWindowManager = std::make_unique<TWindowManager>(); }
    static void TearDownTestSuite() { FWindowManager.reset(); }

    void SetUp() override {
        ASSERT_TRUE(FWindowManager->Running()) << "runs under an X server (scripts/test)";
        SetProgramFolderForTesting(FFolder.path());
        qputenv("PEBBLO_CATALOGUE_HOST", "127.0.0.1:9");
    }
    void TearDown() override {
        qunsetenv("PEBBLO_CATALOGUE_HOST");
        SetProgramFolderForTesting(QString());
    }

    // A start of the client: its window made and on screen, framed by the window manager.
    static std::unique_ptr<TfrmMain> Start() {
        auto window = std::make_unique<TfrmMain>();
        window->show();
        EXPECT_TRUE(PumpEventsUntil([&] { return window->isActiveWindow(); }));
        EXPECT_TRUE(PumpEventsUntil([&] { return window->frameGeometry() != window->geometry(); }));
        return window;
    }

    // Closed the way its close button closes it.
    static void CloseByTheWindowManager(TfrmMain& window) {
        TOtherX11Client x11;
        x11.RequestClose(xcb_window_t(window.winId()));
        EXPECT_TRUE(PumpEventsUntil([&] { return !window.isVisible(); }));
    }

    static QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }
    // The whole window, frame included, on the screen: once it is framed and placed.
    static bool OnScreen(const TfrmMain& window) {
        return PumpEventsUntil([&] { return Available().contains(window.frameGeometry()); });
    }

    static inline std::unique_ptr<TWindowManager> FWindowManager;
    QTemporaryDir FFolder;
    TRecordedMessages FMessages;
};

TEST_F(WindowPlacement, TheWindowOpensAsItWasLeftFoldedPanesAndMaximisedStateIncluded) {
    std::unique_ptr<TfrmMain> window = Start();
    EXPECT_EQ(window->size(), QSize(950, 547));
    EXPECT_TRUE(OnScreen(*window));

    const QRect placed(70, 90, 1000, 640);
    window->setGeometry(placed);
    ASSERT_TRUE(PumpEventsUntil([&] { return window->geometry() == placed; }));
    window->Image1->Click();
    window->Image3->Click();
    CloseByTheWindowManager(*window);
    window.reset();
    window = Start();
    EXPECT_EQ(window->geometry(), placed);
    EXPECT_FALSE(window->PanelLeft->isVisible());
    EXPECT_FALSE(window->pnlRIght->isVisible());

    window->Image3->Click();
    window->showMaximized();
    ASSERT_TRUE(PumpEventsUntil([&] { return window->frameGeometry() == Available(); }));
    CloseByTheWindowManager(*window);
    window.reset();
    window = Start();
    EXPECT_TRUE(PumpEventsUntil([&] { return window->frameGeometry() == Available(); }));
    EXPECT_TRUE(window->isMaximized());
    EXPECT_FALSE(window->PanelLeft->isVisible());
    EXPECT_TRUE(window->pnlRIght->isVisible());
    window->showNormal();
    EXPECT_TRUE(PumpEventsUntil([&] { return window->geometry() == placed; }));
    EXPECT_TRUE(FMessages.Errors.isEmpty());
}

// Left on a screen that is gone (here: far beyond the only one), the window opens whole on the
// screen there is.
TEST_F(WindowPlacement, AWindowLeftOffEveryScreenOpensOnOne) {
    QWidget elsewhere;
    elsewhere.setGeometry(Available().right() + 400, Available().bottom() + 300, 900, 600);
    QFile config(FFolder.filePath(QStringLiteral("config.xml")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("<?xml version=\"1.0\" encoding=\"GB2312\"?><configuration><WindowGeometry>" +
                 elsewhere.saveGeometry().toBase64() + "</WindowGeometry></configuration>");
    config.close();

    std::unique_ptr<TfrmMain> window = Start();
    EXPECT_EQ(window->size(), QSize(900, 600));
    EXPECT_TRUE(OnScreen(*window));
}

} // namespace
