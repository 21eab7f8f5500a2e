#include "program_folder.h"
#include "upgrader/information_box.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

TEST(UpgraderResource, TheClientCarriesTheBuiltUpgraderByteForByte) {
    QFile built(QStringLiteral(UPGRADER_PATH));
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    QFile embedded(QStringLiteral(":/AUUPG/AUUPG"));
    ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
    const QByteArray image = built.readAll();
    EXPECT_GT(image.size(), 0);
    EXPECT_TRUE(embedded.readAll() == image);
}

TEST(UpgraderInformation, StartedWithoutArgumentsItSaysWhatItIs) {
    const auto box = CreateInformationBox();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Upgrader v3.4.2"));
    const QStringList lines = box->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("Self-upgrading mechanism for AutoUpdater component."));
    EXPECT_FALSE(lines[1].isEmpty());
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
}

QString Xdotool(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(5000);
    return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
}

TEST(UpgraderInformation, TheBoxShowsOnTheDisplayAndClosesWithExitCodeZero) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY"))
        << "needs an X server: run it under xvfb-run, as scripts/test does";
    QProcess upgrader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    upgrader.setProcessEnvironment(environment);
    upgrader.start(QStringLiteral(UPGRADER_PATH), {});
    ASSERT_TRUE(upgrader.waitForStarted());

    QString window;
    const QDeadlineTimer deadline(20000);
    while (window.isEmpty() && !deadline.hasExpired() && upgrader.state() == QProcess::Running) {
        QThread::msleep(50);
        window = Xdotool({QStringLiteral("search"), QStringLiteral("--name"),
                          QStringLiteral("^Upgrader v3\\.4\\.2$")});
    }
    ASSERT_FALSE(window.isEmpty());
    Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    Xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_TRUE(upgrader.waitForFinished(10000));
    EXPECT_EQ(upgrader.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(upgrader.exitCode(), 0);
}

} // namespace
