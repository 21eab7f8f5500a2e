// Keys and close requests reaching the real client binary on the test's X display.
#include "support/client_process.h"
#include "support/x11_client.h"

#include <QCoreApplication>
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

TEST(ProgramKeys, TheHotKeyHidesAndShowsTheClientAndF1EndsIt) {
    TOtherX11Client x11;
    ASSERT_TRUE(x11.Connected()) << "runs under an X server (scripts/test)";
    TClientProcess client(QStringLiteral("vendor.keys.example"));
    ASSERT_TRUE(client.Start());
    ASSERT_TRUE(WaitFor(Shown, 30000));
    x11.TakeFocus();

    ASSERT_TRUE(TypeKeys(QStringLiteral("ctrl+a")));
    EXPECT_TRUE(WaitFor([] { return !Shown(); }, 5000));
    ASSERT_TRUE(TypeKeys(QStringLiteral("ctrl+a")));
    EXPECT_TRUE(WaitFor(Shown, 5000));

    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("windowfocus"), QString::number(MainWindow())});
    ASSERT_TRUE(TypeKeys(QStringLiteral("F1")));
    EXPECT_TRUE(client.Ended(15000));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
