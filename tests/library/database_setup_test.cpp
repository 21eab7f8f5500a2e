#include "common/common_method.h"
#include "library/flash_statements.h"
#include "library_fixture.h"

#include <QSqlQuery>
#include <QStringList>

namespace {

class DatabaseSetup : public LibraryFolder {
protected:
    QStringList Column(const QString& pragma, int column) const {
        TLibraryConnection connection(DatabasePath());
        QSqlQuery query(connection.Database());
        EXPECT_TRUE(query.exec(pragma));
        QStringList values;
        while (query.next())
            values.append(query.value(column).toString());
        return values;
    }

    static bool CreateDatabase() {
        QString errorText = QStringLiteral("stale");
        const bool created = TCommonMethod::CreateDatabase(errorText);
        EXPECT_EQ(errorText, QString());
        return created;
    }
};

TEST_F(DatabaseSetup, FirstStartCreatesTheTableAndItsUniqueIndex) {
    ASSERT_TRUE(CreateDatabase());
    EXPECT_EQ(Column(QStringLiteral("PRAGMA table_info(flash)"), 1),
              QStringList({"id", "flashname", "flashurl", "nclass", "classid", "classname",
                           "picUrl", "picName", "flashsize", "fDate", "body", "isGood"}));
    EXPECT_EQ(Column(QStringLiteral("PRAGMA index_list(flash)"), 1), QStringList{"index1_flash"});
    EXPECT_EQ(Column(QStringLiteral("PRAGMA index_list(flash)"), 2), QStringList{"1"});
    EXPECT_EQ(Column(QStringLiteral("PRAGMA index_info(index1_flash)"), 2), QStringList{"id"});
}

TEST_F(DatabaseSetup, SecondStartTouchesNothing) {
    ASSERT_TRUE(CreateDatabase());
    {
        TLibraryConnection connection(DatabasePath());
        InsertGame(connection.Database(), {{"id", "1"},
                                           {"flashname", "n"},
                                           {"flashurl", ""},
                                           {"nclass", ""},
                                           {"classid", ""},
                                           {"classname", ""},
                                           {"picUrl", ""},
                                           {"picName", ""},
                                           {"body", ""},
                                           {"fDate", QDateTime::currentDateTime()}});
    }
    const QByteArray before = DatabaseBytes();
    ASSERT_TRUE(CreateDatabase());
    EXPECT_EQ(DatabaseBytes(), before);
}

TEST_F(DatabaseSetup, LeavesAFileThatIsNoDatabaseAloneAndStatementsFailLater) {
    const QByteArray garbage("this is not a library file, just some bytes\n");
    WriteDatabaseBytes(garbage);
    ASSERT_TRUE(CreateDatabase());
    EXPECT_EQ(DatabaseBytes(), garbage);

    TLibraryConnection connection(DatabasePath());
    EXPECT_EQ(FailureOf([&] { ListAllGames(connection.Database()); }),
              QStringLiteral("file is not a database"));
    EXPECT_EQ(DatabaseBytes(), garbage);
}

TEST_F(DatabaseSetup, LeavesADatabaseWithoutTheTableAloneAndStatementsFailLater) {
    {
        TLibraryConnection connection(DatabasePath(), TLibraryConnection::TOpenMode::CreateFile);
        QSqlQuery query(connection.Database());
        ASSERT_TRUE(query.exec(QStringLiteral("create table other (x)")));
    }
    const QByteArray before = DatabaseBytes();
    ASSERT_TRUE(CreateDatabase());
    EXPECT_EQ(DatabaseBytes(), before);

    TLibraryConnection connection(DatabasePath());
    EXPECT_EQ(FailureOf([&] { ListFavouriteGames(connection.Database()); }),
              QStringLiteral("no such table: flash"));
}

TEST_F(DatabaseSetup, AMissingFileMakesStatementsFailWithoutCreatingIt) {
    TLibraryConnection connection(DatabasePath());
    EXPECT_EQ(FailureOf([&] { ListAllGames(connection.Database()); }),
              QStringLiteral("unable to open database file"));
    EXPECT_FALSE(QFile::exists(DatabasePath()));
    // The next start then sets the library up as on the first.
    ASSERT_TRUE(CreateDatabase());
    EXPECT_TRUE(ListAllGames(connection.Database()).isEmpty());
}

TEST_F(DatabaseSetup, FindsTheFileWhateverItsLetterCase) {
    const QString upperCase = DatabasePath().replace(QStringLiteral("config.mqb"), "CONFIG.MQB");
    QFile file(upperCase);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(CreateDatabase());
    EXPECT_FALSE(QFile::exists(DatabasePath()));
}

TEST_F(DatabaseSetup, CreatingTheFileRefusesAnExistingOneAndReportsUnwritableFolders) {
    WriteDatabaseBytes("keep");
    QString errorText;
    EXPECT_FALSE(TCommonMethod::CreateDatabaseFile(DatabasePath(), errorText));
    EXPECT_EQ(errorText, QStringLiteral("Database already exists."));
    EXPECT_EQ(DatabaseBytes(), QByteArray("keep"));

    EXPECT_FALSE(TCommonMethod::CreateDatabaseFile(QStringLiteral("/nonexistent/dir/config.mqb"),
                                                   errorText));
    EXPECT_EQ(errorText, QStringLiteral("unable to open database file"));

    SetProgramFolderForTesting(QStringLiteral("/nonexistent/dir"));
    EXPECT_FALSE(TCommonMethod::CreateDatabase(errorText));
    EXPECT_EQ(errorText, QStringLiteral("unable to open database file"));
}

} // namespace
