// The built upgrader run for real in temporary program folders, with the dummy client.
#include "program_folder.h"
#include "upgrader/program_wait.h"
#include "upgrader/upgrade_run.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

const QString kApp = QStringLiteral("app.exe");

QString OurPriority() {
    return QString::number(::getpriority(PRIO_PROCESS, 0));
}

QString RestartLine(const QString& name, const QString& arguments,
                    const QString& attributes = QStringLiteral("-")) {
    return QStringLiteral("start|%1|%2|%3|%4").arg(name, arguments, attributes, OurPriority());
}

QByteArray Attributes(const QString& path) {
    char value[32] = {};
    const ssize_t size =
        ::getxattr(QFile::encodeName(path).constData(), "user.DOSATTRIB", value, sizeof value);
    return size > 0 ? QByteArray(value, static_cast<int>(size)) : QByteArray("-");
}

unsigned Mode(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// The nice value of each thread of a process (field 19 of its stat line).
QList<int> ThreadPriorities(qint64 process) {
    QList<int> priorities;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(process);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks + QLatin1Char('/') + task + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 16)
            priorities.append(fields[16].toInt());
    }
    return priorities;
}

TEST(UpgraderRun, WithoutPendingFilesRestartsTheClientWithItsArguments) {
    TProgramFolder folder;
    ASSERT_TRUE(folder.InstallClient(kApp));
    ASSERT_EQ(RunUpgrader({folder.Path(kApp), QStringLiteral("+/afterupgrade0")}), 0);
    ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=0")));
    EXPECT_EQ(folder.Log().first(), RestartLine(kApp, QStringLiteral("/afterupgrade")));

    // Without "+" there is nothing to pass on.
    ASSERT_EQ(RunUpgrader({folder.Path(kApp)}), 0);
    ASSERT_TRUE(folder.WaitForLog(RestartLine(kApp, QString())));
    EXPECT_EQ(folder.Contents(kApp), TProgramFolder::ClientImage());
    EXPECT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=0"), 2));
}

TEST(UpgraderRun, WaitsForTheClientThenInstallsTheVerifiedFilesAndTheNewClientConfirms) {
    TProgramFolder folder;
    ASSERT_TRUE(folder.InstallClient(kApp));
    ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat"), "old skin", QFileDevice::ReadOwner));
    ASSERT_TRUE(folder.Write(QStringLiteral("app.exe.uTMP"), TProgramFolder::ClientImage("3.8")));
    ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat.uTMP"), "new skin"));
    ASSERT_TRUE(folder.WriteVerifiedList({"app.exe.uTMP", "skin.dat.uTMP"}));

    QProcess client;
    client.start(folder.Path(kApp), {QStringLiteral("/hold")});
    ASSERT_TRUE(client.waitForStarted());
    ASSERT_TRUE(folder.WaitForLog(RestartLine(kApp, QStringLiteral("/hold"))));
    EXPECT_TRUE(IsExecutedByAnyProcess(folder.Path(kApp)));

    QProcess upgrader;
    StartUpgrader(upgrader, {folder.Path(kApp), QStringLiteral("+/afterupgrade0")});
    EXPECT_FALSE(upgrader.waitForFinished(300)) << "the upgrader did not wait for the client";
    EXPECT_TRUE(ThreadPriorities(upgrader.processId()).contains(19));
    ASSERT_TRUE(folder.Write(QStringLiteral("release"), {}));
    ASSERT_TRUE(client.waitForFinished(10000));
    EXPECT_FALSE(IsExecutedByAnyProcess(folder.Path(kApp)));
    ASSERT_TRUE(upgrader.waitForFinished(10000));
    EXPECT_EQ(upgrader.exitCode(), 0);
    QFile::remove(folder.Path(QStringLiteral("release")));

    ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=0")));
    EXPECT_EQ(
        folder.Log(),
        (QStringList{
            RestartLine(kApp, QStringLiteral("/hold")), QStringLiteral("end|app.exe|pending=2"),
            RestartLine(kApp, QStringLiteral("/afterupgrade"), QStringLiteral("0x20")),
            QStringLiteral("confirmed|app.exe"), QStringLiteral("end|app.exe|pending=0")}));
    EXPECT_EQ(folder.Contents(kApp), TProgramFolder::ClientImage("3.8"));
    EXPECT_EQ(folder.Contents(QStringLiteral("skin.dat")), QByteArray("new skin"));
    EXPECT_EQ(folder.Files(), (QStringList{kApp, QStringLiteral("skin.dat")}));
    // Confirmed: the old files are not kept, and nothing is left to take up.
    EXPECT_EQ(folder.Bookkeeping(), QStringList());
    // The program runs; the formerly read-only file is an ordinary one now.
    EXPECT_EQ(Mode(folder.Path(kApp)), 0755u);
    EXPECT_EQ(Mode(folder.Path(QStringLiteral("skin.dat"))), 0600u);
}

TEST(UpgraderRun, OnlyVerifiedFilesAreInstalledAndAChangedOneStopsThemAll) {
    TProgramFolder folder;
    ASSERT_TRUE(folder.InstallClient(kApp));
    ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat"), "old skin"));
    ASSERT_TRUE(folder.Write(QStringLiteral("app.exe.uTMP"), TProgramFolder::ClientImage("3.8")));
    ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat.uTMP"), "new skin"));
    // No list: the pending files are nobody's word, and stay where they are.
    ASSERT_EQ(RunUpgrader({folder.Path(kApp), QStringLiteral("+/afterupgrade0")}), 0);
    ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=2")));
    EXPECT_EQ(folder.Contents(kApp), TProgramFolder::ClientImage());
    EXPECT_EQ(folder.Contents(QStringLiteral("skin.dat")), QByteArray("old skin"));

    // Verified, then changed on disk before the upgrader came: nothing at all is installed.
    ASSERT_TRUE(folder.WriteVerifiedList({"app.exe.uTMP", "skin.dat.uTMP"}));
    ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat.uTMP"), "new skiN"));
    ASSERT_EQ(RunUpgrader({folder.Path(kApp), QStringLiteral("+/afterupgrade0")}), 0);
    ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=0")));
    EXPECT_EQ(folder.Contents(kApp), TProgramFolder::ClientImage());
    EXPECT_EQ(folder.Contents(QStringLiteral("skin.dat")), QByteArray("old skin"));
    EXPECT_EQ(folder.Files(), (QStringList{kApp, QStringLiteral("skin.dat")}));
    EXPECT_EQ(folder.Bookkeeping(), QStringList{"notice files-changed 3.8"});
}

// A new version that does not confirm its start: the old files go back and the old client
// starts, told why. The wait is cut short here; the upgrader gives a new client a minute.
TEST(UpgraderRun, ANewClientThatDoesNotConfirmIsRolledBack) {
    for (const char* broken : {"exits-at-once", "never-confirms"}) {
        TProgramFolder folder;
        ASSERT_TRUE(folder.InstallClient(kApp));
        ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat"), "old skin"));
        ASSERT_TRUE(
            folder.Write(QStringLiteral("app.exe.uTMP"), TProgramFolder::ClientImage(broken)));
        ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat.uTMP"), "new skin"));
        ASSERT_TRUE(folder.Write(QStringLiteral("readme.txt.uTMP"), "new readme"));
        ASSERT_TRUE(folder.WriteVerifiedList({"app.exe.uTMP", "skin.dat.uTMP", "readme.txt.uTMP"}));
        RunUpgrade(ParseUpgraderCommand({folder.Path(kApp), QStringLiteral("+/afterupgrade0")}),
                   std::chrono::milliseconds(1500));

        ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=0"))) << broken;
        EXPECT_EQ(folder.Log(), (QStringList{RestartLine(kApp, QStringLiteral("/afterupgrade"),
                                                         QStringLiteral("0x20")),
                                             RestartLine(kApp, QStringLiteral("/afterupgrade")),
                                             QStringLiteral("end|app.exe|pending=0")}))
            << broken;
        EXPECT_EQ(folder.Contents(kApp), TProgramFolder::ClientImage()) << broken;
        EXPECT_EQ(folder.Contents(QStringLiteral("skin.dat")), QByteArray("old skin")) << broken;
        EXPECT_EQ(folder.Files(), (QStringList{kApp, QStringLiteral("skin.dat")})) << broken;
        EXPECT_EQ(folder.Bookkeeping(), QStringList{"notice not-started 3.8"}) << broken;
    }
}

TEST(UpgraderRun, AnotherProgramFileTakesTheProgramsName) {
    TProgramFolder folder;
    ASSERT_TRUE(folder.InstallClient(kApp));
    ASSERT_TRUE(folder.Write(QStringLiteral("app2.exe.uTMP"), TProgramFolder::ClientImage("v2")));
    ASSERT_TRUE(folder.WriteVerifiedList({"app2.exe.uTMP"}));
    ASSERT_EQ(RunUpgrader({folder.Path(kApp), QStringLiteral("+/afterupgrade0")}), 0);
    ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=0")));
    EXPECT_EQ(folder.Contents(kApp), TProgramFolder::ClientImage("v2"));
    EXPECT_EQ(folder.Files(), QStringList{kApp});
}

TEST(UpgraderRun, AnUpperCaseCopyReplacesTheProgramUnderItsOwnName) {
    TProgramFolder folder;
    ASSERT_TRUE(folder.InstallClient(kApp));
    ASSERT_TRUE(folder.Write(QStringLiteral("APP.EXE.uTMP"), TProgramFolder::ClientImage("V3")));
    ASSERT_TRUE(folder.WriteVerifiedList({"APP.EXE.uTMP"}));
    ASSERT_EQ(RunUpgrader({folder.Path(kApp), QStringLiteral("+/afterupgrade0")}), 0);
    ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=0")));
    EXPECT_EQ(folder.Contents(kApp), TProgramFolder::ClientImage("V3"));
    EXPECT_EQ(folder.Files(), QStringList{kApp});
}

TEST(UpgraderRun, SetupMethodRunsTheHiddenSetupThenTheClient) {
    TProgramFolder folder;
    ASSERT_TRUE(folder.InstallClient(kApp));
    ASSERT_TRUE(folder.Write(QStringLiteral("setup.exe.uTMP"), TProgramFolder::ClientImage()));
    ASSERT_TRUE(folder.Write(QStringLiteral("readme.txt.uTMP"), "new readme"));
    ASSERT_TRUE(folder.WriteVerifiedList({"setup.exe.uTMP", "readme.txt.uTMP"}));
    ASSERT_EQ(RunUpgrader({folder.Path(kApp), QStringLiteral("+/afterupgrade1")}), 0);
    ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=0")));

    // The client starts only once the setup program has ended.
    EXPECT_EQ(folder.Log(),
              (QStringList{RestartLine(QStringLiteral("setup.exe"), QStringLiteral("/afterupgrade"),
                                       QStringLiteral("0x22")),
                           QStringLiteral("end|setup.exe|pending=0"),
                           RestartLine(kApp, QStringLiteral("/afterupgrade")),
                           QStringLiteral("confirmed|app.exe"),
                           QStringLiteral("end|app.exe|pending=0")}));
    EXPECT_EQ(folder.Contents(kApp), TProgramFolder::ClientImage());
    EXPECT_EQ(folder.Contents(QStringLiteral("readme.txt")), QByteArray("new readme"));
    EXPECT_EQ(Attributes(folder.Path(QStringLiteral("readme.txt"))), QByteArray("0x20"));
    EXPECT_EQ(folder.Files(), (QStringList{kApp, QStringLiteral("readme.txt")}));
}

TEST(UpgraderRun, AProgramPathWithBlanksArrivesIntact) {
    TProgramFolder folder(QStringLiteral("my games/pebblo client"));
    ASSERT_TRUE(folder.InstallClient(kApp));
    ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat.uTMP"), "new skin"));
    ASSERT_TRUE(folder.WriteVerifiedList({"skin.dat.uTMP"}));
    QStringList arguments = folder.Path(kApp).split(QLatin1Char(' '));
    arguments.append(QStringLiteral("+/afterupgrade0"));
    ASSERT_EQ(arguments.size(), 4);
    ASSERT_EQ(RunUpgrader(arguments), 0);
    ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=0")));
    EXPECT_EQ(folder.Log().first(), RestartLine(kApp, QStringLiteral("/afterupgrade")));
    EXPECT_EQ(folder.Contents(QStringLiteral("skin.dat")), QByteArray("new skin"));
}

TEST(UpgraderRun, AProgramThatIsNotThereIsNotWaitedForAndNothingOfItStays) {
    TProgramFolder folder;
    ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat.uTMP"), "new skin"));
    ASSERT_TRUE(folder.WriteVerifiedList({"skin.dat.uTMP"}));
    ASSERT_EQ(RunUpgrader({folder.Path(kApp), QStringLiteral("+/afterupgrade0")}), 0);
    // Installed, but no program confirmed it: undone.
    EXPECT_EQ(folder.Files(), QStringList());
    EXPECT_EQ(folder.Bookkeeping(), QStringList{"notice not-started 3.8"});
    // Nothing to work on: no program path, no folder.
    EXPECT_EQ(RunUpgrader({QStringLiteral("+/afterupgrade0")}), 0);
    EXPECT_EQ(RunUpgrader({folder.Path(QStringLiteral("missing/app.exe")), QStringLiteral("+")}),
              0);
}

} // namespace
