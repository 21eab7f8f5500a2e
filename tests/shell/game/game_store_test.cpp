#include "common/common_method.h"
#include "common/program_folder.h"
#include "library/flash_statements.h"
#include "library/library_connection.h"
#include "shell/game/game_store.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(StoreGame, StoresTheRecordWithThePlaceholderForUnacceptedPictures) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    SetProgramFolderForTesting(folder.path());
    QString errorText;
    ASSERT_TRUE(TCommonMethod::CreateDatabase(errorText));
    {
        TLibraryConnection connection(LibraryDatabasePath());
        TGameInfo game{"12",
                       "坦克",
                       "http://h.example/t.swf",
                       "http://h.example/t.JPG",
                       "坦克.JPG",
                       "",
                       "c7",
                       "说明",
                       "Y"};
        StoreGame(connection.Database(), game, QDateTime(QDate(2008, 12, 11), QTime(9, 30)));

        const QList<QSqlRecord> rows = SelectGameById(connection.Database(), game.id);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(FieldText(rows[0], "flashname"), game.flashname);
        EXPECT_EQ(FieldText(rows[0], "flashurl"), game.flashurl);
        EXPECT_EQ(FieldText(rows[0], "picUrl"), game.picUrl);
        EXPECT_EQ(FieldText(rows[0], "picName"), QStringLiteral("nopic.gif"));
        EXPECT_EQ(FieldText(rows[0], "classid"), QStringLiteral("c7"));
        EXPECT_EQ(FieldText(rows[0], "classname"), QStringLiteral("c7"));
        EXPECT_EQ(FieldText(rows[0], "body"), game.body);
        EXPECT_EQ(FieldText(rows[0], "fDate"), QStringLiteral("2008-12-11 09:30:00.000"));
        // The favourite flag is set only by the favourites button, never by storing.
        EXPECT_TRUE(rows[0].isNull("isGood"));
    }
    SetProgramFolderForTesting(QString());
}

} // namespace
