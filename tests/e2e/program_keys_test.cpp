// Keys and close requests reaching the real client binary on the test's X display.
#include "support/client_process.h"
#include "support/window_manager.h"
#include "support/x11_client.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kTitle = QStringLiteral("Pebblo客户端-VENDOR.KEYS.EXAMPLE");

xcb_window_t MainWindow() {
    const QStringList windows = WindowsNamed(kTitle);
    return windows.isEmpty() ? 0 : xcb_window_t(windows.first().toULong());
}

bool Shown() {
    return !WindowsNamed(kTitle, {QStringLiteral("--onlyvisible")}).isEmpty();
}

// Whether the window manager has taken the window on ("Normal") or minimised it ("Iconic"), as it
// tells the client (ICCCM WM_STATE).
bool InState(const QString& window, const char* state) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), window, QStringLiteral("WM_STATE")});
    xprop.waitForFinished(5000);
    return xprop.readAllStandardOutput().contains(QByteArray("window state: ") + state);
}

// The window the window manager gave the keyboard.
QString ActiveWindow() {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
    xdotool.waitForFinished(5000);
    return QString::fromLatin1(xdotool.readAllStandardOutput()).trimmed();
}

// Asked to close as soon as its window exists, the client ends, every time.
TEST(ProgramKeys, ACloseRequestInTheFirstMomentsEndsTheClient) {
    TOtherX11Client x11;
    ASSERT_TRUE(x11.Connected()) << "runs under an X server (scripts/test)";
    for (int round = 0; round < 10; ++round) {
        TClientProcess client(QStringLiteral("vendor.keys.example"));
        ASSERT_TRUE(client.Start());
        xcb_window_t window = 0;
        ASSERT_TRUE(WaitFor([&] { return (window = MainWindow()) != 0; }, 30000));
        if (round % 2 == 1) {
            ASSERT_TRUE(WaitFor(Shown, 10000));
        }
        x11.RequestClose(window);
        EXPECT_TRUE(client.Ended(15000)) << "round " << round;
    }
}

// A first start takes Ctrl+Alt+Z and leaves Ctrl+A (select-all) to every other program. The key
// hides the window and brings it back, also from the task bar, in front; F1 then ends the client.
TEST(ProgramKeys, TheHotKeyHidesShowsAndRestoresTheClientAndF1EndsIt) {
    TOtherX11Client x11;
    ASSERT_TRUE(x11.Connected()) << "runs under an X server (scripts/test)";
    TWindowManager windowManager;
    ASSERT_TRUE(windowManager.Running());
    TClientProcess client(QStringLiteral("vendor.keys.example"));
    ASSERT_TRUE(client.Start());
    ASSERT_TRUE(WaitFor(Shown, 30000));
    QFile config(client.FilePath("config.xml"));
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    EXPECT_TRUE(config.readAll().contains("<HideHotKey>49242</HideHotKey>"));
    EXPECT_TRUE(x11.GrabKey(XK_a, XCB_MOD_MASK_CONTROL)) << "the client holds Ctrl+A";
    x11.UngrabKey(XK_a, XCB_MOD_MASK_CONTROL);
    x11.TakeFocus();

    ASSERT_TRUE(TypeKeys(QStringLiteral("ctrl+alt+z")));
    EXPECT_TRUE(WaitFor([] { return !Shown(); }, 5000));
    ASSERT_TRUE(TypeKeys(QStringLiteral("ctrl+alt+z")));
    EXPECT_TRUE(WaitFor(Shown, 5000));

    const QString window = QString::number(MainWindow());
    ASSERT_TRUE(
        WaitFor([&] { return InState(window, "Normal") && ActiveWindow() == window; }, 5000));
    // The window manager focuses a window it maps on its own; the client's activation, asked
    // for when it hears of the map, would undo a minimise sent before it: wait until it is sent.
    ASSERT_TRUE(x11.Ping(xcb_window_t(window.toULong()), 5000));
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), window});
    ASSERT_TRUE(WaitFor([&] { return InState(window, "Iconic"); }, 5000));
    ASSERT_TRUE(TypeKeys(QStringLiteral("ctrl+alt+z")));
    EXPECT_TRUE(WaitFor([&] { return Shown() && ActiveWindow() == window; }, 5000));

    ASSERT_TRUE(TypeKeys(QStringLiteral("F1")));
    EXPECT_TRUE(client.Ended(15000));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
