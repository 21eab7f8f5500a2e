// A whole upgrade of the real client on the test's X display: the client built as version 3.7,
// in a program folder of its own, finds version 3.8 offered by the demo catalogue (the offer
// that scripts/demo serves), asks, downloads the new client and a data file, runs the upgrader
// and comes back as 3.8.
#include "support/client_process.h"
#include "support/x11_client.h"
#include "upgrade/au_utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString kDemo = QStringLiteral(UPGRADE_DEMO_DIR);
const QString kWizardCaption = QStringLiteral("软件升级精灵");

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The process running Program, other than Except; 0 when none.
qint64 ProcessRunning(const QString& program, qint64 except = 0) {
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 process = entry.toLongLong(&number);
        if (number && process != except &&
            QFileInfo(QStringLiteral("/proc/%1/exe").arg(process)).symLinkTarget() == program)
            return process;
    }
    return 0;
}

QStringList CommandLine(qint64 process) {
    const QByteArray line = Contents(QStringLiteral("/proc/%1/cmdline").arg(process));
    QStringList arguments;
    for (const QByteArray& argument : line.split('\0'))
        arguments.append(QString::fromLocal8Bit(argument));
    if (!arguments.isEmpty() && arguments.constLast().isEmpty())
        arguments.removeLast();
    return arguments;
}

// Types Keys into the first window titled Title; false when there is none.
bool TypeInto(TOtherX11Client& x11, const QString& title, const QString& keys) {
    const QList<xcb_window_t> windows = x11.WindowsTitled(title);
    if (windows.isEmpty())
        return false;
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("windowfocus"), QString::number(windows.first())});
    return TypeKeys(keys);
}

TEST(Upgrade, TheClientUpgradesItselfAndComesBackAsTheNewVersion) {
    TOtherX11Client x11;
    ASSERT_TRUE(x11.Connected()) << "runs under an X server (scripts/test)";
    ASSERT_TRUE(IsOnline()) << "the automatic check runs only while the machine is on line "
                               "(has a default route)";

    QProcess catalogue;
    catalogue.start(
        QStringLiteral(CATALOGUE_EXECUTABLE),
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"), kDemo});
    ASSERT_TRUE(catalogue.waitForReadyRead(10000));
    const QString host =
        QStringLiteral("127.0.0.1:") + QString::fromLatin1(catalogue.readLine().trimmed());

    // A program folder with a blank and Chinese in its path, as users have them.
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/Pebblo 客户端-XXXXXX"));
    QTemporaryDir home;
    QTemporaryDir temporary;
    const QString program = folder.filePath(QStringLiteral("pebblo"));
    ASSERT_TRUE(QFile::copy(kDemo + QStringLiteral("/built/pebblo"), program));
    const QByteArray newClient = Contents(kDemo + QStringLiteral("/files/pebblo"));
    ASSERT_FALSE(newClient.isEmpty());
    ASSERT_NE(Contents(program), newClient);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PEBBLO_VENDOR_HOST"), host);
    environment.insert(QStringLiteral("PEBBLO_CATALOGUE_HOST"), host);
    // A Simplified Chinese system.
    environment.remove(QStringLiteral("LC_ALL"));
    environment.insert(QStringLiteral("LC_MESSAGES"), QStringLiteral("zh_CN.UTF-8"));
    environment.insert(QStringLiteral("TMPDIR"), temporary.path());
    for (const char* variable : {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
        environment.insert(QLatin1String(variable), home.filePath(QLatin1String(variable)));
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
                       QStringLiteral("--disable-gpu"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess client;
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client.start(program, {});
    ASSERT_TRUE(client.waitForStarted());

    // Ten seconds after start the client checks and asks; Alt+Y answers Yes.
    const auto shown = [&x11](const QString& title) {
        return [&x11, title] {
            return !x11.WindowsTitled(title).isEmpty();
        };
    };
    ASSERT_TRUE(WaitFor(shown(kWizardCaption), 60000)) << "no question";
    ASSERT_TRUE(TypeInto(x11, kWizardCaption, QStringLiteral("alt+y")));
    // The progress window carries the same caption; its OK button (Alt+O) exists only on the
    // completion page, so pressing it early does nothing.
    const bool closed = WaitFor(
        [&] {
            TypeInto(x11, kWizardCaption, QStringLiteral("alt+o"));
            return client.waitForFinished(200);
        },
        120000);
    ASSERT_TRUE(closed) << "the client did not close for the upgrade";
    EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(client.exitCode(), 0);

    qint64 restarted = 0;
    ASSERT_TRUE(WaitFor([&] { return (restarted = ProcessRunning(program)) != 0; }, 30000))
        << "the client was not restarted";
    EXPECT_EQ(CommandLine(restarted), (QStringList{program, QStringLiteral("/afterupgrade")}));
    EXPECT_EQ(Contents(program), newClient);
    EXPECT_TRUE(Contents(folder.filePath(QStringLiteral("readme.txt")))
                    .startsWith("Pebblo demo upgrade file readme.txt for version 3.8"));
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.uTMP")}, QDir::Files).isEmpty());
    const QString title = QStringLiteral("Pebblo客户端-") + host.toUpper();
    ASSERT_TRUE(WaitFor(shown(title), 30000));
    // The restarted client's component removed the upgrader that did the work.
    EXPECT_TRUE(
        WaitFor([&] { return !QFile::exists(temporary.filePath(QStringLiteral("Upgrader3.exe"))); },
                10000));
    // Version 3.8 finds nothing newer in its own check: no question comes again.
    EXPECT_FALSE(WaitFor(shown(kWizardCaption), 15000));

    x11.RequestClose(x11.WindowsTitled(title).first());
    if (!WaitFor([&] { return ProcessRunning(program) == 0; }, 15000)) {
        ADD_FAILURE() << "the restarted client did not close";
        ::kill(static_cast<pid_t>(restarted), SIGKILL);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
