// The real client binary started in a fresh program folder on the test's X display.
#include "common/gbk_text.h"
#include "support/client_process.h"

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

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
