// The real client binary started in a fresh program folder on the test's X display.
#include "common/gbk_text.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

QString WindowsNamed(const QString& title) {
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--name"), title});
    search.waitForFinished(5000);
    return QString::fromLocal8Bit(search.readAllStandardOutput()).trimmed();
}

TEST(ProgramStart, FirstStartOpensTheWindowAndLeavesSettingsAndFolders) {
    ASSERT_FALSE(qgetenv("DISPLAY").isEmpty()) << "runs under an X server (scripts/test)";
    QTemporaryDir folder;
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(PEBBLO_PROGRAM_DIR "/pebblo"), folder.filePath("pebblo")));

    QProcess client;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A browser profile of its own, so that no other running client shares its storage.
    QTemporaryDir home;
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath("data"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath("cache"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath("config"));
    environment.insert(QStringLiteral("PEBBLO_VENDOR_HOST"),
                       QStringLiteral("vendor.start.example"));
    environment.insert(QStringLiteral("PEBBLO_CATALOGUE_HOST"), QStringLiteral("127.0.0.1:9"));
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
                       QStringLiteral("--disable-gpu"));
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client.start(folder.filePath("pebblo"), {});
    ASSERT_TRUE(client.waitForStarted());

    const QString title = QStringLiteral("Pebblo客户端-VENDOR.START.EXAMPLE");
    EXPECT_TRUE(WaitFor([&] { return !WindowsNamed(title).isEmpty(); }, 30000));
    EXPECT_TRUE(WaitFor([&] { return QDir(folder.filePath("pic")).exists(); }, 10000));
    EXPECT_TRUE(QDir(folder.filePath("flash")).exists());

    QFile config(folder.filePath("config.xml"));
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    const QByteArray bytes = config.readAll();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"GB2312\"?>"));
    EXPECT_TRUE(bytes.contains("<configuration><Skin>" + ToGbk(QStringLiteral("默认主题.skn")) +
                               "</Skin><HideHotKey>16449</HideHotKey><CloseHotKey>-1</CloseHotKey>"
                               "</configuration>"));

    client.terminate();
    if (!client.waitForFinished(15000)) {
        client.kill();
        client.waitForFinished();
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
