#include "common/pending_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

TEST(PendingFile, TakesTheTargetsNameOnlyWhenPublished) {
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("游戏.swf"));
    {
        TPendingFile abandoned(target);
        ASSERT_TRUE(abandoned.open());
        abandoned.write("half a game");
    }
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older and longer game");
    }
    TPendingFile file(target);
    ASSERT_TRUE(file.open());
    file.write("whole game");
    EXPECT_EQ(Contents(target), QByteArray("an older and longer game"));
    ASSERT_TRUE(file.Publish());
    EXPECT_EQ(Contents(target), QByteArray("whole game"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("游戏.swf")});
    EXPECT_TRUE(QFileInfo(target).permissions() & QFileDevice::ReadOther);
}

} // namespace
