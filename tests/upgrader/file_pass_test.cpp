#include "program_folder.h"
#include "upgrader/file_pass.h"

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
        const TFilePass pass = PlanFilePass({folder.Folder(), app, true}, c.SetupMode, c.Files);
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

} // namespace
