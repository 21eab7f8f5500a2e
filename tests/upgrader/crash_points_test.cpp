// The upgrader stopped at each step that changes the program folder, as a crash or a power cut
// would stop it. Whatever the step, the client started next (old or new, whichever is in place)
// hands the folder to an upgrader again, and the folder ends with the old files or the new ones,
// never a mix.
#include "program_folder.h"
#include "upgrader/installation.h"
#include "upgrader/program_wait.h"
#include "upgrader/upgrade_run.h"

#include <gtest/gtest.h>

namespace {

const QString kApp = QStringLiteral("app.exe");

struct TCrash {};

// What the folder holds apart from the log and the bookkeeping.
std::map<QString, QByteArray> Contents(const TProgramFolder& folder) {
    std::map<QString, QByteArray> contents;
    for (const QString& name : folder.Files())
        contents[name] = folder.Contents(name);
    return contents;
}

class CrashPoints : public ::testing::TestWithParam<const char*> {
protected:
    // Version 3.8 of the client, which confirms its start, or a broken one.
    QByteArray NewClient() const { return TProgramFolder::ClientImage(GetParam()); }

    void Prepare(const TProgramFolder& folder) const {
        ASSERT_TRUE(folder.InstallClient(kApp));
        ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat"), "old skin"));
        ASSERT_TRUE(folder.Write(QStringLiteral("app.exe.uTMP"), NewClient()));
        ASSERT_TRUE(folder.Write(QStringLiteral("skin.dat.uTMP"), "new skin"));
        ASSERT_TRUE(folder.Write(QStringLiteral("readme.txt.uTMP"), "new readme"));
        ASSERT_TRUE(folder.WriteVerifiedList({"app.exe.uTMP", "skin.dat.uTMP", "readme.txt.uTMP"}));
    }

    static void RunUpgrader(const TProgramFolder& folder) {
        RunUpgrade(ParseUpgraderCommand({folder.Path(kApp), QStringLiteral("+/afterupgrade0")}),
                   std::chrono::seconds(5));
    }
};

TEST_P(CrashPoints, EveryStepLeavesTheOldFilesOrTheNewOnes) {
    const std::map<QString, QByteArray> oldFiles = {{kApp, TProgramFolder::ClientImage()},
                                                    {"skin.dat", "old skin"}};
    const std::map<QString, QByteArray> newFiles = {
        {kApp, NewClient()}, {"skin.dat", "new skin"}, {"readme.txt", "new readme"}};
    const bool broken = std::string(GetParam()) != "3.8";
    int crashAt = 0;
    for (;; ++crashAt) {
        TProgramFolder folder;
        Prepare(folder);
        int steps = 0;
        SetStepHookForTesting([&] {
            if (steps++ == crashAt)
                throw TCrash{};
        });
        bool crashed = false;
        try {
            RunUpgrader(folder);
        } catch (const TCrash&) {
            crashed = true;
        }
        SetStepHookForTesting({});
        if (!crashed)
            break;

        RunUpgrader(folder);
        const std::map<QString, QByteArray> left = Contents(folder);
        if (broken || left != newFiles) {
            EXPECT_EQ(left, oldFiles) << "crash at step " << crashAt;
        }
        const QStringList bookkeeping = folder.Bookkeeping();
        EXPECT_TRUE(bookkeeping.isEmpty() ||
                    (bookkeeping.size() == 1 && bookkeeping[0].startsWith("notice ")))
            << "crash at step " << crashAt << ": " << bookkeeping.join(' ').toStdString();
        // Every program started in the folder has ended before it goes.
        WaitUntilProgramEnded(folder.Path(kApp));
    }
    // Journal, backups, replacements and the commit; and for a broken version the notice, the
    // undoing and its end.
    EXPECT_GE(crashAt, broken ? 14 : 9);
}

INSTANTIATE_TEST_SUITE_P(NewVersion, CrashPoints, ::testing::Values("3.8", "exits-at-once"));

} // namespace
