// The real client binary started in a fresh program folder on the test's X display.
#include "common/gbk_text.h"
#include "support/client_process.h"
#include "support/window_manager.h"
#include "support/x11_client.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(ProgramStart, FirstStartOpensTheWindowAndLeavesSettingsAndFolders) {
    ASSERT_FALSE(qgetenv("DISPLAY").isEmpty()) << "runs under an X server (scripts/test)";
    TClientProcess client(QStringLiteral("vendor.start.example"));
    ASSERT_TRUE(client.Start());

    const QString title = QStringLiteral("Pebblo客户端-VENDOR.START.EXAMPLE");
    EXPECT_TRUE(WaitFor([&] { return !WindowsNamed(title).isEmpty(); }, 30000));
    EXPECT_TRUE(WaitFor([&] { return QDir(client.FilePath("pic")).exists(); }, 10000));
    EXPECT_TRUE(QDir(client.FilePath("flash")).exists());

    QFile config(client.FilePath("config.xml"));
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    const QByteArray bytes = config.readAll();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"GB2312\"?>"));
    EXPECT_TRUE(bytes.contains("<configuration><Skin>" + ToGbk(QStringLiteral("默认主题.skn")) +
                               "</Skin><HideHotKey>49242</HideHotKey><CloseHotKey>-1</CloseHotKey>"
                               "</configuration>"));
}

// At 150 % on a screen 1280 pixels wide the window of 950 × 547 would not fit: it opens
// smaller, its frame and close button on screen.
TEST(ProgramStart, AtOneAndAHalfTimesTheFirstWindowFitsTheScreen) {
    TOtherX11Client x11;
    ASSERT_TRUE(x11.Connected()) << "runs under an X server (scripts/test)";
    TWindowManager windowManager;
    ASSERT_TRUE(windowManager.Running());
    TClientProcess client(QStringLiteral("vendor.scaled.example"));
    client.SetEnvironment(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1.5"));
    ASSERT_TRUE(client.Start());

    const QString title = QStringLiteral("Pebblo客户端-VENDOR.SCALED.EXAMPLE");
    QStringList windows;
    ASSERT_TRUE(WaitFor(
        [&] {
            return !(windows = WindowsNamed(title, {QStringLiteral("--onlyvisible")})).isEmpty();
        },
        30000));
    const xcb_window_t window = windows.first().toUInt();
    EXPECT_TRUE(WaitFor([&] { return x11.Root().contains(x11.FrameOf(window)); }, 5000))
        << "frame " << x11.FrameOf(window).x() << "," << x11.FrameOf(window).y() << " "
        << x11.FrameOf(window).width() << "x" << x11.FrameOf(window).height();
    EXPECT_GT(x11.FrameOf(window).width(), x11.Root().width() * 2 / 3) << "no smaller than need be";
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
