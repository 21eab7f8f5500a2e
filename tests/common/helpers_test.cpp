#include "common/date_time.h"
#include "common/folder_lookup.h"
#include "common/gbk_text.h"
#include "common/hosts.h"
#include "common/message_boxes.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(GbkText, RoundTripsChineseThroughCodePage936) {
    const QByteArray bytes = ToGbk(QStringLiteral("默认主题.skn"));
    EXPECT_EQ(bytes, QByteArray("\xc4\xac\xc8\xcf\xd6\xf7\xcc\xe2.skn"));
    EXPECT_EQ(FromGbk(bytes), QStringLiteral("默认主题.skn"));
}

TEST(DateTime, CountsDaysFromTheEpochWithTimeAsFraction) {
    const QDateTime noon(QDate(2008, 12, 17), QTime(12, 0));
    EXPECT_DOUBLE_EQ(TDateTime::FromLocal(noon).Value, 39799.5);
    EXPECT_EQ(TDateTime{39799.5}.ToLocal(), noon);
    EXPECT_DOUBLE_EQ(TDateTime::FromLocal(QDateTime(QDate(1899, 12, 30), QTime(0, 0))).Value, 0);
    // Before the epoch the time of day still counts forward.
    const QDateTime before(QDate(1899, 12, 29), QTime(6, 0));
    EXPECT_DOUBLE_EQ(TDateTime::FromLocal(before).Value, -1.25);
    EXPECT_EQ(TDateTime{-1.25}.ToLocal(), before);
}

TEST(Clock, CanBePinnedAndReleased) {
    const QDateTime pinned(QDate(2008, 12, 17), QTime(9, 30));
    TClock::SetNowForTesting([pinned] { return pinned; });
    EXPECT_EQ(TClock::Now(), pinned);
    TClock::SetNowForTesting({});
    EXPECT_GT(TClock::Now().date().year(), 2020);
}

TEST(FolderLookup, FindsNamesWithoutRegardToCase) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Config.XML")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_EQ(FindInFolder(dir.path(), QStringLiteral("config.xml")), file.fileName());
    EXPECT_EQ(FindInFolder(dir.path() + QLatin1Char('/'), QStringLiteral("CONFIG.xml")),
              file.fileName());
    EXPECT_TRUE(FindInFolder(dir.path(), QStringLiteral("config.mqb")).isEmpty());
    EXPECT_EQ(ResolveInFolder(dir.path(), QStringLiteral("config.mqb")),
              dir.filePath(QStringLiteral("config.mqb")));
}

TEST(FolderLookup, PrefersTheExactName) {
    QTemporaryDir dir;
    for (const char* name : {"flash", "FLASH"})
        ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(name)));
    EXPECT_EQ(ResolveInFolder(dir.path(), QStringLiteral("FLASH")), dir.filePath("FLASH"));
}

TEST(Hosts, EnvironmentOverridesTheDefaults) {
    unsetenv("PEBBLO_CATALOGUE_HOST");
    EXPECT_TRUE(CatalogueHost().endsWith(QStringLiteral(".example")));
    setenv("PEBBLO_CATALOGUE_HOST", "127.0.0.1:8123", 1);
    EXPECT_EQ(CatalogueHost(), QStringLiteral("127.0.0.1:8123"));
    unsetenv("PEBBLO_CATALOGUE_HOST");
}

TEST(StandardError, AddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(StandardErrorText(QStringLiteral("List index out of bounds (4)")),
              QStringLiteral("List index out of bounds (4)"));
    EXPECT_EQ(StandardErrorText(QStringLiteral("'x' is not a valid integer value")),
              QStringLiteral("'x' is not a valid integer value."));
    EXPECT_EQ(StandardErrorText(QStringLiteral("done.")), QStringLiteral("done."));
    EXPECT_EQ(StandardErrorText(QStringLiteral("出错")), QStringLiteral("出错."));
    EXPECT_EQ(StandardErrorText(QString()), QString());
}

} // namespace
