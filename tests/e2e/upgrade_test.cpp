// Whole upgrades of the real client on the test's X display: the client built as version 3.7,
// in a program folder of its own, finds version 3.8 offered and signed by the demo catalogue
// (the offer that scripts/demo serves), asks, downloads the new client and a data file, runs the
// upgrader and comes back as 3.8; and a 3.8 that cannot start is undone by the upgrader, which
// brings 3.7 back to say so.
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
// Starting a client with its browser panes takes long on a loaded machine; these are bounds on
// failure, not the pace of the test.
constexpr int kStartBound = 180000;

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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

class Upgrade : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FX11.Connected()) << "runs under an X server (scripts/test)";
        ASSERT_TRUE(IsOnline()) << "the automatic check runs only while the machine is on line "
                                   "(has a default route)";
        ASSERT_TRUE(QFile::copy(kDemo + QStringLiteral("/built/pebblo"), Program()));
        ASSERT_TRUE(QFile::setPermissions(FRuntime.path(), QFileDevice::ReadOwner |
                                                               QFileDevice::WriteOwner |
                                                               QFileDevice::ExeOwner));
    }
    void TearDown() override {
        if (const qint64 running = ProcessRunning(Program())) {
            const QList<xcb_window_t> windows = FX11.WindowsTitled(MainTitle());
            if (!windows.isEmpty())
                FX11.RequestClose(windows.first());
            if (!WaitFor([&] { return ProcessRunning(Program()) == 0; }, 15000)) {
                ADD_FAILURE() << "the client did not close";
                ::kill(static_cast<pid_t>(running), SIGKILL);
            }
        }
    }

    QString Program() const { return FFolder.filePath(QStringLiteral("pebblo")); }
    QString MainTitle() const { return QStringLiteral("Pebblo客户端-") + FHost.toUpper(); }

    // The catalogue serving the upgrade offer of DataDir, signed with the key found there.
    void StartCatalogue(const QString& dataDir) {
        FCatalogue.start(
            QStringLiteral(CATALOGUE_EXECUTABLE),
            {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"), dataDir});
        ASSERT_TRUE(FCatalogue.waitForReadyRead(10000));
        FHost = QStringLiteral("127.0.0.1:") + QString::fromLatin1(FCatalogue.readLine().trimmed());
    }

    void StartClient() {
        QProcessEnvironment environment = ClientEnvironment(FHome, FHost, FHost);
        // A Simplified Chinese system.
        environment.remove(QStringLiteral("LC_ALL"));
        environment.insert(QStringLiteral("LC_MESSAGES"), QStringLiteral("zh_CN.UTF-8"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), FRuntime.path());
        FClient.setProcessEnvironment(environment);
        FClient.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FClient.start(Program(), {});
        ASSERT_TRUE(FClient.waitForStarted());
    }

    std::function<bool()> Shown(const QString& title) {
        return [this, title] {
            return !FX11.WindowsTitled(title).isEmpty();
        };
    }

    // The client is up; ten seconds later it checks, asks, and Alt+Y answers Yes. The progress
    // window carries the same caption; its OK button (Alt+O) exists only on the completion page,
    // so pressing it early does nothing. The client then closes for the upgrader.
    void AcceptTheUpgrade() {
        ASSERT_TRUE(WaitFor(Shown(MainTitle()), kStartBound)) << "the client did not start";
        ASSERT_TRUE(WaitFor(Shown(kWizardCaption), 60000)) << "no question";
        ASSERT_TRUE(TypeInto(FX11, kWizardCaption, QStringLiteral("alt+y")));
        const bool closed = WaitFor(
            [&] {
                TypeInto(FX11, kWizardCaption, QStringLiteral("alt+o"));
                return FClient.waitForFinished(200);
            },
            120000);
        ASSERT_TRUE(closed) << "the client did not close for the upgrade";
        EXPECT_EQ(FClient.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(FClient.exitCode(), 0);
    }

    // The client's message boxes: captioned with the application title alone.
    QList<xcb_window_t> MessageBoxes() {
        QList<xcb_window_t> boxes = FX11.WindowsTitled(QStringLiteral("Pebblo客户端"));
        for (const xcb_window_t main : FX11.WindowsTitled(MainTitle()))
            boxes.removeAll(main);
        return boxes;
    }

    // What is left of the upgrade's bookkeeping but the lock, which stays.
    QStringList Bookkeeping() const {
        QStringList left = QDir(FFolder.filePath(QStringLiteral("upgrade")))
                               .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        left.removeAll(QStringLiteral("upgrader.lock"));
        return left;
    }

    TOtherX11Client FX11;
    // A program folder with a blank and Chinese in its path, as users have them.
    QTemporaryDir FFolder{QDir::tempPath() + QStringLiteral("/Pebblo 客户端-XXXXXX")};
    QTemporaryDir FHome;
    QTemporaryDir FRuntime;
    QProcess FCatalogue;
    QString FHost;
    QProcess FClient;
};

TEST_F(Upgrade, TheClientUpgradesItselfAndComesBackAsTheNewVersion) {
    StartCatalogue(kDemo);
    const QByteArray newClient = Contents(kDemo + QStringLiteral("/files/pebblo"));
    ASSERT_FALSE(newClient.isEmpty());
    ASSERT_NE(Contents(Program()), newClient);
    StartClient();
    AcceptTheUpgrade();

    qint64 restarted = 0;
    ASSERT_TRUE(WaitFor([&] { return (restarted = ProcessRunning(Program())) != 0; }, 30000))
        << "the client was not restarted";
    EXPECT_EQ(CommandLine(restarted), (QStringList{Program(), QStringLiteral("/afterupgrade")}));
    EXPECT_EQ(Contents(Program()), newClient);
    EXPECT_TRUE(Contents(FFolder.filePath(QStringLiteral("readme.txt")))
                    .startsWith("Pebblo demo upgrade file readme.txt for version 3.8"));
    EXPECT_TRUE(QDir(FFolder.path()).entryList({QStringLiteral("*.uTMP")}, QDir::Files).isEmpty());
    ASSERT_TRUE(WaitFor(Shown(MainTitle()), kStartBound));
    // Its window up, the new version confirmed its start: the upgrader let it stay and kept
    // no old file.
    EXPECT_TRUE(WaitFor([&] { return Bookkeeping().isEmpty(); }, 30000))
        << Bookkeeping().join(' ').toStdString();
    // The restarted client's component removed the upgrader that did the work.
    EXPECT_FALSE(QFile::exists(FRuntime.filePath(QStringLiteral("Upgrader3.exe"))));
    // Version 3.8 finds nothing newer in its own check: no question comes again.
    EXPECT_FALSE(WaitFor(Shown(kWizardCaption), 15000));
}

TEST_F(Upgrade, ANewVersionThatCannotStartIsUndoneAndTheOldOneSaysSo) {
    // A 3.8 that ends at once, signed for as the vendor's tool signs any file.
    QTemporaryDir data;
    ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral("files")));
    ASSERT_TRUE(QFile::copy(kDemo + QStringLiteral("/update.key"),
                            data.filePath(QStringLiteral("update.key"))));
    ASSERT_TRUE(WriteFile(data.filePath(QStringLiteral("update.conf")),
                          "version=3.8\nmessage=坏掉的版本\nfiles=pebblo\n"));
    ASSERT_TRUE(WriteFile(data.filePath(QStringLiteral("files/pebblo")), "#!/bin/sh\nexit 1\n"));
    StartCatalogue(data.path());
    const QByteArray oldClient = Contents(Program());
    StartClient();
    AcceptTheUpgrade();

    // The upgrader put 3.7 back and started it, and 3.7 tells the user once its window is up.
    ASSERT_TRUE(WaitFor(Shown(MainTitle()), kStartBound)) << "the old client did not come back";
    ASSERT_TRUE(WaitFor([&] { return !MessageBoxes().isEmpty(); }, 30000))
        << "the old client did not say that the upgrade was undone";
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("windowfocus"), QString::number(MessageBoxes().first())});
    TypeKeys(QStringLiteral("Return"));
    const qint64 restarted = ProcessRunning(Program());
    ASSERT_NE(restarted, 0);
    EXPECT_EQ(CommandLine(restarted), (QStringList{Program(), QStringLiteral("/afterupgrade")}));
    EXPECT_EQ(Contents(Program()), oldClient);
    EXPECT_TRUE(QFileInfo(Program()).isExecutable());
    // Nothing of the upgrade is left, but the version that failed, which the automatic check
    // will not offer again.
    EXPECT_TRUE(WaitFor([&] { return Bookkeeping() == QStringList{"skipped-version"}; }, 30000))
        << Bookkeeping().join(' ').toStdString();
    EXPECT_EQ(Contents(FFolder.filePath(QStringLiteral("upgrade/skipped-version"))), "3.8");
    EXPECT_TRUE(QDir(FFolder.path()).entryList({QStringLiteral("*.uTMP")}, QDir::Files).isEmpty());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
