#include "program_folder.h"
#include "upgrader/file_pass.h"
#include "upgrader/replacement.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <map>

namespace {

using TTargets = std::map<QString, QString>; // pending file name -> target file name

struct TPlanCase {
    QStringList Files;
    bool SetupMode;
    TTargets Targets;
    QString SetupProgram;
};

TTargets TargetsOf(const TFilePass& pass, const QString& folder) {
    TTargets targets;
    for (const TReplacement& replacement : pass.Replacements)
        targets[replacement.PendingPath.sliced(folder.size())] =
            replacement.TargetPath.sliced(folder.size());
    return targets;
}

TEST(FilePass, DecidesWhatEveryPendingFileReplaces) {
    const QString app = QStringLiteral("app.exe");
    const TPlanCase cases[] = {
        // The program's own copy present: every file keeps its name.
        {{app, "app.exe.uTMP", "tool.exe.uTMP", "skin.dat.uTMP"},
         false,
         {{"app.exe.uTMP", app}, {"tool.exe.uTMP", "tool.exe"}, {"skin.dat.uTMP", "skin.dat"}},
         {}},
        // Otherwise the first "exe" file in name order becomes the program.
        {{app, "b.exe.uTMP", "a.exe.uTMP"},
         false,
         {{"a.exe.uTMP", app}, {"b.exe.uTMP", "b.exe"}},
         {}},
        // Letter case: the program's copy and old files are found in any case; only a lower-case
        // "exe" ending makes a program.
        {{app, "SKIN.DAT", "APP.EXE.uTMP", "Skin.Dat.UTMP"},
         false,
         {{"APP.EXE.uTMP", app}, {"Skin.Dat.UTMP", "SKIN.DAT"}},
         {}},
        {{app, "TOOL.EXE.uTMP", ".uTMP"}, false, {{"TOOL.EXE.uTMP", "TOOL.EXE"}}, {}},
        // Setup mode: the "exe" file is the setup program, the program is left alone.
        {{app, "setup.exe.uTMP", "readme.txt.uTMP"},
         true,
         {{"readme.txt.uTMP", "readme.txt"}, {"setup.exe.uTMP", "setup.exe"}},
         "setup.exe"},
        {{app, "app.exe.uTMP", "setup.exe.uTMP"},
         true,
         {{"app.exe.uTMP", app}, {"setup.exe.uTMP", "setup.exe"}},
         {}},
    };
    for (const TPlanCase& c : cases) {
        TProgramFolder folder;
        for (const QString& name : c.Files)
            ASSERT_TRUE(folder.Write(name, "x"));
        const TFilePass pass = PlanFilePass({folder.Folder(), app, true}, c.SetupMode);
        const std::string files = c.Files.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(TargetsOf(pass, folder.Folder()), c.Targets) << files;
        EXPECT_EQ(pass.SetupProgramPath,
                  c.SetupProgram.isEmpty() ? QString() : folder.Path(c.SetupProgram))
            << files;
        for (const TReplacement& replacement : pass.Replacements) {
            const QString target = QFileInfo(replacement.TargetPath).fileName();
            EXPECT_EQ(replacement.Runnable,
                      target == app || (target == c.SetupProgram && c.SetupMode))
                << files << " " << target.toStdString();
            EXPECT_EQ(replacement.Hidden, target == c.SetupProgram) << files;
        }
    }
}

TEST(FilePass, EveryFileIsOldOrNewAfterACrashAndTheNextRunFinishes) {
    TProgramFolder folder;
    ASSERT_TRUE(folder.InstallClient(QStringLiteral("app.exe")));
    ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat"), "old skin"));
    ASSERT_TRUE(folder.Write(QStringLiteral("readme.txt"), "old readme"));
    ASSERT_TRUE(folder.Write(QStringLiteral("app.exe.uTMP"), TProgramFolder::ClientImage("3.8")));
    ASSERT_TRUE(folder.Write(QStringLiteral("readme.txt.uTMP"), "new readme"));
    ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat.uTMP"), "new skin"));
    // A target that cannot be replaced: its rename fails and both stay.
    ASSERT_TRUE(QDir().mkpath(folder.Path(QStringLiteral("data/keep"))));
    ASSERT_TRUE(folder.Write(QStringLiteral("data.uTMP"), "new data"));

    // The pass dies after its first rename.
    const TFilePass pass = PlanFilePass({folder.Folder(), QStringLiteral("app.exe"), true}, false);
    ASSERT_EQ(pass.Replacements.size(), 4u);
    ASSERT_TRUE(ReplaceTarget(pass.Replacements[0]));
    EXPECT_EQ(folder.Contents(QStringLiteral("app.exe")), TProgramFolder::ClientImage("3.8"));
    EXPECT_EQ(folder.Contents(QStringLiteral("readme.txt")), QByteArray("old readme"));
    EXPECT_EQ(folder.Contents(QStringLiteral("skin.dat")), QByteArray("old skin"));
    EXPECT_EQ(folder.Contents(QStringLiteral("skin.dat.uTMP")), QByteArray("new skin"));

    // The client, restarted by hand, runs; the next upgrader run puts the rest in place.
    ASSERT_EQ(RunUpgrader({folder.Path(QStringLiteral("app.exe")), QStringLiteral("+0")}), 0);
    ASSERT_TRUE(folder.WaitForLog(QStringLiteral("end|app.exe|pending=1")));
    EXPECT_EQ(folder.Contents(QStringLiteral("readme.txt")), QByteArray("new readme"));
    EXPECT_EQ(folder.Contents(QStringLiteral("skin.dat")), QByteArray("new skin"));
    EXPECT_TRUE(QFileInfo(folder.Path(QStringLiteral("data"))).isDir());
    EXPECT_EQ(folder.Files(), (QStringList{"app.exe", "data.uTMP", "readme.txt", "skin.dat"}));
}

} // namespace
